#include "clean/run_target.h"

namespace qm {

std::optional<RunTarget> SelectRunTarget(const PrivacyConfigs& catalogue, const std::string& tag,
                                         bool includeUnselected) {
  const std::vector<CatalogueTreeNode> tree = BuildCatalogueTree(catalogue, includeUnselected);
  const std::size_t index = FindTreeNode(tree, tag);
  if (index == CatalogueTreeNode::kNoParent) return std::nullopt;
  const CatalogueTreeNode& node = tree[index];
  RunTarget target;
  target.NodeText = node.Text;
  target.Config = node.Config;
  target.Item = node.Item;
  if (node.Item) {
    target.Scope = RunTarget::Level::Item;
    target.StatusText = node.Config->Software + kTreeTagSeparator + node.Item->Title;
  } else if (node.Config) {
    target.Scope = RunTarget::Level::Config;
    target.StatusText = node.Config->Software;
  } else if (node.Group != SoftwareType::Unknown) {
    target.Scope = RunTarget::Level::SoftwareType;
    target.Group = node.Group;
    target.StatusText = node.Text;
  } else {
    target.StatusText = "ALL";
  }
  return target;
}

int64_t ItemCount(const PrivacyConfigs& catalogue, const RunTarget& target, bool includeUnselected) {
  if (target.Item) return 1;
  int64_t count = 0;
  for (const auto& config : catalogue) {
    if (target.Config ? config != target.Config
                      : (!config->Selected && !includeUnselected) ||
                            (target.Scope == RunTarget::Level::SoftwareType && config->SoftwareType != target.Group)) {
      continue;
    }
    for (const auto& item : config->Items) count += item->Selected || includeUnselected ? 1 : 0;
  }
  return count;
}

}  // namespace qm
