#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <iterator>

#include "platform/file_system.h"
#include "platform/file_system_detail.h"
#include "platform/file_system_win32.h"
#include "platform/text.h"
#include "platform/text_win32.h"

namespace qm {

namespace {

using fs_detail::Error;
using fs_detail::KindOfAttributes;
using fs_detail::WidePath;
using fs_detail::WithoutReadOnly;

/// Raises the service's error for the Win32 error `code` at `path`.
[[noreturn]] void RaiseError(DWORD code, const std::string& path, bool folderOperation) {
  const auto platformCode = static_cast<int32_t>(code);
  throw fs_detail::PlatformError(fs_detail::ErrorNumber(platformCode, folderOperation), platformCode, path);
}

[[noreturn]] void RaiseLastError(const std::string& path, bool folderOperation) {
  RaiseError(GetLastError(), path, folderOperation);
}

/// Removes a link itself. The handle is opened on the link, not its target, and checked to be one: where
/// the system cannot open the link as a link (Wine opens the target), nothing is deleted.
void RemoveLink(const std::string& path, bool force) {
  HANDLE handle = CreateFileW(WidePath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) RaiseLastError(path, false);
  struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() { CloseHandle(handle); }
  } closer{handle};

  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) RaiseLastError(path, false);
  if (!(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    throw Error(errors::kPermissionDenied, path, "the link cannot be opened as a link; its target is left alone");
  }
  if (tag.FileAttributes & FILE_ATTRIBUTE_READONLY) {
    if (!force) throw Error(errors::kPermissionDenied, path);
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = WithoutReadOnly(tag.FileAttributes);
    if (!SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic)) RaiseLastError(path, false);
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition)) {
    RaiseLastError(path, false);
  }
}

class Win32File final : public fs_detail::RawFile {
 public:
  Win32File(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  ~Win32File() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  size_t Read(char* data, size_t size) override {
    DWORD got = 0;
    const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(handle_, data, want, &got, nullptr)) RaiseLastError(path_, false);
    return got;
  }

  void Write(const char* data, size_t size) override {
    while (size > 0) {
      DWORD put = 0;
      const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      if (!WriteFile(handle_, data, want, &put, nullptr)) RaiseLastError(path_, false);
      data += put;
      size -= put;
    }
  }

  void Sync() override {
    if (!FlushFileBuffers(handle_)) RaiseLastError(path_, false);
  }

  void Close() override {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) RaiseLastError(path_, false);
  }

 private:
  HANDLE handle_;
  std::string path_;
};

}  // namespace

