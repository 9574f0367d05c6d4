#pragma once

#include <memory>

#include "cli/command.h"
#include "platform/file_system.h"

namespace qm::cli {

/// Opens the command's FILE argument for reading as lines of bytes; tells the failure (status
/// kExitNoCatalogue) and returns nullptr when it cannot be read.
std::unique_ptr<TextStream> OpenInputFile(const CommandContext& context);

}  // namespace qm::cli
