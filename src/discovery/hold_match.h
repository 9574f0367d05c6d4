#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/text_list.h"

namespace qm {

/// The hold test of one item, prepared once per search: a trace is held when the item's hold flag is set and
/// the trace's path equals one of the hold settings, compared whole and without regard to case (no
/// wildcards).
class HoldMatcher {
 public:
  HoldMatcher(bool holdFlag, const TextList& holdSettings);

  /// True when the trace at `path` must survive a clear.
  bool IsHeld(std::string_view path) const;

 private:
  std::vector<std::u32string> holds_;
};

}  // namespace qm
