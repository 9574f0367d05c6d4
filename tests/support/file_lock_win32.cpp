#include "support/file_lock.h"

#include <windows.h>

#include "platform/error.h"
#include "platform/text.h"

namespace qm::testing {

FileLock::FileLock(const std::string& path) {
  std::u16string wide = text::Utf8ToUtf16(path);
  // Read and write sharing but no delete sharing: deleting fails with a sharing violation while this
  // handle is open, and overwriting in place stays possible.
  HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    throw RuntimeError(errors::kPermissionDenied, "FileLock",
                       "Cannot hold \"" + path + "\" (error " + std::to_string(code) + ")")
        .WithLastPlatformError(static_cast<int32_t>(code));
  }
  handle_ = reinterpret_cast<intptr_t>(file);
}

FileLock::~FileLock() { ::CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

}  // namespace qm::testing
