#include "platform/file_overwrite.h"

#include <utility>

#include "platform/file_system_detail.h"

namespace qm {

namespace fs_detail {

RuntimeError OverwriteError(int32_t code, const std::string& what, const std::string& path) {
  return RuntimeError(ErrorNumber(code, false), "FileOverwrite",
                      "Cannot " + what + " \"" + path + "\": " + SystemText(code))
      .WithLastPlatformError(code);
}

}  // namespace fs_detail

FileOverwrite::FileOverwrite(intptr_t handle, std::string path, uint64_t size)
    : path_(std::move(path)), size_(size), handle_(handle), open_(true) {}

FileOverwrite::FileOverwrite(FileOverwrite&& other) noexcept
    : path_(std::move(other.path_)),
      size_(other.size_),
      handle_(other.handle_),
      open_(std::exchange(other.open_, false)) {}

}  // namespace qm
