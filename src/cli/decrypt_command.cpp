#include <string>

#include "cli/command.h"
#include "cli/input_file.h"
#include "config/crypt.h"
#include "config/settings_string.h"

namespace qm::cli {

int RunDecrypt(const CommandContext& context) {
  std::unique_ptr<TextStream> in = OpenInputFile(context);
  if (!in) return kExitNoCatalogue;
  const std::string& file = context.options.arguments.front();
  // Read as the catalogue load reads: each stored line trimmed, then deciphered.
  for (int64_t line = 1; !in->AtEndOfStream(); ++line) {
    const std::string stored = TrimBlanks(in->ReadLine());
    if (!Crypt::IsCipherText(stored)) {
      return Fail(context, kExitNoCatalogue, file + " line " + std::to_string(line) + ": not enciphered text");
    }
    context.out << Crypt::DeCrypt(stored) << '\n';
  }
  return kExitDone;
}

}  // namespace qm::cli
