#include <windows.h>
#include <winternl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/file_system_detail.h"
#include "platform/file_system_win32.h"
#include "platform/folder_handle.h"
#include "platform/text_win32.h"

// Declared by the driver kit's headers only.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apcRoutine, PVOID apcContext,
                                               PIO_STATUS_BLOCK ioStatus, PVOID information, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

namespace qm {

const std::size_t FolderHandle::kMaxOpen = SIZE_MAX;

namespace {

constexpr NTSTATUS kFileIsADirectory = static_cast<NTSTATUS>(0xC00000BA);
constexpr NTSTATUS kNoSuchFile = static_cast<NTSTATUS>(0xC000000F);
constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

/// What a failing call was doing: the same error means different things to each.
enum class Operation { kFolder, kFile, kOverwrite };

[[noreturn]] void Raise(DWORD code, Operation operation, const std::string& path) {
  const int32_t number = code == ERROR_DIR_NOT_EMPTY
                             ? errors::kPermissionDenied
                             : fs_detail::ErrorNumber(static_cast<int32_t>(code), operation == Operation::kFolder);
  throw fs_detail::PlatformError(number, static_cast<int32_t>(code), path);
}

[[noreturn]] void RaiseStatus(NTSTATUS status, Operation operation, const std::string& path) {
  const DWORD code = ::RtlNtStatusToDosError(status);
  // The Win32 code of a folder met where a file was expected is a mere "access denied".
  if (status == kFileIsADirectory) {
    const int32_t number = operation == Operation::kFile ? errors::kPathFileAccess : errors::kPermissionDenied;
    throw fs_detail::Error(number, path, "a folder").WithLastPlatformError(static_cast<int32_t>(code));
  }
  Raise(code, operation, path);
}

/// False for what is not the name of one entry: a separator would make a path of it, ".." would climb, a
/// colon would name a stream of a file, the wildcards match other names, and no name is longer than 255
/// UTF-16 units (765 UTF-8 bytes).
bool IsPlainName(const std::string& name) {
  return !name.empty() && name.size() <= 765 && name != "." && name != ".." &&
         name.find_first_of("\\/:*?<>\"") == std::string::npos;
}

UNICODE_STRING Counted(const std::wstring& text) {
  const auto bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  return UNICODE_STRING{bytes, bytes, const_cast<PWSTR>(text.c_str())};
}

/// Opens `name` relative to the folder `folder`, never through a path and, where the system can, never
/// through a link (FILE_OPEN_REPARSE_POINT); `options` add the kind wanted.
NTSTATUS OpenRelative(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options, HANDLE& opened) {
  UNICODE_STRING text = Counted(name);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, 0, folder, nullptr);
  IO_STATUS_BLOCK io{};
  return ::NtCreateFile(&opened, access | SYNCHRONIZE, &attributes, &io, nullptr, 0,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                        options | FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT,
                        nullptr, 0);
}

/// Opens the entry `entry` of `folder` for `access`, or raises.
OwnedHandle OpenEntry(HANDLE folder, const FolderEntry& entry, ACCESS_MASK access, ULONG options, Operation operation,
                      const std::string& path) {
  if (!IsPlainName(entry.Name)) {
    throw fs_detail::Error(operation == Operation::kFolder ? errors::kPathNotFound : errors::kPermissionDenied, path,
                           "not a name this system can open");
  }
  HANDLE opened = nullptr;
  const NTSTATUS status = OpenRelative(folder, text::Widen(entry.Name), access, options, opened);
  if (!NT_SUCCESS(status)) RaiseStatus(status, operation, path);
  return OwnedHandle(opened);
}

/// What a handle reached: its attributes and its identity on its volume. (GetFileInformationByHandle would
/// ask for the volume's serial number too, which Wine cannot give past a path of 4,096 bytes.)
struct Reached {
  DWORD Attributes = 0;
  uint64_t Id = 0;
};

Reached Describe(HANDLE opened, Operation operation, const std::string& path) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!::GetFileInformationByHandleEx(opened, FileAttributeTagInfo, &tag, sizeof tag)) {
    Raise(::GetLastError(), operation, path);
  }
  IO_STATUS_BLOCK io{};
  FILE_INTERNAL_INFORMATION internal{};
  const NTSTATUS status = ::NtQueryInformationFile(opened, &io, &internal, sizeof internal, FileInternalInformation);
  if (!NT_SUCCESS(status)) RaiseStatus(status, operation, path);
  return {tag.FileAttributes, static_cast<uint64_t>(internal.IndexNumber.QuadPart)};
}

