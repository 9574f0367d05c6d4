#include "cli/command.h"

#include "cli/json.h"

namespace qm::cli {

int Fail(std::ostream& out, std::ostream& err, bool json, int status, const std::string& message) {
  err << "quillmere-cli: " << message << '\n';
  if (json) out << "{\"error\":{\"code\":" << status << ",\"message\":" << JsonString(message) << "}}\n";
  return status;
}

int Fail(const CommandContext& context, int status, const std::string& message) {
  return Fail(context.out, context.err, context.options.json, status, message);
}

void Warn(const CommandContext& context, const std::string& message) {
  context.err << "quillmere-cli: warning: " << message << '\n';
}

}  // namespace qm::cli
