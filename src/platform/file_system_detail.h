#pragma once

// Pieces shared by the file-system service's two implementations; not for use outside them.

#include <cstddef>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace qm::fs_detail {

/// The service's error: number, source "FileSystem", a description naming the path and, for the catch-all
/// number, the system's own words.
RuntimeError Error(int32_t number, const std::string& path, const std::string& systemText = "");

/// The service's number for a platform error code (errno on Linux, a Win32 error on Windows). A missing
/// entry is "path not found" for a folder operation and "file not found" otherwise.
int32_t ErrorNumber(int32_t code, bool folderOperation);

/// The system's own words for a platform error code.
std::string SystemText(int32_t code);

/// The service's error `number` at `path`, carrying the platform error `code` (and, for the catch-all
/// number, the system's words for it).
RuntimeError PlatformError(int32_t number, int32_t code, const std::string& path);

/// A failure of FileOverwrite to `what` the file `path`: the service's number for `code`, source
/// "FileOverwrite".
RuntimeError OverwriteError(int32_t code, const std::string& what, const std::string& path);

/// An open file as the text streams use it. Failures raise.
class RawFile {
 public:
  virtual ~RawFile() = default;
  /// Up to `size` bytes; 0 at the end of the file.
  virtual size_t Read(char* data, size_t size) = 0;
  virtual void Write(const char* data, size_t size) = 0;
  virtual void Sync() = 0;
  virtual void Close() = 0;
};

enum class Access { Read, Write, Append };
enum class Disposition { OpenExisting, OpenAlways, CreateNew, CreateAlways };

/// Opens `path` on the OS; `Write` empties an existing file, `Append` writes after its end.
std::unique_ptr<RawFile> OpenRawFile(const std::string& path, Access access, Disposition disposition);

/// True when anything (a link included) is at `path`.
bool Exists(const std::string& path);

/// The shell's type text for a file (or, when `folder`, a folder) of that name.
std::string FileTypeName(const std::string& name, bool folder);

/// A buffered line stream over an open file.
std::unique_ptr<TextStream> MakeTextStream(std::unique_ptr<RawFile> file, Access access, std::string path);

/// The last component of a path, whichever separator it uses.
std::string LastComponent(const std::string& path);

}  // namespace qm::fs_detail
