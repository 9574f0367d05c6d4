#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/command.h"
#include "cli/console_stream.h"
#include "cli/help_text.h"
#include "cli/interrupts.h"
#include "cli/options.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/error.h"
#include "platform/shell.h"

namespace qm::cli {
namespace {

using Runner = int (*)(const CommandContext& context);

/// The commands by name; a command is one file and one line here, and its entry in the reference.
constexpr std::pair<std::string_view, Runner> kRunners[] = {
    {"list", RunList},       {"show", RunShow},       {"clear", RunClear},
    {"decrypt", RunDecrypt}, {"encrypt", RunEncrypt}, {"import-winapp2", RunImportWinapp2},
    {"help", RunHelp},
};

const CommandReference& FindCommand(const std::string& name) {
  const CommandReference* command = reference::FindCommand(name);
  if (!command) throw UsageError("unknown command " + name);
  return *command;
}

/// The runner of the command the options name, once its arguments are those it takes. An option the command
/// does not use is left alone: a script may give all its commands the same options.
Runner CheckedRunner(const Options& options) {
  const CommandReference& command = FindCommand(options.command);
  const std::size_t count = options.arguments.size();
  const std::string argument(command.argumentName);
  if (command.argument == ArgumentRule::None && count > 0) throw UsageError(options.command + " takes no argument");
  if (command.argument == ArgumentRule::Required && count == 0) {
    throw UsageError(options.command + " needs " + argument);
  }
  if ((command.argument == ArgumentRule::Optional || command.argument == ArgumentRule::Required) && count > 1) {
    throw UsageError(options.command + " takes one " + argument + ", not also " + options.arguments[1]);
  }
  for (const auto& [name, runner] : kRunners) {
    if (name == options.command) return runner;
  }
  throw UsageError("unknown command " + options.command);
}

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, Interrupts& interrupts) {
  Options options;
  Runner runner = nullptr;
  try {
    options = ParseOptions(arguments);
    if (options.version) {
      out << "quillmere-cli " << shell::ProgramVersion() << '\n';
      return kExitDone;
    }
    if (options.help) {
      out << (options.command.empty() ? HelpText() : CommandHelpText(FindCommand(options.command)));
      return kExitDone;
    }
    runner = CheckedRunner(options);
  } catch (const UsageError& e) {
    Fail(out, err, AsksForJson(arguments), kExitUsage, e.what());
    err << UsageText();
    return kExitUsage;
  }
  const CommandContext context{options, out, err, interrupts};
  try {
    return runner(context);
  } catch (const RuntimeError& e) {
    return Fail(context, kExitNoCatalogue, e.Description());
  }
}

/// The exit status once the output is flushed: an output that could not be written is a failure of its own.
/// A pipe whose reader went away ends quietly; anything else says why.
int FinalStatus(int status, ConsoleStream& out, ConsoleStream& err) {
  out.flush();
  if (!out.Failure()) return status;
  if (!console::IsBrokenPipe(*out.Failure())) err << "quillmere-cli: " << out.Failure()->Description() << '\n';
  return status == kExitInterrupted ? status : kExitOutputFailed;
}

}  // namespace
}  // namespace qm::cli

int main(int argc, char** argv) {
  // Ctrl+C stops a run at its next trace, as the Stop button does in the window; pressed before the engine
  // exists, it stops the engine as soon as there is one.
  qm::cli::Interrupts interrupts;
  qm::console::OnInterrupt([&interrupts] { interrupts.Fire(); });
  const std::vector<std::string> arguments = qm::CommandLineArguments(argc, argv);
  qm::cli::ConsoleStream out(qm::console::Stream::Out);
  qm::cli::ConsoleStream err(qm::console::Stream::Err);
  // The first argument is the program's own name.
  const auto first = arguments.empty() ? arguments.end() : arguments.begin() + 1;
  const int status = qm::cli::Run(std::vector<std::string>(first, arguments.end()), out, err, interrupts);
  return qm::cli::FinalStatus(status, out, err);
}
