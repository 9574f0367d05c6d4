#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace qm::testing {

/// Writes `bytes` to a new file (replacing any).
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// A file's whole contents; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The lines of `text` without their line ends (LF or CR LF).
inline std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

/// `count` bytes of a pattern that holds no NUL byte.
inline std::string PatternBytes(std::size_t count) {
  std::string bytes(count, 'x');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>('A' + i % 26);
  return bytes;
}

/// A fresh, empty folder for one test, removed with everything in it afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& tag) {
    // Test cases run in parallel processes: a random part keeps their folders apart.
    static const uint64_t run = std::random_device{}();
    static std::atomic<int> serial{0};
    path_ = std::filesystem::temp_directory_path() /
            ("qm-" + tag + "-" + std::to_string(run) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    // Read-only entries must not stop the clean-up; a link is left alone, its target may lie outside.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      if (!it->is_symlink(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
      }
    }
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  /// The folder, or a path inside it, in the platform's own form; "/" in `name` separates folders.
  std::string Path(const std::string& name = "") const {
    return (name.empty() ? path_ : path_ / std::filesystem::path(name).make_preferred()).string();
  }
  std::string operator/(const std::string& name) const { return Path(name); }

  /// Makes the folders of `name` and writes `bytes` into it; returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string file = Path(name);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    WriteBytes(file, bytes);
    return file;
  }
  /// Makes the folder `name` (and its parents); returns its path.
  std::string Folder(const std::string& name) const {
    const std::string folder = Path(name);
    std::filesystem::create_directories(folder);
    return folder;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace qm::testing
