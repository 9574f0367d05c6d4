#pragma once

#include <ostream>
#include <string>

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

/// Tells why the program ends with `status`: "quillmere-cli: " + `message` on the error stream and, with
/// --json, the line {"error":{"code":STATUS,"message":MESSAGE}} on the output. Returns `status`.
int Fail(std::ostream& out, std::ostream& err, bool json, int status, const std::string& message);
int Fail(const CommandContext& context, int status, const std::string& message);

/// Prints "quillmere-cli: warning: " + `message` on the error stream; the command goes on.
void Warn(const CommandContext& context, const std::string& message);

/// The commands, one file each. Each returns the exit status.
int RunList(const CommandContext& context);
int RunShow(const CommandContext& context);
int RunClear(const CommandContext& context);
int RunDecrypt(const CommandContext& context);
int RunEncrypt(const CommandContext& context);
int RunImportWinapp2(const CommandContext& context);
int RunHelp(const CommandContext& context);

}  // namespace qm::cli
