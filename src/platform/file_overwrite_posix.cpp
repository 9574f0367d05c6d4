#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_overwrite.h"
#include "platform/file_system_detail.h"

namespace qm {

using fs_detail::OverwriteError;

FileOverwrite::~FileOverwrite() {
  if (open_) ::close(static_cast<int>(handle_));
}

std::vector<ByteRange> FileOverwrite::DataRanges() const {
  const int fd = static_cast<int>(handle_);
  const off_t size = static_cast<off_t>(size_);
  // Looking for data and holes moves the write position: it is put back afterwards.
  const off_t position = ::lseek(fd, 0, SEEK_CUR);
  if (position < 0) throw OverwriteError(errno, "read the data ranges of", path_);
  std::vector<ByteRange> ranges;
  for (off_t next = 0; next < size;) {
    const off_t data = ::lseek(fd, next, SEEK_DATA);
    if (data < 0) {
      if (errno == ENXIO) break;  // no data after `next`
      if (errno != EINVAL) throw OverwriteError(errno, "read the data ranges of", path_);
      // A file system that knows no holes: every byte may hold data.
      ranges.assign(1, ByteRange{0, size_});
      break;
    }
    if (data >= size) break;
    const off_t hole = ::lseek(fd, data, SEEK_HOLE);
    if (hole < 0) throw OverwriteError(errno, "read the data ranges of", path_);
    const off_t end = std::min(hole, size);
    ranges.push_back(ByteRange{static_cast<uint64_t>(data), static_cast<uint64_t>(end - data)});
    next = end;
  }
  if (::lseek(fd, position, SEEK_SET) < 0) throw OverwriteError(errno, "read the data ranges of", path_);
  return ranges;
}

void FileOverwrite::Seek(uint64_t offset) {
  if (::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) < 0) {
    throw OverwriteError(errno, "move in", path_);
  }
}

void FileOverwrite::Write(const void* data, std::size_t count) {
  const char* next = static_cast<const char*>(data);
  while (count > 0) {
    ssize_t written = ::write(static_cast<int>(handle_), next, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw OverwriteError(errno, "write", path_);
    }
    next += written;
    count -= static_cast<std::size_t>(written);
  }
}

void FileOverwrite::Flush() {
  // The length never changes, so the data alone has to reach the disk.
  if (::fdatasync(static_cast<int>(handle_)) != 0) throw OverwriteError(errno, "flush", path_);
}

void FileOverwrite::Close() {
  if (!open_) return;
  open_ = false;
  if (::close(static_cast<int>(handle_)) != 0) throw OverwriteError(errno, "close", path_);
}

}  // namespace qm
