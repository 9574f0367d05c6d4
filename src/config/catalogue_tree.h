#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "config/privacy_configs.h"

namespace qm {

/// Texts and keys of the fixed nodes of the catalogue tree.
inline constexpr const char* kTreeRootText = "Ur All Privacy";
inline constexpr const char* kTreePluginsText = "Plug-ins";
inline constexpr const char* kTreeCustomsText = "Customs";
inline constexpr const char* kTreeRootKey = "root";
inline constexpr const char* kTreePluginsKey = "plug";
inline constexpr const char* kTreeCustomsKey = "cust";
/// The separator of the parts of a node tag.
inline constexpr char kTreeTagSeparator = '\\';

/// One node of the catalogue tree as the main window builds it.
struct CatalogueTreeNode {
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

  std::string Key;   ///< "root", "plug", "cust", or "" for configurations and items
  std::string Text;  ///< the node's base text (counts are appended by the window, never to the tag)
  /// The node's full path: the tag parts from the root down, joined by "\". A configuration's or item's part
  /// is its name, unless that name cannot stand in a tag (see BuildCatalogueTree).
  std::string Tag;
  std::size_t Parent = kNoParent;              ///< index of the parent node
  std::vector<std::size_t> Children;           ///< indexes of the child nodes, in order
  SoftwareType Group = SoftwareType::Unknown;  ///< for the "Plug-ins" and "Customs" nodes: their software type
  std::shared_ptr<PrivacyConfig> Config;       ///< set for configuration and item nodes
  std::shared_ptr<PrivacyItem> Item;           ///< set for item nodes
};

/// The tree of the catalogue, nodes in the order they are created (the tree's index order): the root; each
/// selected configuration in catalogue order, under the root (Root and unknown types), the "Plug-ins" group
/// or the "Customs" group, a group created where its first configuration comes; under each configuration its
/// selected items (Detect items find no traces and have no node). With `includeUnselected` the configurations and items that are not selected are in it too.
///
/// Every tag is unique, and the same whether or not unselected nodes are in the tree: a name holding "\" has
/// it replaced by "/", and a name that another node under the same parent already uses (or, for a
/// configuration under the root, the name of a group node) gets " (2)", " (3)" ... appended in its tag.
std::vector<CatalogueTreeNode> BuildCatalogueTree(const PrivacyConfigs& catalogue, bool includeUnselected = false);

/// The indexes of the nodes in display order: each node followed by its children's subtrees.
std::vector<std::size_t> DisplayOrder(const std::vector<CatalogueTreeNode>& tree);

/// The index of the node whose tag is exactly `tag`, or CatalogueTreeNode::kNoParent when there is none.
std::size_t FindTreeNode(const std::vector<CatalogueTreeNode>& tree, const std::string& tag);

/// One line for each configuration or item whose name cannot be its tag part, saying which tag it has.
std::vector<std::string> TagProblems(const PrivacyConfigs& catalogue);

}  // namespace qm
