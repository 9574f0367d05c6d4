#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/privacy_configs.h"

namespace qm {

/// What a tree node stands for in a run: the whole catalogue, all configurations of one software type, one
/// configuration or one item, and the text the status bar shows for it.
struct RunTarget {
  enum class Level { Catalogue, SoftwareType, Config, Item };

  Level Scope = Level::Catalogue;
  int32_t SoftwareType = 0;  ///< for Level::SoftwareType: 2 Plug-ins, 3 Customs
  std::shared_ptr<PrivacyConfig> Config;
  std::shared_ptr<PrivacyItem> Item;
  std::string StatusText;  ///< "ALL", "Customs", "Plug-ins", the configuration's name, or name\title
};

/// The parts of a node tag, split at "\".
std::vector<std::string> SplitTreeTag(const std::string& tag);

/// The target of a node tag, picked by its number of parts as the main window picks it: 1 the catalogue;
/// 2 "Customs", "Plug-ins" or the configuration named by part 2; 3 the configuration named by part 3 under
/// a group, else the item named by part 3 of the configuration named by part 2; 4 the item named by part 4
/// of the configuration named by part 3. Nothing when the tag's root is not the tree's root, the named
/// configuration or item does not exist, or the tag has another shape.
std::optional<RunTarget> SelectRunTarget(const PrivacyConfigs& catalogue, const std::string& tag);

}  // namespace qm
