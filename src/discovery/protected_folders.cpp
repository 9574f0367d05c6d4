#include "discovery/protected_folders.h"

#include <vector>

#include "discovery/wildcard_match.h"

namespace qm {
namespace {

struct SplitPath {
  std::u32string root;  ///< "/", "C:", "//SERVER/SHARE" or "" for a relative path
  std::vector<std::u32string> parts;
};

std::vector<std::u32string> Components(const std::u32string& s) {
  std::vector<std::u32string> parts;
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find(U'/', start);
    if (end == std::u32string::npos) end = s.size();
    std::u32string part = s.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == U".") continue;
    parts.push_back(std::move(part));
  }
  return parts;
}

SplitPath Split(std::string_view path) {
  std::u32string s = UpperCodePoints(path);
  for (char32_t& c : s) {
    if (c == U'\\') c = U'/';
  }
  if (s.rfind(U"//?/UNC/", 0) == 0) {
    s = U"//" + s.substr(8);
  } else if (s.rfind(U"//?/", 0) == 0) {
    s = s.substr(4);
  }

  SplitPath out;
  std::vector<std::u32string> raw;
  if (s.rfind(U"//", 0) == 0) {
    // A share's root is the server and the share name together.
    raw = Components(s.substr(2));
    out.root = U"/";
    for (int i = 0; i < 2 && !raw.empty(); ++i) {
      out.root += U"/" + raw.front();
      raw.erase(raw.begin());
    }
  } else if (s.size() >= 2 && s[1] == U':') {
    out.root = s.substr(0, 2);
    raw = Components(s.substr(2));
  } else if (!s.empty() && s[0] == U'/') {
    out.root = U"/";
    raw = Components(s);
  } else {
    raw = Components(s);
  }

  for (std::u32string& part : raw) {
    if (part == U"..") {
      // ".." never climbs above a root; in a relative path it stays a step of its own.
      if (!out.parts.empty() && out.parts.back() != U"..") {
        out.parts.pop_back();
      } else if (out.root.empty()) {
        out.parts.push_back(std::move(part));
      }
    } else {
      out.parts.push_back(std::move(part));
    }
  }
  return out;
}

}  // namespace

std::u32string ComparablePath(std::string_view path) {
  const SplitPath split = Split(path);
  std::u32string out = split.root;
  for (const std::u32string& part : split.parts) {
    if (!out.empty() && out.back() != U'/') out += U'/';
    out += part;
  }
  return out;
}

bool IsProtectedFolder(std::string_view folder, const std::vector<std::string>& protectedFolders) {
  const SplitPath split = Split(folder);
  if (split.root.empty() || split.parts.empty()) return true;
  const std::u32string target = ComparablePath(folder);
  for (const std::string& special : protectedFolders) {
    if (special.empty()) continue;
    const std::u32string guarded = ComparablePath(special);
    // The folder itself, or an ancestor: the guarded path goes on below it.
    if (guarded.size() >= target.size() && guarded.compare(0, target.size(), target) == 0 &&
        (guarded.size() == target.size() || guarded[target.size()] == U'/')) {
      return true;
    }
  }
  return false;
}

}  // namespace qm
