#include "discovery/hold_match.h"

#include <algorithm>

#include "discovery/wildcard_match.h"

namespace qm {

HoldMatcher::HoldMatcher(bool holdFlag, const TextList& holdSettings) {
  if (!holdFlag) return;
  for (const std::string& hold : holdSettings) holds_.push_back(UpperCodePoints(hold));
}

bool HoldMatcher::IsHeld(std::string_view path) const {
  if (holds_.empty()) return false;
  const std::u32string upper = UpperCodePoints(path);
  return std::find(holds_.begin(), holds_.end(), upper) != holds_.end();
}

}  // namespace qm
