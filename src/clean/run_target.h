#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "config/catalogue_tree.h"
#include "config/privacy_configs.h"

namespace qm {

/// What a tree node stands for in a run: the whole catalogue, all configurations of one software type, one
/// configuration or one item, and the texts the window shows for it.
struct RunTarget {
  enum class Level { Catalogue, SoftwareType, Config, Item };

  Level Scope = Level::Catalogue;
  qm::SoftwareType Group = qm::SoftwareType::Unknown;  ///< for Level::SoftwareType: Plugins or Customs
  std::shared_ptr<PrivacyConfig> Config;
  std::shared_ptr<PrivacyItem> Item;
  std::string NodeText;    ///< the node's text in the tree
  std::string StatusText;  ///< "ALL", "Customs", "Plug-ins", the configuration's name, or name\title
};

/// The target of the tree node whose tag is `tag`, in the tree the main window (or `list`) builds, with the
/// unselected nodes when `includeUnselected`: a tag selects exactly the node at that place. Nothing when no
/// node has that tag.
std::optional<RunTarget> SelectRunTarget(const PrivacyConfigs& catalogue, const std::string& tag,
                                         bool includeUnselected = false);

/// How many items a run of `target` searches: the selected ones of the selected configurations below it
/// (every one with `includeUnselected`).
int64_t ItemCount(const PrivacyConfigs& catalogue, const RunTarget& target, bool includeUnselected);

}  // namespace qm
