#include "cli/node_names.h"

#include <algorithm>

#include "platform/text.h"

namespace qm::cli {
namespace {

const std::string kRootPrefix = std::string(kTreeRootText) + kTreeTagSeparator;

bool Inside(const std::vector<CatalogueTreeNode>& tree, std::size_t node, std::size_t outer) {
  for (std::size_t parent = tree[node].Parent; parent != CatalogueTreeNode::kNoParent; parent = tree[parent].Parent) {
    if (parent == outer) return true;
  }
  return false;
}

}  // namespace

std::string ShortNodeName(const std::string& tag) {
  return tag.starts_with(kRootPrefix) ? tag.substr(kRootPrefix.size()) : tag;
}

NodeLookup LookUpNode(const std::vector<CatalogueTreeNode>& tree, const std::string& name) {
  NodeLookup lookup;
  if (const std::size_t exact = FindTreeNode(tree, name); exact != CatalogueTreeNode::kNoParent) {
    lookup.index = exact;
    return lookup;
  }
  if (const std::size_t exact = FindTreeNode(tree, kRootPrefix + name); exact != CatalogueTreeNode::kNoParent) {
    lookup.index = exact;
    return lookup;
  }
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if (text::EqualsIgnoreCase(tree[i].Tag, name) || text::EqualsIgnoreCase(ShortNodeName(tree[i].Tag), name)) {
      lookup.candidates.push_back(i);
    }
  }
  if (lookup.candidates.size() == 1) {
    lookup.index = lookup.candidates.front();
    lookup.candidates.clear();
  }
  return lookup;
}

std::vector<std::size_t> OutermostNodes(const std::vector<CatalogueTreeNode>& tree,
                                        const std::vector<std::size_t>& nodes) {
  std::vector<std::size_t> outermost;
  for (std::size_t node : nodes) {
    const bool covered =
        std::any_of(nodes.begin(), nodes.end(), [&](std::size_t other) { return Inside(tree, node, other); });
    if (!covered && std::find(outermost.begin(), outermost.end(), node) == outermost.end()) outermost.push_back(node);
  }
  return outermost;
}

}  // namespace qm::cli
