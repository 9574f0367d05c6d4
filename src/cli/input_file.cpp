#include "cli/input_file.h"

#include "platform/error.h"

namespace qm::cli {

std::unique_ptr<TextStream> OpenInputFile(const CommandContext& context) {
  const std::string& file = context.options.arguments.front();
  try {
    return FileSystem().OpenTextFile(file, IoMode::ForReading);
  } catch (const RuntimeError& e) {
    Fail(context, kExitNoCatalogue, "cannot read " + file + ": " + e.Description());
    return nullptr;
  }
}

}  // namespace qm::cli
