#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/console_stream.h"
#include "cli/options.h"
#include "cli/show_clear.h"
#include "config/stop_requested.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/error.h"
#include "platform/registry_backend.h"

namespace qm::cli {
namespace {

/// The commands by name; a command is one file and one line here.
constexpr Command kCommands[] = {
    {"list", ArgumentRule::None, "", RunList},
    {"show", ArgumentRule::Optional, "NODE", RunShow},
    {"clear", ArgumentRule::Optional, "NODE", RunClear},
    {"decrypt", ArgumentRule::Required, "FILE", RunDecrypt},
    {"encrypt", ArgumentRule::Required, "FILE", RunEncrypt},
};

const Command& FindCommand(const Options& options) {
  for (const Command& command : kCommands) {
    if (options.command != command.name) continue;
    if (command.argument == ArgumentRule::None && options.argument) {
      throw UsageError(options.command + " takes no argument");
    }
    if (command.argument == ArgumentRule::Required && !options.argument) {
      throw UsageError(options.command + " needs " + command.argumentName);
    }
    return command;
  }
  throw UsageError("unknown command " + options.command);
}

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  Options options;
  const Command* command = nullptr;
  try {
    options = ParseOptions(arguments);
    if (options.help) {
      out << UsageText();
      return kExitDone;
    }
    if (options.version) {
      out << "quillmere-cli " << QM_VERSION << '\n';
      return kExitDone;
    }
    command = &FindCommand(options);
    if (!options.registry.empty() && !reg::SetRegistryStoreFile(options.registry)) {
      throw UsageError("--registry works on Linux only");
    }
  } catch (const UsageError& e) {
    err << "quillmere-cli: " << e.what() << '\n' << UsageText();
    return kExitUsage;
  }
  const CommandContext context{options, out, err};
  try {
    return command->run(context);
  } catch (const RuntimeError& e) {
    ReportError(context, e.Description());
    return kExitNoCatalogue;
  }
}

}  // namespace
}  // namespace qm::cli

int main(int argc, char** argv) {
  // Ctrl+C stops a run at its next trace, as the Stop button does in the window.
  qm::console::OnInterrupt([] { qm::StopRequested = true; });
  const std::vector<std::string> arguments = qm::CommandLineArguments(argc, argv);
  qm::cli::ConsoleStream out(qm::console::Stream::Out);
  qm::cli::ConsoleStream err(qm::console::Stream::Err);
  // The first argument is the program's own name.
  const auto first = arguments.empty() ? arguments.end() : arguments.begin() + 1;
  return qm::cli::Run(std::vector<std::string>(first, arguments.end()), out, err);
}
