#include "support/case_tree.h"

#include <algorithm>
#include <filesystem>

#include "support/file_system_extras.h"
#include "support/lines.h"
#include "support/scratch_folder.h"

namespace qm::testing {

namespace fs = std::filesystem;

std::string CaseTree::Build(const std::string& root, const Lines& lines) {
  for (const std::string& line : lines) {
    // "entry | attribute | attribute"
    const Lines parts = Split(line, " | ");
    const std::string& entry = parts[0];
    const std::size_t arrow = entry.find(" -> ");
    const std::size_t equals = entry.find(" = ");
    std::string relative = entry.substr(0, std::min(arrow, equals));
    const bool folder = relative.back() == '/';
    if (folder) relative.pop_back();
    const std::string path = (fs::path(root) / fs::path(relative).make_preferred()).string();
    fs::create_directories(folder ? fs::path(path) : fs::path(path).parent_path());
    if (arrow != std::string::npos) {
      if (!MakeSymbolicLink(entry.substr(arrow + 4), path)) return "this system makes no symbolic links";
    } else if (equals != std::string::npos) {
      WriteBytes(path, Unescaped(entry.substr(equals + 3)));
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
      const std::string& attribute = parts[i];
      if (attribute == "fifo" && !MakeFifo(path)) return "this system has no FIFOs";
      if (attribute == "socket" && !MakeSocket(path)) return "this system has no sockets in folders";
      if (attribute == "device" && !MakeDevice(path)) return "no device node can be made here";
      if (attribute == "locked") lockedFiles.push_back(path);
      if (attribute == "sticky") fs::permissions(path, fs::perms::all | fs::perms::sticky_bit);
      if (attribute.rfind("owner ", 0) == 0 && !GiveTo(path, static_cast<uint32_t>(std::stoul(attribute.substr(6))))) {
        return "files cannot be given to another user here";
      }
    }
  }
  return "";
}

Lines ListTree(const std::string& root) {
  Lines entries;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error); it != fs::recursive_directory_iterator();
       it.increment(error)) {
    const std::string relative = it->path().lexically_relative(root).generic_string();
    const fs::file_status status = it->symlink_status();
    if (fs::is_symlink(status)) {
      entries.push_back(relative + " -> " + fs::read_symlink(it->path()).string());
    } else if (fs::is_directory(status)) {
      entries.push_back(relative + "/");
    } else if (fs::is_regular_file(status)) {
      entries.push_back(relative + " = " + Escaped(ReadBytes(it->path().string())));
    } else {
      entries.push_back(relative + " | special");
    }
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace qm::testing
