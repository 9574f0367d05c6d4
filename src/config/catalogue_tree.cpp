#include "config/catalogue_tree.h"

#include <map>
#include <set>

namespace qm {

namespace {

/// The tag parts of every configuration and item, unique among the siblings of the whole tree.
struct TagParts {
  std::map<const PrivacyConfig*, std::string> configs;
  std::map<const PrivacyItem*, std::string> items;
};

/// A part no sibling uses yet, made from `name`.
std::string UniquePart(const std::string& name, std::set<std::string>& used) {
  std::string base = name;
  for (char& c : base) {
    if (c == kTreeTagSeparator) c = '/';
  }
  std::string part = base;
  for (int n = 2; !used.insert(part).second; ++n) part = base + " (" + std::to_string(n) + ")";
  return part;
}

TagParts MakeTagParts(const PrivacyConfigs& catalogue) {
  TagParts parts;
  // The group nodes are siblings of the root's configurations whether or not a group has members.
  std::map<SoftwareType, std::set<std::string>> siblings{{SoftwareType::Root, {kTreePluginsText, kTreeCustomsText}}};
  for (const auto& config : catalogue) {
    const bool grouped = config->SoftwareType == SoftwareType::Plugins || config->SoftwareType == SoftwareType::Customs;
    parts.configs[config.get()] =
        UniquePart(config->Software, siblings[grouped ? config->SoftwareType : SoftwareType::Root]);
    std::set<std::string> titles;
    for (const auto& item : config->Items) parts.items[item.get()] = UniquePart(item->Title, titles);
  }
  return parts;
}

std::size_t AddNode(std::vector<CatalogueTreeNode>& tree, std::size_t parent, std::string key, std::string text,
                    const std::string& part) {
  CatalogueTreeNode node;
  node.Key = std::move(key);
  node.Tag = parent == CatalogueTreeNode::kNoParent ? part : tree[parent].Tag + kTreeTagSeparator + part;
  node.Text = std::move(text);
  node.Parent = parent;
  tree.push_back(std::move(node));
  const std::size_t index = tree.size() - 1;
  if (parent != CatalogueTreeNode::kNoParent) tree[parent].Children.push_back(index);
  return index;
}

std::size_t AddGroup(std::vector<CatalogueTreeNode>& tree, std::size_t& group, SoftwareType type) {
  if (group != CatalogueTreeNode::kNoParent) return group;
  const bool plugins = type == SoftwareType::Plugins;
  group = AddNode(tree, 0, plugins ? kTreePluginsKey : kTreeCustomsKey, plugins ? kTreePluginsText : kTreeCustomsText,
                  plugins ? kTreePluginsText : kTreeCustomsText);
  tree[group].Group = type;
  return group;
}

void AppendSubtree(const std::vector<CatalogueTreeNode>& tree, std::size_t node, std::vector<std::size_t>& order) {
  order.push_back(node);
  for (std::size_t child : tree[node].Children) AppendSubtree(tree, child, order);
}

}  // namespace

std::vector<CatalogueTreeNode> BuildCatalogueTree(const PrivacyConfigs& catalogue, bool includeUnselected) {
  const TagParts parts = MakeTagParts(catalogue);
  std::vector<CatalogueTreeNode> tree;
  const std::size_t root = AddNode(tree, CatalogueTreeNode::kNoParent, kTreeRootKey, kTreeRootText, kTreeRootText);
  std::size_t plugins = CatalogueTreeNode::kNoParent;
  std::size_t customs = CatalogueTreeNode::kNoParent;
  for (const auto& config : catalogue) {
    if (!config->Selected && !includeUnselected) continue;
    std::size_t parent = root;
    if (config->SoftwareType == SoftwareType::Plugins) parent = AddGroup(tree, plugins, SoftwareType::Plugins);
    if (config->SoftwareType == SoftwareType::Customs) parent = AddGroup(tree, customs, SoftwareType::Customs);
    const std::size_t configNode = AddNode(tree, parent, "", config->Software, parts.configs.at(config.get()));
    tree[configNode].Config = config;
    for (const auto& item : config->Items) {
      if (!item->Selected && !includeUnselected) continue;
      if (item->ItemType == PrivacyItemType::Detect) continue;
      const std::size_t itemNode = AddNode(tree, configNode, "", item->Title, parts.items.at(item.get()));
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

std::size_t FindTreeNode(const std::vector<CatalogueTreeNode>& tree, const std::string& tag) {
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if (tree[i].Tag == tag) return i;
  }
  return CatalogueTreeNode::kNoParent;
}

std::vector<std::string> TagProblems(const PrivacyConfigs& catalogue) {
  std::vector<std::string> problems;
  for (const CatalogueTreeNode& node : BuildCatalogueTree(catalogue, true)) {
    const std::string& name = node.Item ? node.Item->Title : node.Config ? node.Config->Software : node.Text;
    const std::size_t lastPart = node.Tag.rfind(kTreeTagSeparator);
    if (!node.Config || node.Tag.substr(lastPart + 1) == name) continue;
    problems.push_back(std::string(node.Item ? "item" : "configuration") + " \"" + name +
                       "\" cannot be named by its name in a tree tag; its tag is \"" + node.Tag + "\"");
  }
  return problems;
}

}  // namespace qm
