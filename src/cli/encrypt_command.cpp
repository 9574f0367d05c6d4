#include <string>

#include "cli/command.h"
#include "cli/input_file.h"
#include "config/crypt.h"
#include "config/settings_string.h"

namespace qm::cli {

int RunEncrypt(const CommandContext& context) {
  std::unique_ptr<TextStream> in = OpenInputFile(context);
  if (!in) return kExitNoCatalogue;
  // Plain sources are UTF-8 text; each line is trimmed as the catalogue save trims what it writes.
  for (bool first = true; !in->AtEndOfStream(); first = false) {
    std::string line = in->ReadLine();
    if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    context.out << Crypt::EnCrypt(TrimBlanks(line)) << '\n';
  }
  return kExitDone;
}

}  // namespace qm::cli
