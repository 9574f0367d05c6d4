#include "cli/show_clear.h"
#include "config/catalogue_tree.h"
#include "platform/console.h"

namespace qm::cli {

int RunClear(const CommandContext& context) {
  if (!context.options.yes && console::IsTerminal(console::Stream::In)) {
    // The node's text is the last part of its tag, as the tree shows it.
    const std::string tag = context.options.argument.value_or(kTreeRootText);
    const std::string text = tag.substr(tag.rfind(kTreeTagSeparator) + 1);
    context.err << "Are you sure to clear the privacy item \"" << text << "\" and its all subitems? [y/N] "
                << std::flush;
    if (!console::ReadYesNo()) return kExitDone;
  }
  return RunNode(context, true);
}

}  // namespace qm::cli
