#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_overwrite.h"
#include "platform/file_system.h"

namespace qm {

/// One entry of a folder as a FolderHandle reads it. The name is the entry's own, byte for byte: it is never
/// split at a separator or translated, so a name such as "..\x" stays one entry of this folder.
struct FolderEntry {
  std::string Name;
  EntryKind Kind = EntryKind::File;
  uint64_t Size = 0;          ///< bytes, for files read with sizes; 0 otherwise
  bool LinkToFolder = false;  ///< for links: the link itself is a folder-type link (a junction, a dir symlink)
  /// Linux: the entry sits in a world-writable folder with the sticky bit (/tmp) and belongs to another user
  /// than the one running. Such an entry is nobody's trace but its owner's. Always false on Windows.
  bool Foreign = false;
  uint64_t Id = 0;  ///< the entry's identity on its volume (inode, file index); 0 when the system gives none
};

/// An open folder. Its entries are read, opened, overwritten and removed relative to it, never through a
/// path, and no operation follows a link: a folder swapped for a link (or for another folder) while a walk
/// runs can make an operation fail, never move it elsewhere. This also lifts every path-length limit.
///
/// Failures raise RuntimeError with the file-system service's numbers and source "FileSystem": 53 an entry
/// that is gone, 76 a folder that is gone or is no longer the folder that was read, 70 a refusal (in use,
/// protected, not empty), 75 an entry of the wrong kind, 57 anything else; the platform's own code rides along
/// as the last platform error.
class FolderHandle {
 public:
  /// How many folders a walk keeps open at once before it releases the oldest (see Release): Linux limits a
  /// process's open descriptors; Windows does not limit handles that way.
  static const std::size_t kMaxOpen;

  /// Opens the folder at `path` (the platform's own form). The path's last component must be a real folder:
  /// a link there, or anything that is not a folder, raises 76.
  static FolderHandle Open(const std::string& path);

  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  ~FolderHandle();
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  /// The folder's path: the path it was opened by, then each entry name it was reached through.
  const std::string& Path() const { return path_; }
  /// Path() + the platform's separator + `name`: the path a trace of that entry shows.
  std::string PathOf(const std::string& name) const;

  /// The folder's entries in one pass, "." and ".." left out, in the system's order. Sizes are read only with
  /// `withSizes` (on Linux a file's size costs one more system call).
  std::vector<FolderEntry> Read(bool withSizes = true) const;
  /// The entry called `name` (never followed), or nothing when there is none.
  std::optional<FolderEntry> Find(const std::string& name) const;

  /// Opens the sub-folder `entry` as Read gave it. Raises 76 when that name is no longer a real folder (a
  /// link, a file, or, when identities are known, another folder than the one read). On Linux a folder where
  /// another file system is mounted does not open either: the directory records it by the number of the
  /// folder beneath, so a walk stays on its file system.
  FolderHandle OpenFolder(const FolderEntry& entry) const;

  /// Removes the file or link `entry` (a link itself, never its target); with `force` a read-only file goes
  /// too. Raises 53 when it is gone, 70 when the system refuses, 75 when the name is now a folder.
  void RemoveFile(const FolderEntry& entry, bool force = true) const;
  /// Removes the sub-folder `entry`, which must be empty, or the folder link `entry` (the link itself). Raises
  /// 76 when it is gone, 70 when it is not empty or the system refuses.
  void RemoveFolder(const FolderEntry& entry) const;

  /// Opens the regular file `entry` for overwriting in place (a link or anything else is refused with 70).
  FileOverwrite Overwrite(const FolderEntry& entry) const;

  /// Closes the folder while keeping what it is, so a deep walk does not run out of handles; Reopen gives it
  /// back. Only where kMaxOpen is limited: elsewhere both raise 5 (invalid procedure call).
  void Release();
  bool Released() const;
  /// Opens this released folder again as the parent of `child`, one of its sub-folders, and checks that it
  /// is the same folder as before; raises 76 when it is not (the tree was moved meanwhile).
  void Reopen(const FolderHandle& child);

 private:
  /// What handle_ holds when no folder is open (-1 is also INVALID_HANDLE_VALUE).
  static constexpr intptr_t kClosed = -1;

  FolderHandle(intptr_t handle, std::string path);
  /// Closes the folder's handle, if one is open.
  void Close() noexcept;

  intptr_t handle_;  ///< a directory descriptor on Linux, a directory HANDLE on Windows
  std::string path_;
  uint64_t device_ = 0;  ///< the identity kept for Reopen
  uint64_t id_ = 0;
  bool shared_ = false;  ///< Linux: world-writable with the sticky bit (/tmp), read once when opened
};

}  // namespace qm
