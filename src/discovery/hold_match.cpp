#include "discovery/hold_match.h"

#include <algorithm>

#include "discovery/wildcard_match.h"
#include "platform/seek_path.h"

namespace qm {

HoldMatcher::HoldMatcher(bool holdFlag, const TextList& holdSettings, Form form) {
  if (!holdFlag) return;
  for (const std::string& hold : holdSettings) {
    // A hold written with "\" on Linux names the same file as the walk's "/" path.
    const std::string compared = form == Form::FilePath ? NativeSeekPath(hold).value_or(hold) : hold;
    holds_.push_back(UpperCodePoints(compared));
  }
}

bool HoldMatcher::IsHeld(std::string_view path) const {
  if (holds_.empty()) return false;
  const std::u32string upper = UpperCodePoints(path);
  return std::find(holds_.begin(), holds_.end(), upper) != holds_.end();
}

}  // namespace qm
