#include "config/settings_string.h"

namespace qm {

std::string TrimBlanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  const std::size_t last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

std::vector<std::string> SplitAt(std::string_view s, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = s.find(separator); at != std::string_view::npos; at = s.find(separator, start)) {
    parts.emplace_back(s.substr(start, at - start));
    start = at + separator.size();
  }
  parts.emplace_back(s.substr(start));
  return parts;
}

void AppendSettingsParts(const std::string& str, TextList& list) {
  const std::string trimmed = TrimBlanks(str);
  if (trimmed.empty()) return;
  for (std::string& part : SplitAt(trimmed, kFieldSeparator)) list.Add(std::move(part));
}

}  // namespace qm
