#include "platform/command_line.h"

namespace qm {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

}  // namespace qm
