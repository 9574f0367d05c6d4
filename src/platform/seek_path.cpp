#include "platform/seek_path.h"

namespace qm::seek_path_detail {

bool AppendComponents(std::string& out, std::string_view rest, char separator) {
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find(separator, start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view part = rest.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") return false;
    if (!out.empty() && out.back() != separator) out += separator;
    out += part;
  }
  return true;
}

}  // namespace qm::seek_path_detail