/// What a relative open of `entry` reached, checked to be the entry itself: a link entry must open as the
/// link (Wine opens a link's target even when asked for the link), anything else must not be a link and must
/// have the entry's identity, so an entry swapped for a link or another entry since it was read is refused.
/// A file must be a file on the disk: Wine shows a FIFO as a plain file, and it opens as a pipe.
Reached CheckOpened(HANDLE opened, const FolderEntry& entry, Operation operation, const std::string& path) {
  const Reached reached = Describe(opened, operation, path);
  const bool link = (reached.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (entry.Kind == EntryKind::Link && !link) {
    throw fs_detail::Error(errors::kPermissionDenied, path, "the link opens as its target, which is left alone");
  }
  if ((entry.Kind != EntryKind::Link && link) || (entry.Id != 0 && reached.Id != entry.Id)) {
    throw fs_detail::Error(operation == Operation::kFolder ? errors::kPathNotFound : errors::kPermissionDenied, path,
                           "no longer the entry that was read");
  }
  if (entry.Kind == EntryKind::File && ::GetFileType(opened) != FILE_TYPE_DISK) {
    throw fs_detail::Error(operation == Operation::kFile ? errors::kPathFileAccess : errors::kPermissionDenied, path,
                           "not a regular file");
  }
  return reached;
}

/// Opens `entry` of `folder` for deleting, checks it is still what was read and deletes it when its handle
/// closes; a read-only mark, which Windows would not delete, is cleared first when `force`.
void RemoveEntry(HANDLE folder, const FolderEntry& entry, ULONG options, bool force, Operation operation,
                 const std::string& path) {
  const OwnedHandle opened =
      OpenEntry(folder, entry, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, options, operation, path);
  const DWORD attributes = CheckOpened(opened.get(), entry, operation, path).Attributes;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    if (!force) throw fs_detail::Error(errors::kPermissionDenied, path);
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = fs_detail::WithoutReadOnly(attributes);
    if (!::SetFileInformationByHandle(opened.get(), FileBasicInfo, &basic, sizeof basic)) {
      Raise(::GetLastError(), operation, path);
    }
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!::SetFileInformationByHandle(opened.get(), FileDispositionInfo, &disposition, sizeof disposition)) {
    Raise(::GetLastError(), operation, path);
  }
}

FolderEntry EntryOf(const FILE_ID_BOTH_DIR_INFO& record) {
  FolderEntry entry;
  entry.Name = text::Narrow(std::wstring_view(record.FileName, record.FileNameLength / sizeof(wchar_t)));
  entry.Kind = fs_detail::KindOfAttributes(record.FileAttributes);
  entry.LinkToFolder = entry.Kind == EntryKind::Link && (record.FileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  entry.Size = entry.Kind == EntryKind::File ? static_cast<uint64_t>(record.EndOfFile.QuadPart) : 0;
  entry.Id = static_cast<uint64_t>(record.FileId.QuadPart);
  return entry;
}

bool IsDotOrDotDot(const FILE_ID_BOTH_DIR_INFO& record) {
  const std::wstring_view name(record.FileName, record.FileNameLength / sizeof(wchar_t));
  return name == L"." || name == L"..";
}

[[noreturn]] void RaiseNotSupported(const std::string& path) {
  throw RuntimeError(errors::kInvalidProcedureCall, "FileSystem",
                     "Windows keeps any number of folders open; none is released: " + path);
}

}  // namespace

void FolderHandle::Close() noexcept {
  if (handle_ != kClosed) ::CloseHandle(AsHandle(handle_));
  handle_ = kClosed;
}

FolderHandle FolderHandle::Open(const std::string& path) {
  // A drive's root keeps its separator: "C:" alone is the current folder of drive C.
  std::string trimmed = path;
  while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/') &&
         trimmed[trimmed.size() - 2] != ':') {
    trimmed.pop_back();
  }
  const std::wstring wide = fs_detail::WidePath(trimmed);
  HANDLE opened = ::CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) Raise(::GetLastError(), Operation::kFolder, trimmed);
  FolderHandle folder(reinterpret_cast<intptr_t>(opened), trimmed);
  const Reached reached = Describe(opened, Operation::kFolder, trimmed);
  // Wine opens a link's target even when asked for the link itself; the path's own attributes still tell.
  const DWORD pathAttributes = ::GetFileAttributesW(wide.c_str());
  const DWORD attributes = reached.Attributes | (pathAttributes == INVALID_FILE_ATTRIBUTES ? 0 : pathAttributes);
  if (fs_detail::KindOfAttributes(attributes) != EntryKind::Folder) {
    throw fs_detail::Error(errors::kPathNotFound, trimmed, "not a folder");
  }
  folder.id_ = reached.Id;
  return folder;
}

