#include "discovery/hold_match.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/seek_path.h"

namespace qm {

HoldMatcher::HoldMatcher(bool holdFlag, const TextList& holdSettings, Form form) {
  if (!holdFlag) return;
  for (const std::string& hold : holdSettings) {
    // A hold written with "\" on Linux names the same file as the walk's "/" path.
    const std::string compared = form == Form::FilePath ? NativeSeekPath(hold).value_or(hold) : hold;
    holds_.push_back(UpperCodePoints(compared));
    // A pattern that cannot be read still holds the path it spells.
    if (HasWildcard(compared)) {
      try {
        patterns_.emplace_back(compared);
      } catch (const RuntimeError&) {
      }
    }
  }
}

bool HoldMatcher::IsHeld(std::string_view path) const {
  if (holds_.empty()) return false;
  const std::u32string upper = UpperCodePoints(path);
  if (std::find(holds_.begin(), holds_.end(), upper) != holds_.end()) return true;
  return std::any_of(patterns_.begin(), patterns_.end(),
                     [&](const WildcardPattern& pattern) { return pattern.Matches(path); });
}

}  // namespace qm
