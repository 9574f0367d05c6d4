#include "cli/command.h"
#include "cli/help_text.h"

namespace qm::cli {

int RunHelp(const CommandContext& context) {
  if (context.options.arguments.empty()) {
    context.out << HelpText();
    return kExitDone;
  }
  const std::string& name = context.options.arguments.front();
  const CommandReference* command = reference::FindCommand(name);
  if (!command) {
    Fail(context, kExitUsage, "unknown command " + name);
    context.err << UsageText();
    return kExitUsage;
  }
  context.out << CommandHelpText(*command);
  return kExitDone;
}

}  // namespace qm::cli
