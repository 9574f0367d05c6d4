#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"

// <windows.h> maps these names to their W forms; the service's own members keep their plain names. A file
// that includes <windows.h> must include it before this header.
#undef DeleteFile
#undef MoveFile
#undef ReplaceFile

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

/// One entry of a folder, as one enumeration pass reports it.
struct FolderEntry {
  std::string Name;   ///< the entry's own name
  std::string Path;   ///< folder path + separator + name
  EntryKind Kind = EntryKind::File;
  uint64_t Size = 0;  ///< bytes, for files; 0 otherwise
  bool LinkToFolder = false;  ///< for links: the link itself is a folder-type link (a junction, a dir symlink)
};

class TextStream;
enum class IoMode { ForReading = 1, ForWriting = 2, ForAppending = 8 };

/// A file object: `GetFile` or an element of `Folder::Files`.
struct File {
  std::string Name;
  std::string Path;
  uint64_t Size = 0;
  std::string Type;  ///< the shell's type description ("Text Document"; on Linux the extension + " File")

  /// Deletes the file (or link), read-only or not when `force` is true.
  void Delete(bool force = true) const;
  /// Opens the file as a text stream (reading by default).
  std::unique_ptr<TextStream> OpenAsTextStream(IoMode mode = IoMode::ForReading) const;
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
  /// Deletes the folder with everything in it; links inside are removed, never followed.
  void Delete(bool force = true) const;
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

/// The file-system service. Paths are the platform's own; on Linux a backslash in a path is taken as a
/// separator, so catalogue paths written with "\" work on both builds. Nothing here follows a link: a path
/// that names a link is the link itself (a link is neither a file nor a folder for FolderExists, and a
/// file for FileExists and GetFile). Every failure raises RuntimeError with the number the scripting
/// runtime would give (53 file not found, 70 permission denied, 76 path not found, 58 file already exists,
/// 57 anything else), source "FileSystem" and a description naming the path.
class FileSystem {
 public:
  /// True for a real folder (not a link to one).
  bool FolderExists(const std::string& path) const;
  /// True for a file or a link that is not a folder link.
  bool FileExists(const std::string& path) const;

  Folder GetFolder(const std::string& path) const;
  File GetFile(const std::string& path) const;

  /// All entries of a folder in one pass, with their kinds: the fast path for the walks. Sizes are read
  /// only when `withSizes` is true (a file's size costs one more system call on Linux).
  void ForEachEntry(const std::string& folder, const std::function<void(const FolderEntry&)>& visit,
                    bool withSizes = true) const;
  /// The kind of the entry at `path` itself, without following it when it is a link.
  EntryKind KindOf(const std::string& path) const;

  /// Deletes a file or a link (never its target), read-only or not when `force` is true.
  void DeleteFile(const std::string& path, bool force = true) const;
  /// Deletes a folder with everything in it, never following links inside it. Sockets, FIFOs and devices
  /// are left alone, so a folder holding one is not removed (and the call raises).
  void DeleteFolder(const std::string& path, bool force = true) const;
  /// Deletes an empty folder or a folder link (the link, never its target); raises when the folder is not
  /// empty. `force` removes a read-only folder too.
  void RemoveEmptyFolder(const std::string& path, bool force = true) const;
  /// Deletes a file or a folder, whichever `path` is.
  void Delete(const std::string& path, bool force = true) const;

  /// Renames a file; fails when the destination exists.
  void MoveFile(const std::string& source, const std::string& destination) const;
  /// Replaces `destination` (read-only or not) by `source` in one step: the destination is always either the
  /// old or the new file.
  void ReplaceFile(const std::string& source, const std::string& destination) const;

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

  /// The path as the system takes it: on Linux a backslash becomes "/", on Windows the path is unchanged.
  static std::string NativePath(const std::string& path);
  /// Joins a folder and a name with the platform's separator.
  static std::string Join(const std::string& folder, const std::string& name);
  static char Separator();
};

/// True when the error is the file system's "permission denied" (70): a locked, protected or read-only
/// file, or a denied folder.
bool IsPermissionDenied(const RuntimeError& error);

}  // namespace qm
