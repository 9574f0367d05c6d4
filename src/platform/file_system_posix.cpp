#include "platform/file_system_posix.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/file_system.h"
#include "platform/file_system_detail.h"
#include "platform/text.h"

namespace qm {

namespace {

using fs_detail::Error;
using fs_detail::KindOfMode;

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

/// Raises the service's error for errno `error` at `path`. A missing entry whose folder is missing too is
/// "path not found", as Windows reports it.
[[noreturn]] void RaiseErrno(int error, const std::string& path, bool folderOperation) {
  struct stat parent;
  const bool parentMissing =
      error == ENOENT && !folderOperation && !(::stat(ParentOf(path).c_str(), &parent) == 0 && S_ISDIR(parent.st_mode));
  throw fs_detail::PlatformError(fs_detail::ErrorNumber(error, folderOperation || parentMissing), error, path);
}

bool Lstat(const std::string& path, struct stat& info) { return ::lstat(path.c_str(), &info) == 0; }

bool PointsToFolder(const std::string& path) {
  struct stat target;
  return ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
}

class PosixFile final : public fs_detail::RawFile {
 public:
  PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  size_t Read(char* data, size_t size) override {
    while (true) {
      const ssize_t got = ::read(fd_, data, size);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno != EINTR) RaiseErrno(errno, path_, false);
    }
  }

  void Write(const char* data, size_t size) override {
    while (size > 0) {
      const ssize_t put = ::write(fd_, data, size);
      if (put < 0) {
        if (errno == EINTR) continue;
        RaiseErrno(errno, path_, false);
      }
      data += put;
      size -= static_cast<size_t>(put);
    }
  }

  void Sync() override {
    if (::fsync(fd_) != 0) RaiseErrno(errno, path_, false);
  }

  void Close() override {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) RaiseErrno(errno, path_, false);
  }

 private:
  int fd_;
  std::string path_;
};

}  // namespace

namespace fs_detail {

int32_t ErrorNumber(int32_t code, bool folderOperation) {
  switch (code) {
    case ENOENT: return folderOperation ? errors::kPathNotFound : errors::kFileNotFound;
    case ENOTDIR: return errors::kPathNotFound;
    case EACCES:
    case EPERM:
    case ETXTBSY:
    case EROFS: return errors::kPermissionDenied;
    case EEXIST: return errors::kFileAlreadyExists;
    default: return errors::kDeviceIo;
  }
}

std::string SystemText(int32_t code) { return std::strerror(code); }

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Link;
  return EntryKind::Special;
}

bool Exists(const std::string& path) {
  struct stat info;
  return Lstat(path, info);
}

std::unique_ptr<RawFile> OpenRawFile(const std::string& path, Access access, Disposition disposition) {
  int flags = O_CLOEXEC;
  switch (access) {
    case Access::Read: flags |= O_RDONLY; break;
    case Access::Write: flags |= O_WRONLY | O_TRUNC; break;
    case Access::Append: flags |= O_WRONLY | O_APPEND; break;
  }
  switch (disposition) {
    case Disposition::OpenExisting: break;
    case Disposition::OpenAlways:
    case Disposition::CreateAlways: flags |= O_CREAT; break;
    case Disposition::CreateNew: flags |= O_CREAT | O_EXCL; break;
  }
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below like every other
  // non-file (a device would stream forever).
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) RaiseErrno(errno, path, false);
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw Error(errors::kPathFileAccess, path, "not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return std::make_unique<PosixFile>(fd, path);
}

std::string FileTypeName(const std::string& name, bool folder) {
  if (folder) return "File folder";
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return "File";
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return extension + " File";
}

}  // namespace fs_detail

bool FileSystem::FolderExists(const std::string& path) const {
  struct stat info;
  return Lstat(path, info) && S_ISDIR(info.st_mode);
}

bool FileSystem::FileExists(const std::string& path) const {
  struct stat info;
  if (!Lstat(path, info)) return false;
  return S_ISREG(info.st_mode) || (S_ISLNK(info.st_mode) && !PointsToFolder(path));
}

uint64_t FileSystem::FileSize(const std::string& path) const {
  struct stat info;
  if (!Lstat(path, info) || S_ISDIR(info.st_mode)) return 0;
  return static_cast<uint64_t>(info.st_size);
}

Folder FileSystem::GetFolder(const std::string& path) const {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  struct stat info;
  if (!Lstat(trimmed, info)) RaiseErrno(errno, trimmed, true);
  if (!S_ISDIR(info.st_mode)) throw Error(errors::kPathNotFound, trimmed);
  return Folder{trimmed, fs_detail::LastComponent(trimmed)};
}

void FileSystem::RemoveFile(const std::string& path, bool force) const {
  struct stat info;
  if (!Lstat(path, info)) RaiseErrno(errno, path, false);
  const EntryKind kind = KindOfMode(info.st_mode);
  if (kind != EntryKind::File && kind != EntryKind::Link) throw Error(errors::kFileNotFound, path);
  // Without force a read-only file stays, as on Windows; the folder's permissions alone would allow it.
  if (!force && kind == EntryKind::File && (info.st_mode & 0222) == 0) {
    throw Error(errors::kPermissionDenied, path);
  }
  if (::unlink(path.c_str()) != 0) RaiseErrno(errno, path, false);
}

void FileSystem::Replace(const std::string& source, const std::string& destination) const {
  // rename() swaps the name in one step, whatever the target's mode: readers see the old file or the new.
  if (::rename(source.c_str(), destination.c_str()) != 0) RaiseErrno(errno, source, false);
}

void FileSystem::CreateFolder(const std::string& path) const {
  if (::mkdir(path.c_str(), 0777) != 0) RaiseErrno(errno, path, true);
}

std::vector<Drive> FileSystem::Drives() const {
  std::vector<Drive> drives;
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, mountPoint, type;
    if (!(fields >> device >> mountPoint >> type)) continue;
    // Only file systems on a block device are drives; proc, tmpfs, cgroup and their kind are not.
    if (device.rfind("/dev/", 0) != 0) continue;
    std::string decoded;
    // The kernel writes space, tab, newline and backslash in mount points as octal escapes.
    for (size_t i = 0; i < mountPoint.size(); ++i) {
      if (mountPoint[i] == '\\' && i + 3 < mountPoint.size()) {
        decoded += static_cast<char>(std::strtol(mountPoint.substr(i + 1, 3).c_str(), nullptr, 8));
        i += 3;
      } else {
        decoded += mountPoint[i];
      }
    }
    struct stat info;
    if (::stat(decoded.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;
    drives.push_back(Drive{decoded, 2, type});
  }
  return drives;
}

std::string FileSystem::GetSpecialFolder(int which) const {
  if (which == 0 || which == 1) return "";
  if (which != 2) throw RuntimeError(errors::kInvalidProcedureCall, "FileSystem", "Invalid procedure call or argument");
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

char FileSystem::Separator() { return '/'; }

}  // namespace qm
