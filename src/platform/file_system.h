#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"

namespace qm {

namespace errors {
inline constexpr int32_t kBadFileMode = 54;         ///< reading a stream opened for writing, or the reverse
inline constexpr int32_t kInputPastEndOfFile = 62;  ///< ReadLine at the end of a stream
inline constexpr int32_t kInvalidProcedureCall = 5;
}  // namespace errors

/// What a directory entry is. Walks descend only into `Folder`; a `Link` (symbolic link, junction or any
/// other reparse point) is a trace of its own and is never followed; `Special` entries (sockets, FIFOs,
/// device nodes) are never recorded or erased.
enum class EntryKind { File, Folder, Link, Special };

class TextStream;
enum class IoMode { ForReading = 1, ForWriting = 2, ForAppending = 8 };

/// A file object: an element of `Folder::Files`.
struct File {
  std::string Name;
  std::string Path;
  uint64_t Size = 0;
  std::string Type;  ///< the shell's type description ("Text Document"; on Linux the extension + " File")
};

class Folder {
 public:
  std::string Path;
  std::string Name;

  /// The folder's files and links (a link of either kind is erased as a file, never followed), in
  /// enumeration order. Sockets, FIFOs and devices are not among them.
  std::vector<File> Files() const;
  /// The folder's real sub-folders: links and junctions to folders are not among them.
  std::vector<Folder> SubFolders() const;
};

/// A stream of 8-bit text lines. Lines are the file's own bytes (callers convert with text::AnsiToUtf8);
/// a line ends at CR LF, LF or CR.
class TextStream {
 public:
  virtual ~TextStream() = default;
  virtual std::string ReadLine() = 0;
  virtual bool AtEndOfStream() = 0;
  virtual void WriteLine(const std::string& line) = 0;  ///< text and CR LF
  virtual void WriteBlankLines(int count) = 0;
  /// Flushes and closes; a failure to write raises. Also flushes the data to the disk when asked, so a
  /// rename that follows can never publish a half-written file.
  virtual void Close(bool syncToDisk = false) = 0;
};

struct Drive {
  std::string Path;        ///< "C:" on Windows; a mount point on Linux
  int DriveType = 0;       ///< 0 unknown, 1 removable, 2 fixed, 3 network, 4 CD-ROM, 5 RAM disk
  std::string FileSystem;  ///< "NTFS", "FAT32", "ext4" ...
};

/// The file-system service. Paths are the platform's own and are used as they are: on Linux a backslash is
/// an ordinary character of a name (catalogue paths come into this form through NativeSeekPath). Nothing
/// here follows a link: a path that names a link is the link itself (a link is neither a file nor a folder
/// for FolderExists, and a file for FileExists). Every failure raises RuntimeError with the number the scripting
/// runtime would give (53 file not found, 70 permission denied, 76 path not found, 58 file already exists,
/// 57 anything else), source "FileSystem" and a description naming the path.
class FileSystem {
 public:
  /// True for a real folder (not a link to one).
  bool FolderExists(const std::string& path) const;
  /// True for a file or a link that is not a folder link.
  bool FileExists(const std::string& path) const;

  /// The size in bytes of a file (of a link: the link's own); 0 when there is no such file.
  uint64_t FileSize(const std::string& path) const;

  Folder GetFolder(const std::string& path) const;

  /// Deletes a file or a link (never its target), read-only or not when `force` is true.
  void RemoveFile(const std::string& path, bool force = true) const;

  /// Replaces `destination` (read-only or not) by `source` in one step: the destination is always either the
  /// old or the new file.
  void Replace(const std::string& source, const std::string& destination) const;

  /// A new file for writing; an existing one is emptied when `overwrite`, else the call raises 58.
  std::unique_ptr<TextStream> CreateTextFile(const std::string& path, bool overwrite = true) const;
  /// Opens a file for reading, writing (emptied) or appending; a missing file raises 53 unless `create`.
  std::unique_ptr<TextStream> OpenTextFile(const std::string& path, IoMode mode = IoMode::ForReading,
                                           bool create = false) const;

  void CreateFolder(const std::string& path) const;

  /// The whole content of a regular file. Anything else (a FIFO, a device, a socket, a folder) is refused
  /// with 75 before a byte is read, so a wrong path can neither hang the program nor stream forever.
  std::string ReadAllBytes(const std::string& path) const;

  std::vector<Drive> Drives() const;

  /// 0 the Windows folder, 1 the system folder, 2 the temporary folder; no trailing separator. On Linux the
  /// first two are empty (there is no Windows folder) and 2 is $TMPDIR or /tmp.
  std::string GetSpecialFolder(int which) const;

  /// Joins a folder and a name with the platform's separator.
  static std::string Join(const std::string& folder, const std::string& name);
  static char Separator();
};

/// True when the error is the file system's "permission denied" (70): a locked, protected or read-only
/// file, or a denied folder.
bool IsPermissionDenied(const RuntimeError& error);

}  // namespace qm
