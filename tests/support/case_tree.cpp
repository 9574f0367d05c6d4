#include "support/case_tree.h"

#include <algorithm>
#include <filesystem>

#include "support/file_system_extras.h"
#include "support/scratch_folder.h"

namespace qm::testing {

namespace fs = std::filesystem;

namespace {

/// File contents as case lines write them: "<cr>", "<nl>" and "<nul>" stand for CR, LF and NUL.
constexpr std::pair<const char*, char> kEscapes[] = {{"<cr>", '\r'}, {"<nl>", '\n'}, {"<nul>", '\0'}};

std::string Decoded(std::string text) {
  for (const auto& [name, byte] : kEscapes) text = Replaced(text, name, std::string(1, byte));
  return text;
}

std::string Encoded(std::string bytes) {
  for (const auto& [name, byte] : kEscapes) bytes = Replaced(bytes, std::string(1, byte), name);
  return bytes;
}

}  // namespace

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string CaseTree::Build(const std::string& root, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    // "entry | attribute | attribute"
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = line.find(" | ", start)) != std::string::npos; start = bar + 3) {
      parts.push_back(line.substr(start, bar - start));
    }
    parts.push_back(line.substr(start));
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
      WriteBytes(path, Decoded(entry.substr(equals + 3)));
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

std::vector<std::string> ListTree(const std::string& root) {
  std::vector<std::string> entries;
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
      entries.push_back(relative + " = " + Encoded(ReadBytes(it->path().string())));
    } else {
      entries.push_back(relative + " | special");
    }
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace qm::testing
