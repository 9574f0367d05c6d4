#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/privacy_config.h"
#include "ui/model/config_tree.h"

namespace qm::ui {

/// The path a hold keeps for a found value: its `Path` for the kinds a search can hold (files, folders and
/// registry values); nothing for registry keys and ini entries, which no hold ever spares.
std::optional<std::string> HoldPathOf(const PrivacyValue& pv);

/// The hold list's text for a held path: the part after its last "\", or all of it.
std::string HeldName(const std::string& path);

/// Working copies of the hold lists of a configuration's items, in the order of its items; Hold and Unhold
/// edit them, and only OK writes them back.
class HoldLists {
 public:
  explicit HoldLists(const PrivacyConfig& config);

  /// The held paths of item `item` (0-based).
  const std::vector<std::string>& Of(std::size_t item) const { return lists_[item]; }

  /// Appends the hold path of each value, in order, unless the item holds it already (compared exactly).
  void Hold(std::size_t item, const std::vector<const PrivacyValue*>& values);
  /// Removes the entries at the given 0-based positions.
  void Unhold(std::size_t item, std::vector<std::size_t> positions);

  /// OK: the configuration's and each item's tick from the tree, and the hold list of every item that keeps
  /// holds. An item without the hold flag keeps its hold settings untouched.
  void WriteBack(PrivacyConfig& config, const ConfigTree& tree) const;

 private:
  std::vector<std::vector<std::string>> lists_;
};

}  // namespace qm::ui
