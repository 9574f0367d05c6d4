#include "cli/input_file.h"

#include "platform/error.h"

namespace qm::cli {

std::unique_ptr<TextStream> OpenInputFile(const CommandContext& context) {
  try {
    return FileSystem().OpenTextFile(*context.options.argument, IoMode::ForReading);
  } catch (const RuntimeError& e) {
    ReportError(context, "cannot read " + *context.options.argument + ": " + e.Description());
    return nullptr;
  }
}

}  // namespace qm::cli
