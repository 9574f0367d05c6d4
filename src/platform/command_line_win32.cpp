#include <windows.h>
#include <shellapi.h>

#include "platform/command_line.h"
#include "platform/text_win32.h"

namespace qm {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    // Without the Unicode line, the code-page arguments are the best there is.
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
  }
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(text::Narrow(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace qm
