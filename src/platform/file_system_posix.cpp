#include <dirent.h>
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

std::string NativePath(const std::string& path) { return FileSystem::NativePath(path); }

std::string ParentOf(const std::string& native) {
  const size_t slash = native.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native.substr(0, slash);
}

/// Maps errno to the service's numbers, keeping errno as the platform code. A missing entry is "path not
/// found" for folder operations and when the parent folder is missing too, as Windows reports it.
[[noreturn]] void RaiseErrno(int error, const std::string& native, bool folderOperation) {
  int32_t number = errors::kDeviceIo;
  switch (error) {
    case ENOENT: {
      struct stat parent;
      const bool parentExists = ::stat(ParentOf(native).c_str(), &parent) == 0 && S_ISDIR(parent.st_mode);
      number = folderOperation || !parentExists ? errors::kPathNotFound : errors::kFileNotFound;
      break;
    }
    case ENOTDIR: number = errors::kPathNotFound; break;
    case EACCES:
    case EPERM:
    case ETXTBSY: number = errors::kPermissionDenied; break;
    case EEXIST: number = errors::kFileAlreadyExists; break;
    default: break;
  }
  throw Error(number, native, number == errors::kDeviceIo ? std::strerror(error) : "").WithLastPlatformError(error);
}

bool Lstat(const std::string& native, struct stat& info) { return ::lstat(native.c_str(), &info) == 0; }

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Link;
  return EntryKind::Special;
}

