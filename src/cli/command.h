#pragma once

#include <ostream>

#include "cli/interrupts.h"
#include "cli/options.h"

namespace qm::cli {

/// What a command works with: the parsed options, the two output streams (UTF-8 text) and Ctrl+C.
struct CommandContext {
  const Options& options;
  std::ostream& out;
  std::ostream& err;
  Interrupts& interrupts;
};

/// Whether a command takes its one argument.
enum class ArgumentRule { None, Optional, Required };

/// One entry of the dispatch table. `run` returns the exit status.
struct Command {
  const char* name;
  ArgumentRule argument;
  const char* argumentName;  ///< "NODE", "FILE" ... for the messages
  int (*run)(const CommandContext& context);
};

/// Prints "quillmere-cli: " + `message` on the error stream.
void ReportError(const CommandContext& context, const std::string& message);

/// The commands, one file each.
int RunList(const CommandContext& context);
int RunShow(const CommandContext& context);
int RunClear(const CommandContext& context);
int RunDecrypt(const CommandContext& context);
int RunEncrypt(const CommandContext& context);
int RunImportWinapp2(const CommandContext& context);

}  // namespace qm::cli
