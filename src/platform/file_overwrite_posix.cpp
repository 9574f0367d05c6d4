#include "platform/file_overwrite.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/error.h"

namespace qm {

namespace {

RuntimeError OverwriteError(int code, const std::string& what, const std::string& path) {
  int32_t number = errors::kDeviceIo;
  switch (code) {
    case ENOENT: number = errors::kFileNotFound; break;
    case ENOTDIR: number = errors::kPathNotFound; break;
    // ELOOP: the path is a link, which is never overwritten.
    case EACCES: case EPERM: case ETXTBSY: case EROFS: case ELOOP: number = errors::kPermissionDenied; break;
    default: break;
  }
  return RuntimeError(number, "FileOverwrite", what + " \"" + path + "\": " + std::strerror(code))
      .WithLastPlatformError(code);
}

}  // namespace

FileOverwrite::FileOverwrite(const std::string& path) : path_(path), handle_(-1) {
  // O_NOFOLLOW: a link is erased by removing it, never by overwriting what it points to. O_NONBLOCK keeps a
  // FIFO from blocking the open; only regular files get past the check below.
  int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw OverwriteError(errno, "Cannot open for overwriting", path);
  struct stat st {};
  int code = ::fstat(fd, &st) != 0 ? errno : (S_ISREG(st.st_mode) ? 0 : EPERM);
  if (code != 0) {
    ::close(fd);
    throw OverwriteError(code, "Cannot overwrite", path);
  }
  handle_ = fd;
  open_ = true;
  size_ = static_cast<uint64_t>(st.st_size);
}

FileOverwrite::~FileOverwrite() {
  if (open_) ::close(static_cast<int>(handle_));
}

void FileOverwrite::Write(const void* data, std::size_t count) {
  const char* next = static_cast<const char*>(data);
  while (count > 0) {
    ssize_t written = ::write(static_cast<int>(handle_), next, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw OverwriteError(errno, "Cannot write", path_);
    }
    next += written;
    count -= static_cast<std::size_t>(written);
  }
}

void FileOverwrite::Flush() {
  // The length never changes, so the data alone has to reach the disk.
  if (::fdatasync(static_cast<int>(handle_)) != 0) throw OverwriteError(errno, "Cannot flush", path_);
}

void FileOverwrite::Close() {
  if (!open_) return;
  open_ = false;
  if (::close(static_cast<int>(handle_)) != 0) throw OverwriteError(errno, "Cannot close", path_);
}

}  // namespace qm
