#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/text_list.h"
#include "discovery/wildcard_match.h"

namespace qm {

/// The hold test of one item, prepared once per search: a trace is held when the item's hold flag is set and
/// the trace's path equals one of the hold settings, compared whole and without regard to case, or, for a
/// hold holding "*" or "?", matches it by the wildcard rules ("*" also spans separators).
class HoldMatcher {
 public:
  /// How the hold settings are compared.
  enum class Form {
    FilePath,   ///< file paths: normalised the way seek paths are (separators, "." and trailing separators)
    AsWritten,  ///< registry value paths ("key path\value name"): as they are
  };

  HoldMatcher(bool holdFlag, const TextList& holdSettings, Form form);

  /// True when the trace at `path` must survive a clear.
  bool IsHeld(std::string_view path) const;

 private:
  std::vector<std::u32string> holds_;
  std::vector<WildcardPattern> patterns_;
};

}  // namespace qm
