#pragma once

#include <string>

#include "cli/reference.h"

namespace qm::cli {

/// The usage line and where to find more, printed after a usage error; ends with a line break.
std::string UsageText();

/// The help of the program (--help, `help`): usage, description, commands, node names, options, exit
/// statuses, environment and files, wrapped for an 80-column terminal.
std::string HelpText();

/// The help of one command (`help COMMAND`, `COMMAND --help`): its usage and description, the node names and
/// the output where it takes NODEs, the options it takes, examples, exit statuses, environment and files.
std::string CommandHelpText(const CommandReference& command);

}  // namespace qm::cli