std::vector<FolderEntry> FolderHandle::Read(bool /*withSizes*/) const {
  std::vector<FolderEntry> entries;
  // Records are aligned on 8 bytes.
  std::vector<int64_t> buffer(8 * 1024);
  const auto bytes = static_cast<DWORD>(buffer.size() * sizeof buffer[0]);
  FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
  while (::GetFileInformationByHandleEx(AsHandle(handle_), request, buffer.data(), bytes)) {
    request = FileIdBothDirectoryInfo;
    const auto* first = reinterpret_cast<const char*>(buffer.data());
    for (DWORD offset = 0, next = 1; next != 0; offset += next) {
      const auto& record = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(first + offset);
      next = record.NextEntryOffset;
      if (!IsDotOrDotDot(record)) entries.push_back(EntryOf(record));
    }
  }
  // An empty drive root has no "." or "..": it answers "file not found".
  const DWORD code = ::GetLastError();
  if (code != ERROR_NO_MORE_FILES && code != ERROR_FILE_NOT_FOUND) Raise(code, Operation::kFolder, path_);
  return entries;
}

std::optional<FolderEntry> FolderHandle::Find(const std::string& name) const {
  if (!IsPlainName(name)) return std::nullopt;
  // A folder handle keeps the name pattern of its first query for good: the search gets a handle of its own.
  HANDLE scan = nullptr;
  NTSTATUS status = OpenRelative(AsHandle(handle_), L"", FILE_LIST_DIRECTORY, FILE_DIRECTORY_FILE, scan);
  if (!NT_SUCCESS(status)) RaiseStatus(status, Operation::kFolder, path_);
  const OwnedHandle closer(scan);
  // One record with the longest name there is.
  std::array<int64_t, 160> buffer;
  const std::wstring wide = text::Widen(name);
  UNICODE_STRING pattern = Counted(wide);
  IO_STATUS_BLOCK io{};
  status = ::NtQueryDirectoryFile(scan, nullptr, nullptr, nullptr, &io, buffer.data(), sizeof buffer,
                                  FileIdBothDirectoryInformation, TRUE, &pattern, TRUE);
  if (status == kNoSuchFile || status == kNoMoreFiles) return std::nullopt;
  if (!NT_SUCCESS(status)) RaiseStatus(status, Operation::kFile, PathOf(name));
  return EntryOf(*reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data()));
}

FolderHandle FolderHandle::OpenFolder(const FolderEntry& entry) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::Folder) throw fs_detail::Error(errors::kPathNotFound, path, "not a folder");
  OwnedHandle opened = OpenEntry(AsHandle(handle_), entry, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                 FILE_DIRECTORY_FILE, Operation::kFolder, path);
  const Reached reached = CheckOpened(opened.get(), entry, Operation::kFolder, path);
  FolderHandle folder(reinterpret_cast<intptr_t>(opened.release()), path);
  folder.id_ = reached.Id;
  return folder;
}

void FolderHandle::RemoveFile(const FolderEntry& entry, bool force) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::File && entry.Kind != EntryKind::Link) {
    throw fs_detail::Error(errors::kPathFileAccess, path, "not a file or a link");
  }
  const ULONG options = entry.Kind == EntryKind::File ? FILE_NON_DIRECTORY_FILE : 0;
  RemoveEntry(AsHandle(handle_), entry, options, force, Operation::kFile, path);
}

void FolderHandle::RemoveFolder(const FolderEntry& entry) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::Folder && entry.Kind != EntryKind::Link) {
    throw fs_detail::Error(errors::kPathNotFound, path, "not a folder or a link");
  }
  const ULONG options = entry.Kind == EntryKind::Folder ? FILE_DIRECTORY_FILE : 0;
  RemoveEntry(AsHandle(handle_), entry, options, true, Operation::kFolder, path);
}

FileOverwrite FolderHandle::Overwrite(const FolderEntry& entry) const {
  const std::string path = PathOf(entry.Name);
  if (entry.Kind != EntryKind::File) throw fs_detail::Error(errors::kPermissionDenied, path, "not a regular file");
  // Reading too: the allocated ranges of a sparse file are a read request.
  OwnedHandle opened = OpenEntry(AsHandle(handle_), entry, FILE_READ_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES,
                                 FILE_NON_DIRECTORY_FILE, Operation::kOverwrite, path);
  CheckOpened(opened.get(), entry, Operation::kOverwrite, path);
  FILE_STANDARD_INFO standard{};
  if (!::GetFileInformationByHandleEx(opened.get(), FileStandardInfo, &standard, sizeof standard)) {
    Raise(::GetLastError(), Operation::kOverwrite, path);
  }
  return FileOverwrite(reinterpret_cast<intptr_t>(opened.release()), path,
                       static_cast<uint64_t>(standard.EndOfFile.QuadPart));
}

void FolderHandle::Release() { RaiseNotSupported(path_); }

void FolderHandle::Reopen(const FolderHandle& /*child*/) { RaiseNotSupported(path_); }

}  // namespace qm
