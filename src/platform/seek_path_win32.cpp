#include <string>

#include "platform/seek_path.h"

namespace qm {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::optional<std::string> NativeSeekPath(std::string_view cataloguePath) {
  std::string path(cataloguePath);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  std::string out;
  std::string_view rest = path;
  if (rest.substr(0, 4) == "\\\\?\\") {
    out = "\\\\?\\";
    rest.remove_prefix(4);
  }
  if (rest.size() >= 3 && IsLetter(rest[0]) && rest[1] == ':' && rest[2] == '\\') {
    out += rest.substr(0, 3);
    rest.remove_prefix(3);
  } else if (out.empty() && rest.substr(0, 2) == "\\\\") {
    // A share: the server and the share name belong to the root.
    out = "\\\\";
    rest.remove_prefix(2);
    for (int part = 0; part < 2; ++part) {
      const std::size_t end = rest.find('\\');
      const std::string_view name = rest.substr(0, end);
      if (name.empty() || name == "." || name == "..") return std::nullopt;
      out += name;
      if (part == 0) out += '\\';
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    out += '\\';
  } else {
    return std::nullopt;
  }
  const std::size_t rootLength = out.size();
  if (!seek_path_detail::AppendComponents(out, rest, '\\')) return std::nullopt;
  // The root keeps its own separator ("C:\"); a path below it does not end with one.
  if (out.size() > rootLength && out.back() == '\\') out.pop_back();
  if (out.size() == rootLength && out.back() == '\\' && out.size() > 3) out.pop_back();
  return out;
}

}  // namespace qm
