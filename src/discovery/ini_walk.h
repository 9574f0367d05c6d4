#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "discovery/walk_context.h"

namespace qm {

/// The lines of a section of an ini file, read with a buffer of 1000 characters that grows fivefold until
/// the section fits; empty when the section is missing or holds less than 3 characters.
std::vector<std::string> ReadIniSection(const std::string& file, const std::string& section);

/// IniFileItem: the entries of section S2 of the ini file S1 whose key names match the pattern S3 (every
/// entry without S3). An entry already blanked (empty value, or "") is no trace; erasing blanks the value
/// and leaves "key=" in its place. Wildcard segments of S1 name every ini file they reach.
void SeekIniEntries(WalkContext& context);

}  // namespace qm
