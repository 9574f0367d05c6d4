#include "platform/file_overwrite.h"

#include <windows.h>

#include <algorithm>

#include "platform/error.h"
#include "platform/text.h"

namespace qm {

namespace {

RuntimeError OverwriteError(DWORD code, const std::string& what, const std::string& path) {
  int32_t number = errors::kDeviceIo;
  switch (code) {
    case ERROR_FILE_NOT_FOUND: number = errors::kFileNotFound; break;
    case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_NAME: number = errors::kPathNotFound; break;
    case ERROR_ACCESS_DENIED: case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      number = errors::kPermissionDenied;
      break;
    default: break;
  }
  return RuntimeError(number, "FileOverwrite", what + " \"" + path + "\" (error " + std::to_string(code) + ")")
      .WithLastPlatformError(static_cast<int32_t>(code));
}

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

FileOverwrite::FileOverwrite(const std::string& path)
    : path_(path), handle_(reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE)) {
  std::u16string wide = text::Utf8ToUtf16(path);
  // Full sharing: another process's open handle (with write sharing) must not stop the overwrite.
  // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself, so the check below can refuse it: a link is erased
  // by removing it, never by overwriting what it points to.
  HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw OverwriteError(::GetLastError(), "Cannot open for overwriting", path);
  BY_HANDLE_FILE_INFORMATION info{};
  DWORD code = ERROR_SUCCESS;
  if (!::GetFileInformationByHandle(file, &info)) {
    code = ::GetLastError();
  } else if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
    code = ERROR_ACCESS_DENIED;
  }
  if (code != ERROR_SUCCESS) {
    ::CloseHandle(file);
    throw OverwriteError(code, "Cannot overwrite", path);
  }
  handle_ = reinterpret_cast<intptr_t>(file);
  open_ = true;
  size_ = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

FileOverwrite::~FileOverwrite() {
  if (open_) ::CloseHandle(AsHandle(handle_));
}

void FileOverwrite::Write(const void* data, std::size_t count) {
  const char* next = static_cast<const char*>(data);
  while (count > 0) {
    // WriteFile takes a 32-bit count: larger writes go in pieces.
    DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(AsHandle(handle_), next, piece, &written, nullptr) || written == 0) {
      DWORD code = ::GetLastError();
      throw OverwriteError(code == ERROR_SUCCESS ? ERROR_WRITE_FAULT : code, "Cannot write", path_);
    }
    next += written;
    count -= written;
  }
}

void FileOverwrite::Flush() {
  if (!::FlushFileBuffers(AsHandle(handle_))) throw OverwriteError(::GetLastError(), "Cannot flush", path_);
}

void FileOverwrite::Close() {
  if (!open_) return;
  open_ = false;
  if (!::CloseHandle(AsHandle(handle_))) throw OverwriteError(::GetLastError(), "Cannot close", path_);
}

}  // namespace qm
