#pragma once

#include <cstdint>
#include <string>

namespace qm::testing {

/// While a `FileLock` lives, the platform refuses to delete the file as permission denied,
/// yet the file can still be opened for writing, as with a file that a running program uses. On Windows the
/// file is held open without delete sharing. Elsewhere an open file never blocks its deletion, so the
/// file's folder is made read-only and, for root, the calling thread sets aside the capabilities that
/// would override that. Everything is restored when the lock goes, so locks must go in the reverse order of
/// their taking. Raises RuntimeError when the lock cannot be taken.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  std::string folder_;        ///< the folder made read-only (POSIX)
  uint32_t folderMode_ = 0;   ///< its mode before (POSIX)
  uint32_t savedEffective_[2] = {0, 0};  ///< the thread's effective capabilities before (POSIX)
  intptr_t handle_ = 0;       ///< the holding handle (Windows)
};

}  // namespace qm::testing
