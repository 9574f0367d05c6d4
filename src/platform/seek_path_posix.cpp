#include <string>

#include "platform/seek_path.h"

namespace qm {

std::optional<std::string> NativeSeekPath(std::string_view cataloguePath) {
  std::string path(cataloguePath);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (path.empty() || path.front() != '/') return std::nullopt;
  std::string out = "/";
  if (!seek_path_detail::AppendComponents(out, path, '/')) return std::nullopt;
  return out;
}

}  // namespace qm
