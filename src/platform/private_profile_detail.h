#pragma once

// Pieces shared by the ini services' two implementations; not for use outside them.

#include <cstddef>
#include <limits>
#include <unordered_map>
#include <vector>

#include "platform/private_profile.h"

namespace qm::profile_detail {

inline constexpr size_t kNoLine = std::numeric_limits<size_t>::max();

/// Where each listed entry lies: the index into `lineKeys` (the section's entry keys in file order) of its
/// occurrence, or kNoLine. `entryKeys[i]` is the key of `entries[i]`; both key lists come case-folded the
/// same way, so equal keys are equal strings.
template <typename Key>
std::vector<size_t> LocateEntries(const std::vector<Key>& lineKeys, const std::vector<Key>& entryKeys,
                                  const std::vector<profile::IniEntry>& entries) {
  std::unordered_map<Key, std::vector<size_t>> linesOfKey;
  for (size_t i = 0; i < lineKeys.size(); ++i) linesOfKey[lineKeys[i]].push_back(i);
  std::vector<size_t> found(entries.size(), kNoLine);
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto lines = linesOfKey.find(entryKeys[i]);
    if (lines != linesOfKey.end() && entries[i].Occurrence < lines->second.size()) {
      found[i] = lines->second[entries[i].Occurrence];
    }
  }
  return found;
}

}  // namespace qm::profile_detail
