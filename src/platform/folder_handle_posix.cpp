#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>
#include <utility>

#include "platform/file_system_detail.h"
#include "platform/file_system_posix.h"
#include "platform/folder_handle.h"

namespace qm {

const std::size_t FolderHandle::kMaxOpen = 64;

namespace {

int Fd(intptr_t handle) { return static_cast<int>(handle); }

/// What a failing call was doing: the same errno means different things to each.
enum class Operation { kFolder, kFile, kOverwrite };

int32_t NumberOf(int error, Operation operation) {
  const bool folder = operation == Operation::kFolder;
  if (error == ENOTEMPTY || (error == EEXIST && folder)) return errors::kPermissionDenied;
  if (error == EISDIR) return operation == Operation::kFile ? errors::kPathFileAccess : errors::kPermissionDenied;
  // ELOOP: O_NOFOLLOW met a link.
  if (error == ELOOP || error == ENOTDIR) {
    return operation == Operation::kOverwrite ? errors::kPermissionDenied : errors::kPathNotFound;
  }
  return fs_detail::ErrorNumber(error, folder);
}

[[noreturn]] void Raise(int error, Operation operation, const std::string& path) {
  throw fs_detail::PlatformError(NumberOf(error, operation), error, path);
}

/// False for what is not the name of one entry: "..", or a name holding a "/", would reach elsewhere.
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void RequirePlainName(const std::string& name, Operation operation, const std::string& path) {
  if (!IsPlainName(name)) {
    throw fs_detail::Error(operation == Operation::kFolder ? errors::kPathNotFound : errors::kPermissionDenied, path,
                           "not a name of one entry");
  }
}

/// What one fstat of the open folder `fd` tells: its device, its inode, and whether it is a folder like /tmp,
/// world-writable with the sticky bit, whose entries may be other users'.
std::tuple<uint64_t, uint64_t, bool> FactsOf(int fd, const std::string& path) {
  struct stat info;
  if (::fstat(fd, &info) != 0) Raise(errno, Operation::kFolder, path);
  const bool shared = (info.st_mode & S_ISVTX) != 0 && (info.st_mode & S_IWOTH) != 0;
  return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), shared};
}

bool PointsToFolder(int folder, const char* name) {
  struct stat target;
  return ::fstatat(folder, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
}

/// The entry `name` of the folder `folder` as lstat described it in `info`.
FolderEntry EntryOf(int folder, std::string name, const struct stat& info, bool sharedFolder) {
  FolderEntry entry;
  entry.Kind = fs_detail::KindOfMode(info.st_mode);
  entry.Size = entry.Kind == EntryKind::File ? static_cast<uint64_t>(info.st_size) : 0;
  entry.LinkToFolder = entry.Kind == EntryKind::Link && PointsToFolder(folder, name.c_str());
  entry.Foreign = sharedFolder && info.st_uid != ::geteuid();
  entry.Id = static_cast<uint64_t>(info.st_ino);
  entry.Name = std::move(name);
  return entry;
}

/// The kind the directory itself records for an entry; nothing where it does not know.
std::optional<EntryKind> KindOfType(unsigned char type) {
  switch (type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Folder;
    case DT_LNK: return EntryKind::Link;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK: return EntryKind::Special;
    default: return std::nullopt;
  }
}

}  // namespace

void FolderHandle::Close() noexcept {
  if (handle_ != kClosed) ::close(Fd(handle_));
  handle_ = kClosed;
}

FolderHandle FolderHandle::Open(const std::string& path) {
  // A trailing "/" would make the system follow a link in the last component.
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const int fd = ::open(trimmed.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) Raise(errno, Operation::kFolder, trimmed);
  FolderHandle folder(fd, trimmed);
  std::tie(folder.device_, folder.id_, folder.shared_) = FactsOf(fd, trimmed);
  return folder;
}

std::vector<FolderEntry> FolderHandle::Read(bool withSizes) const {
  const int fd = Fd(handle_);
  // The directory stream gets a descriptor of its own: closing it must not close this folder.
  const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  DIR* dir = copy < 0 ? nullptr : ::fdopendir(copy);
  if (dir == nullptr) {
    const int error = errno;
    if (copy >= 0) ::close(copy);
    Raise(error, Operation::kFolder, path_);
  }
  struct DirCloser {
    DIR* dir;
    ~DirCloser() { ::closedir(dir); }
  } closer{dir};
  // The copy shares the read position with this folder's descriptor, which an earlier Read left at the end.
  ::rewinddir(dir);

  std::vector<FolderEntry> entries;
  while (true) {
    errno = 0;
    const dirent* item = ::readdir(dir);
    if (item == nullptr) {
      if (errno != 0) Raise(errno, Operation::kFolder, path_);
      return entries;
    }
    const char* name = item->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    const std::optional<EntryKind> kind = KindOfType(item->d_type);
    // The directory tells the kind on most file systems; lstat only for what it cannot say.
    if (!kind || shared_ || (withSizes && kind == EntryKind::File)) {
      struct stat info;
      if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        // Gone between readdir and lstat: it is no longer an entry of the folder.
        if (errno == ENOENT) continue;
        Raise(errno, Operation::kFile, PathOf(name));
      }
      entries.push_back(EntryOf(fd, name, info, shared_));
      continue;
    }
    FolderEntry& entry = entries.emplace_back();
    entry.Name = name;
    entry.Kind = *kind;
    entry.LinkToFolder = kind == EntryKind::Link && PointsToFolder(fd, name);
    entry.Id = static_cast<uint64_t>(item->d_ino);
  }
}

