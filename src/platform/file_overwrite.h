#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm {

/// An existing file opened for writing in place: never created, never truncated, positioned at its first
/// byte. On Windows it shares reading, writing and deletion, so a file that another process holds open with
/// write sharing can still be overwritten. Failures raise RuntimeError (source "FileOverwrite") numbered as
/// the file-system service numbers them: 53 file not found, 76 path not found, 70 permission denied (also a
/// sharing violation), 57 any other input/output failure.
class FileOverwrite {
 public:
  explicit FileOverwrite(const std::string& path);
  ~FileOverwrite();
  FileOverwrite(const FileOverwrite&) = delete;
  FileOverwrite& operator=(const FileOverwrite&) = delete;

  /// The file's length in bytes, as it was when it was opened.
  uint64_t Size() const { return size_; }

  /// Writes all `count` bytes at the current position, which then moves past them.
  void Write(const void* data, std::size_t count);

  /// Makes what was written reach the disk, not only the system's cache.
  void Flush();

  /// Closes the file; raises when the close reports a failure. The destructor closes silently.
  void Close();

 private:
  std::string path_;
  uint64_t size_ = 0;
  intptr_t handle_;  ///< a HANDLE on Windows, a file descriptor elsewhere
  bool open_ = false;
};

}  // namespace qm
