#include "cli/command.h"

namespace qm::cli {

void ReportError(const CommandContext& context, const std::string& message) {
  context.err << "quillmere-cli: " << message << '\n';
}

}  // namespace qm::cli
