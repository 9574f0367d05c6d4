#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/text_list.h"

namespace qm {

/// The separator between fields of a part of a catalogue line, and between seek or hold settings.
inline constexpr std::string_view kFieldSeparator = "<>";
/// The separator between the major parts of an item line.
inline constexpr std::string_view kPartSeparator = "><";

/// Removes blanks (spaces) from both ends, as the catalogue's line handling trims.
std::string TrimBlanks(std::string_view s);

/// Splits `s` at every `separator`; empty parts are kept, and "" gives one empty part.
std::vector<std::string> SplitAt(std::string_view s, std::string_view separator);

/// Trims `str` and, when anything is left, appends its `kFieldSeparator` parts to `list`, untrimmed and in
/// order.
void AppendSettingsParts(const std::string& str, TextList& list);

}  // namespace qm