std::optional<FolderEntry> FolderHandle::Find(const std::string& name) const {
  if (!IsPlainName(name)) return std::nullopt;
  const int fd = Fd(handle_);
  struct stat info;
  if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return std::nullopt;
    Raise(errno, Operation::kFile, PathOf(name));
  }
  return EntryOf(fd, name, info, shared_);
}

FolderHandle FolderHandle::OpenFolder(const FolderEntry& entry) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::Folder) throw fs_detail::Error(errors::kPathNotFound, path, "not a folder");
  RequirePlainName(entry.Name, Operation::kFolder, path);
  const int fd = ::openat(Fd(handle_), entry.Name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) Raise(errno, Operation::kFolder, path);
  FolderHandle folder(fd, path);
  std::tie(folder.device_, folder.id_, folder.shared_) = FactsOf(fd, path);
  // The directory records a mount point by the number of the folder beneath it: a walk does not cross it.
  if (entry.Id != 0 && folder.id_ != entry.Id) {
    throw fs_detail::Error(errors::kPathNotFound, path, "no longer the folder that was read");
  }
  return folder;
}

void FolderHandle::RemoveFile(const FolderEntry& entry, bool force) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::File && entry.Kind != EntryKind::Link) {
    throw fs_detail::Error(errors::kPathFileAccess, path, "not a file or a link");
  }
  RequirePlainName(entry.Name, Operation::kFile, path);
  const int fd = Fd(handle_);
  // Without force a read-only file stays, as on Windows; the folder's permissions alone would allow it.
  if (!force && entry.Kind == EntryKind::File) {
    struct stat info;
    if (::fstatat(fd, entry.Name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) Raise(errno, Operation::kFile, path);
    if (S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0) throw fs_detail::Error(errors::kPermissionDenied, path);
  }
  if (::unlinkat(fd, entry.Name.c_str(), 0) != 0) Raise(errno, Operation::kFile, path);
}

void FolderHandle::RemoveFolder(const FolderEntry& entry) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::Folder && entry.Kind != EntryKind::Link) {
    throw fs_detail::Error(errors::kPathNotFound, path, "not a folder or a link");
  }
  RequirePlainName(entry.Name, Operation::kFolder, path);
  const int flags = entry.Kind == EntryKind::Folder ? AT_REMOVEDIR : 0;
  if (::unlinkat(Fd(handle_), entry.Name.c_str(), flags) != 0) Raise(errno, Operation::kFolder, path);
}

FileOverwrite FolderHandle::Overwrite(const FolderEntry& entry) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::File) throw fs_detail::Error(errors::kPermissionDenied, path, "not a regular file");
  RequirePlainName(entry.Name, Operation::kOverwrite, path);
  // O_NOFOLLOW: a link is erased by removing it, never by overwriting what it points to. O_NONBLOCK keeps a
  // FIFO put in the file's place from blocking the open; only regular files get past the check below.
  int fd;
  do {
    fd = ::openat(Fd(handle_), entry.Name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) Raise(errno, Operation::kOverwrite, path);
  FileOverwrite file(fd, path, 0);
  struct stat info;
  if (::fstat(fd, &info) != 0) Raise(errno, Operation::kOverwrite, path);
  if (!S_ISREG(info.st_mode) || (entry.Id != 0 && static_cast<uint64_t>(info.st_ino) != entry.Id)) {
    throw fs_detail::Error(errors::kPermissionDenied, path, "not the regular file that was read");
  }
  file.size_ = static_cast<uint64_t>(info.st_size);
  return file;
}

void FolderHandle::Release() { Close(); }

void FolderHandle::Reopen(const FolderHandle& child) {
  if (handle_ != kClosed) return;
  const int fd = ::openat(Fd(child.handle_), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) Raise(errno, Operation::kFolder, path_);
  FolderHandle parent(fd, path_);
  const auto [device, id, shared] = FactsOf(fd, path_);
  if (device != device_ || id != id_) {
    throw fs_detail::Error(errors::kPathNotFound, path_, "the folder was moved while it was released");
  }
  handle_ = std::exchange(parent.handle_, kClosed);
}

}  // namespace qm