namespace fs_detail {

std::wstring WidePath(const std::string& path) {
  constexpr size_t kShortLimit = 248;
  std::wstring wide = text::Widen(path);
  if (wide.size() < kShortLimit || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

EntryKind KindOfAttributes(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::Link;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::Folder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::Special;
  return EntryKind::File;
}

DWORD WithoutReadOnly(DWORD attributes) {
  const DWORD cleared = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return cleared == 0 ? FILE_ATTRIBUTE_NORMAL : cleared;
}

int32_t ErrorNumber(int32_t code, bool folderOperation) {
  switch (static_cast<DWORD>(code)) {
    case ERROR_FILE_NOT_FOUND: return folderOperation ? errors::kPathNotFound : errors::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME: return errors::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return errors::kPermissionDenied;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return errors::kFileAlreadyExists;
    default: return errors::kDeviceIo;
  }
}

std::string SystemText(int32_t code) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text = length > 0 ? text::Narrow(std::wstring_view(message, length)) : "error " + std::to_string(code);
  LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

bool Exists(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::unique_ptr<RawFile> OpenRawFile(const std::string& path, Access access, Disposition disposition) {
  DWORD desired = GENERIC_WRITE;
  DWORD share = FILE_SHARE_READ;
  DWORD creation = OPEN_EXISTING;
  switch (disposition) {
    case Disposition::OpenExisting: creation = OPEN_EXISTING; break;
    case Disposition::OpenAlways: creation = OPEN_ALWAYS; break;
    case Disposition::CreateNew: creation = CREATE_NEW; break;
    case Disposition::CreateAlways: creation = CREATE_ALWAYS; break;
  }
  if (access == Access::Read) {
    desired = GENERIC_READ;
    share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  } else if (access == Access::Write) {
    // Writing starts from an empty file whether or not it existed.
    if (creation == OPEN_EXISTING) creation = TRUNCATE_EXISTING;
    if (creation == OPEN_ALWAYS) creation = CREATE_ALWAYS;
  }
  HANDLE handle = CreateFileW(WidePath(path).c_str(), desired, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) RaiseLastError(path, false);
  auto file = std::make_unique<Win32File>(handle, path);
  if (GetFileType(handle) != FILE_TYPE_DISK) throw Error(errors::kPathFileAccess, path, "not a regular file");
  if (access == Access::Append) {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(handle, zero, nullptr, FILE_END)) RaiseLastError(path, false);
  }
  return file;
}

std::string FileTypeName(const std::string& name, bool folder) {
  SHFILEINFOW info{};
  const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  if (!SHGetFileInfoW(text::Widen(name).c_str(), attributes, &info, sizeof info,
                      SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES)) {
    return "";
  }
  return text::Narrow(info.szTypeName);
}

}  // namespace fs_detail

bool FileSystem::FolderExists(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && KindOfAttributes(attributes) == EntryKind::Folder;
}

bool FileSystem::FileExists(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_DEVICE);
}

uint64_t FileSystem::FileSize(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return 0;
  }
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Folder FileSystem::GetFolder(const std::string& path) const {
  std::string trimmed = path;
  while (trimmed.size() > 3 && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  if (!FolderExists(trimmed)) {
    if (GetFileAttributesW(WidePath(trimmed).c_str()) == INVALID_FILE_ATTRIBUTES) RaiseLastError(trimmed, true);
    throw Error(errors::kPathNotFound, trimmed);
  }
  return Folder{trimmed, fs_detail::LastComponent(trimmed)};
}

void FileSystem::RemoveFile(const std::string& path, bool force) const {
  const std::wstring wide = WidePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) RaiseLastError(path, false);
  const EntryKind kind = KindOfAttributes(attributes);
  if (kind == EntryKind::Link) return RemoveLink(path, force);
  if (kind != EntryKind::File) throw Error(errors::kFileNotFound, path);
  if (force && (attributes & FILE_ATTRIBUTE_READONLY) && !SetFileAttributesW(wide.c_str(), WithoutReadOnly(attributes))) {
    RaiseLastError(path, false);
  }
  if (!::DeleteFileW(wide.c_str())) RaiseLastError(path, false);
}

void FileSystem::Replace(const std::string& source, const std::string& destination) const {
  const std::wstring target = WidePath(destination);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if (readOnly && !SetFileAttributesW(target.c_str(), WithoutReadOnly(attributes))) RaiseLastError(destination, false);
  if (MoveFileExW(WidePath(source).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
  const DWORD code = GetLastError();
  // The old file stays in place: give it its read-only mark back.
  if (readOnly) SetFileAttributesW(target.c_str(), attributes);
  RaiseError(code, source, false);
}

void FileSystem::CreateFolder(const std::string& path) const {
  if (!CreateDirectoryW(WidePath(path).c_str(), nullptr)) RaiseLastError(path, true);
}

std::vector<Drive> FileSystem::Drives() const {
  std::vector<Drive> drives;
  wchar_t names[512];
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(names)), names);
  if (length == 0 || length > std::size(names)) return drives;
  for (const wchar_t* root = names; *root != L'\0'; root += wcslen(root) + 1) {
    Drive drive;
    drive.Path = text::Narrow(root);
    while (!drive.Path.empty() && drive.Path.back() == '\\') drive.Path.pop_back();
    switch (GetDriveTypeW(root)) {
      case DRIVE_REMOVABLE: drive.DriveType = 1; break;
      case DRIVE_FIXED: drive.DriveType = 2; break;
      case DRIVE_REMOTE: drive.DriveType = 3; break;
      case DRIVE_CDROM: drive.DriveType = 4; break;
      case DRIVE_RAMDISK: drive.DriveType = 5; break;
      default: drive.DriveType = 0; break;
    }
    wchar_t fileSystem[MAX_PATH + 1] = L"";
    // An empty card reader or CD drive has no volume: its file system stays "".
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    if (GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1)) {
      drive.FileSystem = text::Narrow(fileSystem);
    }
    SetErrorMode(oldMode);
    drives.push_back(drive);
  }
  return drives;
}

std::string FileSystem::GetSpecialFolder(int which) const {
  wchar_t buffer[MAX_PATH + 1];
  UINT length = 0;
  switch (which) {
    case 0: length = GetWindowsDirectoryW(buffer, MAX_PATH + 1); break;
    case 1: length = GetSystemDirectoryW(buffer, MAX_PATH + 1); break;
    case 2: length = GetTempPathW(MAX_PATH + 1, buffer); break;
    default: throw RuntimeError(errors::kInvalidProcedureCall, "FileSystem", "Invalid procedure call or argument");
  }
  if (length == 0 || length > MAX_PATH) return "";
  std::string folder = text::Narrow(std::wstring_view(buffer, length));
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

char FileSystem::Separator() { return '\\'; }

}  // namespace qm
