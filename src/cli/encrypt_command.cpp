#include <string>

#include "cli/command.h"
#include "cli/input_file.h"
#include "config/crypt.h"
#include "config/settings_string.h"
#include "platform/text.h"

namespace qm::cli {

int RunEncrypt(const CommandContext& context) {
  std::unique_ptr<TextStream> in = OpenInputFile(context);
  if (!in) return kExitNoCatalogue;
  const std::string& file = context.options.arguments.front();
  // Plain sources are UTF-8 text; each line is trimmed as the catalogue save trims what it writes.
  for (int64_t number = 1; !in->AtEndOfStream(); ++number) {
    std::string line = in->ReadLine();
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    // Enciphering such a line would turn its bytes into "?" and 0xFF without a word.
    if (!text::IsValidUtf8(line) || line.find('\0') != std::string::npos) {
      return Fail(context, kExitNoCatalogue,
                  file + " line " + std::to_string(number) +
                      (line.find('\0') != std::string::npos ? ": holds a NUL character" : ": is not valid UTF-8 text"));
    }
    context.out << Crypt::EnCrypt(TrimBlanks(line)) << '\n';
  }
  return kExitDone;
}

}  // namespace qm::cli
