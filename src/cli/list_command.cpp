#include "cli/command.h"
#include "cli/engine_setup.h"
#include "cli/json.h"
#include "config/catalogue_tree.h"

namespace qm::cli {

int RunList(const CommandContext& context) {
  std::unique_ptr<EngineSession> session = OpenEngine(context);
  if (!session) return kExitNoCatalogue;
  const std::vector<CatalogueTreeNode> tree = BuildCatalogueTree(session->engine().Catalogue(), context.options.all);
  for (std::size_t index : DisplayOrder(tree)) {
    const CatalogueTreeNode& node = tree[index];
    if (!context.options.json) {
      context.out << node.Tag << '\n';
      continue;
    }
    const bool selected = node.Item ? node.Item->Selected : !node.Config || node.Config->Selected;
    context.out << "{\"tag\":" << JsonString(node.Tag) << ",\"text\":" << JsonString(node.Text)
                << ",\"selected\":" << (selected ? "true" : "false") << "}\n";
  }
  return kExitDone;
}

}  // namespace qm::cli