bool PointsToFolder(const std::string& native) {
  struct stat target;
  return ::stat(native.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
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

bool Exists(const std::string& path) {
  struct stat info;
  return Lstat(NativePath(path), info);
}

std::unique_ptr<RawFile> OpenRawFile(const std::string& path, Access access, Disposition disposition) {
  const std::string native = NativePath(path);
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
    fd = ::open(native.c_str(), flags | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) RaiseErrno(errno, native, false);
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw Error(errors::kPathFileAccess, native, "not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return std::make_unique<PosixFile>(fd, native);
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
  return Lstat(NativePath(path), info) && S_ISDIR(info.st_mode);
}

bool FileSystem::FileExists(const std::string& path) const {
  const std::string native = NativePath(path);
  struct stat info;
  if (!Lstat(native, info)) return false;
  return S_ISREG(info.st_mode) || (S_ISLNK(info.st_mode) && !PointsToFolder(native));
}

Folder FileSystem::GetFolder(const std::string& path) const {
  std::string native = NativePath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  struct stat info;
  if (!Lstat(native, info)) RaiseErrno(errno, native, true);
  if (!S_ISDIR(info.st_mode)) throw Error(errors::kPathNotFound, native);
  return Folder{native, fs_detail::LastComponent(native)};
}

File FileSystem::GetFile(const std::string& path) const {
  const std::string native = NativePath(path);
  struct stat info;
  if (!Lstat(native, info)) RaiseErrno(errno, native, false);
  const EntryKind kind = KindOfMode(info.st_mode);
  if (kind != EntryKind::File && kind != EntryKind::Link) throw Error(errors::kFileNotFound, native);
  const std::string name = fs_detail::LastComponent(native);
  const bool folderLink = kind == EntryKind::Link && PointsToFolder(native);
  const uint64_t size = kind == EntryKind::File ? static_cast<uint64_t>(info.st_size) : 0;
  return File{name, native, size, fs_detail::FileTypeName(name, folderLink)};
}

void FileSystem::ForEachEntry(const std::string& folder, const std::function<void(const FolderEntry&)>& visit,
                              bool withSizes) const {
  const std::string native = NativePath(folder);
  // O_NOFOLLOW: a folder path that is itself a link is not walked through.
  const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno == ELOOP ? ENOTDIR : errno, native, true);
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    const int error = errno;
    ::close(fd);
    RaiseErrno(error, native, true);
  }
  struct DirCloser {
    DIR* dir;
    ~DirCloser() { ::closedir(dir); }
  } closer{dir};

  const std::string prefix = native.back() == '/' ? native : native + '/';
  FolderEntry entry;
  while (true) {
    errno = 0;
    const dirent* item = ::readdir(dir);
    if (item == nullptr) {
      if (errno != 0) RaiseErrno(errno, native, true);
      break;
    }
    const char* name = item->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    entry.Name = name;
    entry.Path = prefix + entry.Name;
    entry.Size = 0;
    entry.LinkToFolder = false;
    bool known = true;
    switch (item->d_type) {
      case DT_REG: entry.Kind = EntryKind::File; break;
      case DT_DIR: entry.Kind = EntryKind::Folder; break;
      case DT_LNK: entry.Kind = EntryKind::Link; break;
      case DT_FIFO:
      case DT_SOCK:
      case DT_CHR:
      case DT_BLK: entry.Kind = EntryKind::Special; break;
      default: known = false; break;
    }
    // The type is known from the directory itself on most file systems; lstat only for what it cannot say.
    if (!known || (withSizes && entry.Kind == EntryKind::File)) {
      struct stat info;
      if (::fstatat(::dirfd(dir), name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        // Vanished between readdir and lstat: it is no longer an entry of the folder.
        if (errno == ENOENT) continue;
        RaiseErrno(errno, entry.Path, false);
      }
      entry.Kind = KindOfMode(info.st_mode);
      if (entry.Kind == EntryKind::File) entry.Size = static_cast<uint64_t>(info.st_size);
    }
    if (entry.Kind == EntryKind::Link) entry.LinkToFolder = PointsToFolder(entry.Path);
    visit(entry);
  }
}

EntryKind FileSystem::KindOf(const std::string& path) const {
  const std::string native = NativePath(path);
  struct stat info;
  if (!Lstat(native, info)) RaiseErrno(errno, native, false);
  return KindOfMode(info.st_mode);
}

void FileSystem::DeleteFile(const std::string& path, bool force) const {
  const std::string native = NativePath(path);
  struct stat info;
  if (!Lstat(native, info)) RaiseErrno(errno, native, false);
  const EntryKind kind = KindOfMode(info.st_mode);
  if (kind != EntryKind::File && kind != EntryKind::Link) throw Error(errors::kFileNotFound, native);
  // Without force a read-only file stays, as on Windows; the folder's permissions alone would allow it.
  if (!force && kind == EntryKind::File && (info.st_mode & 0222) == 0) {
    throw Error(errors::kPermissionDenied, native);
  }
  if (::unlink(native.c_str()) != 0) RaiseErrno(errno, native, false);
}

void FileSystem::RemoveEmptyFolder(const std::string& path, bool /*force*/) const {
  // A folder's own mode does not stop its removal on Linux: only the parent's does.
  const std::string native = NativePath(path);
  struct stat info;
  if (!Lstat(native, info)) RaiseErrno(errno, native, true);
  if (S_ISLNK(info.st_mode) && PointsToFolder(native)) {
    if (::unlink(native.c_str()) != 0) RaiseErrno(errno, native, true);
    return;
  }
  if (!S_ISDIR(info.st_mode)) throw Error(errors::kPathNotFound, native);
  if (::rmdir(native.c_str()) != 0) RaiseErrno(errno, native, true);
}

void FileSystem::MoveFile(const std::string& source, const std::string& destination) const {
  const std::string from = NativePath(source);
  const std::string to = NativePath(destination);
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
  if (errno != EINVAL && errno != ENOSYS) RaiseErrno(errno, errno == EEXIST ? to : from, false);
  // The file system cannot refuse to replace by itself: check first, which leaves a short race.
  struct stat info;
  if (Lstat(to, info)) throw Error(errors::kFileAlreadyExists, to);
  if (::rename(from.c_str(), to.c_str()) != 0) RaiseErrno(errno, from, false);
}

void FileSystem::ReplaceFile(const std::string& source, const std::string& destination) const {
  const std::string from = NativePath(source);
  const std::string to = NativePath(destination);
  // rename() swaps the name in one step, whatever the target's mode: readers see the old file or the new.
  if (::rename(from.c_str(), to.c_str()) != 0) RaiseErrno(errno, from, false);
}

void FileSystem::CreateFolder(const std::string& path) const {
  const std::string native = NativePath(path);
  if (::mkdir(native.c_str(), 0777) != 0) RaiseErrno(errno, native, true);
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

std::string FileSystem::NativePath(const std::string& path) {
  // Catalogue paths are written with backslashes: on Linux they are separators too.
  std::string native = path;
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

}  // namespace qm
