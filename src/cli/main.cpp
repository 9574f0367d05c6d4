#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/console_stream.h"
#include "cli/interrupts.h"
#include "cli/options.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/error.h"
#include "platform/shell.h"

namespace qm::cli {
namespace {

/// The commands by name; a command is one file and one line here.
constexpr Command kCommands[] = {
    {"list", ArgumentRule::None, "", RunList},
    {"show", ArgumentRule::Optional, "NODE", RunShow},
    {"clear", ArgumentRule::Optional, "NODE", RunClear},
    {"decrypt", ArgumentRule::Required, "FILE", RunDecrypt},
    {"encrypt", ArgumentRule::Required, "FILE", RunEncrypt},
    {"import-winapp2", ArgumentRule::Required, "FILE", RunImportWinapp2},
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

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, Interrupts& interrupts) {
  Options options;
  const Command* command = nullptr;
  try {
    options = ParseOptions(arguments);
    if (options.help) {
      out << UsageText();
      return kExitDone;
    }
    if (options.version) {
      out << "quillmere-cli " << shell::ProgramVersion() << '\n';
      return kExitDone;
    }
    command = &FindCommand(options);
  } catch (const UsageError& e) {
    err << "quillmere-cli: " << e.what() << '\n' << UsageText();
    return kExitUsage;
  }
  const CommandContext context{options, out, err, interrupts};
  try {
    return command->run(context);
  } catch (const RuntimeError& e) {
    ReportError(context, e.Description());
    return kExitNoCatalogue;
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
