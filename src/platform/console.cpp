#include "platform/console.h"

#include "platform/text.h"

namespace qm::console {

bool ReadYesNo(const std::atomic<bool>& interrupted) {
  const std::optional<std::string> line = ReadLine(interrupted);
  if (!line) return false;
  const size_t begin = line->find_first_not_of(" \t");
  if (begin == std::string::npos) return false;
  const size_t end = line->find_last_not_of(" \t");
  const std::string answer = text::ToLowerAscii(line->substr(begin, end - begin + 1));
  return answer == "y" || answer == "yes";
}

}  // namespace qm::console
