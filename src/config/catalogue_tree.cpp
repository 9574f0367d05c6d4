#include "config/catalogue_tree.h"

namespace qm {

namespace {

std::size_t AddNode(std::vector<CatalogueTreeNode>& tree, std::size_t parent, std::string key, std::string text) {
  CatalogueTreeNode node;
  node.Key = std::move(key);
  node.Tag = parent == CatalogueTreeNode::kNoParent ? text : tree[parent].Tag + kTreeTagSeparator + text;
  node.Text = std::move(text);
  node.Parent = parent;
  tree.push_back(std::move(node));
  const std::size_t index = tree.size() - 1;
  if (parent != CatalogueTreeNode::kNoParent) tree[parent].Children.push_back(index);
  return index;
}

void AppendSubtree(const std::vector<CatalogueTreeNode>& tree, std::size_t node, std::vector<std::size_t>& order) {
  order.push_back(node);
  for (std::size_t child : tree[node].Children) AppendSubtree(tree, child, order);
}

}  // namespace

std::vector<CatalogueTreeNode> BuildCatalogueTree(const PrivacyConfigs& catalogue, bool includeUnselected) {
  std::vector<CatalogueTreeNode> tree;
  const std::size_t root = AddNode(tree, CatalogueTreeNode::kNoParent, kTreeRootKey, kTreeRootText);
  std::size_t plugins = CatalogueTreeNode::kNoParent;
  std::size_t customs = CatalogueTreeNode::kNoParent;
  for (const auto& config : catalogue) {
    if (!config->Selected && !includeUnselected) continue;
    std::size_t parent = root;
    if (config->SoftwareType == software_types::kPlugins) {
      if (plugins == CatalogueTreeNode::kNoParent) plugins = AddNode(tree, root, kTreePluginsKey, kTreePluginsText);
      parent = plugins;
    } else if (config->SoftwareType == software_types::kCustoms) {
      if (customs == CatalogueTreeNode::kNoParent) customs = AddNode(tree, root, kTreeCustomsKey, kTreeCustomsText);
      parent = customs;
    }
    const std::size_t configNode = AddNode(tree, parent, "", config->Software);
    tree[configNode].Config = config;
    for (const auto& item : config->Items) {
      if (!item->Selected && !includeUnselected) continue;
      const std::size_t itemNode = AddNode(tree, configNode, "", item->Title);
      tree[itemNode].Config = config;
      tree[itemNode].Item = item;
    }
  }
  return tree;
}

std::vector<std::size_t> DisplayOrder(const std::vector<CatalogueTreeNode>& tree) {
  std::vector<std::size_t> order;
  if (!tree.empty()) AppendSubtree(tree, 0, order);
  return order;
}

}  // namespace qm
