#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

/// A run of bytes of a file: `Length` bytes from `Offset`.
struct ByteRange {
  uint64_t Offset = 0;
  uint64_t Length = 0;

  bool operator==(const ByteRange&) const = default;
};

/// An existing regular file opened for writing in place: never created, never truncated, positioned at its
/// first byte. It is opened relative to its folder (FolderHandle::Overwrite, which refuses a link and
/// anything that is not a regular file), never through a path. On Windows it shares reading, writing and
/// deletion, so a file that another process holds open with write sharing can still be overwritten. Failures
/// after the opening raise RuntimeError (source "FileOverwrite") numbered as the file-system service numbers
/// them: 70 permission denied, 57 any other input/output failure.
class FileOverwrite {
 public:
  FileOverwrite(FileOverwrite&& other) noexcept;
  FileOverwrite& operator=(FileOverwrite&&) = delete;
  ~FileOverwrite();
  FileOverwrite(const FileOverwrite&) = delete;
  FileOverwrite& operator=(const FileOverwrite&) = delete;

  /// The ranges of the file that hold data, in order and within its length when it was opened. The holes of
  /// a sparse file are left out (they read as NUL bytes already, and writing them would allocate them); a file
  /// that is not sparse is one range over its whole length. Raises when a sparse file's ranges cannot be learnt.
  std::vector<ByteRange> DataRanges() const;

  /// Moves the write position to `offset`.
  void Seek(uint64_t offset);

  /// Writes all `count` bytes at the current position, which then moves past them.
  void Write(const void* data, std::size_t count);

  /// Makes what was written reach the disk, not only the system's cache.
  void Flush();

  /// Closes the file; raises when the close reports a failure. The destructor closes silently.
  void Close();

 private:
  friend class FolderHandle;
  /// Takes over `handle`, an open regular file, checked by the caller; `path` names it in errors.
  FileOverwrite(intptr_t handle, std::string path, uint64_t size);

  std::string path_;
  uint64_t size_ = 0;
  intptr_t handle_;  ///< a HANDLE on Windows, a file descriptor elsewhere
  bool open_ = false;
};

}  // namespace qm
