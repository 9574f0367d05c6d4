#include "platform/file_overwrite.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>

#include "platform/file_system_detail.h"

namespace qm {

namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

RuntimeError LastError(const std::string& what, const std::string& path, DWORD code = ::GetLastError()) {
  return fs_detail::OverwriteError(static_cast<int32_t>(code), what, path);
}

}  // namespace

FileOverwrite::~FileOverwrite() {
  if (open_) ::CloseHandle(AsHandle(handle_));
}

std::vector<ByteRange> FileOverwrite::DataRanges() const {
  FILE_BASIC_INFO basic{};
  if (!::GetFileInformationByHandleEx(AsHandle(handle_), FileBasicInfo, &basic, sizeof basic)) {
    throw LastError("read the attributes of", path_);
  }
  if (!(basic.FileAttributes & FILE_ATTRIBUTE_SPARSE_FILE)) {
    return size_ == 0 ? std::vector<ByteRange>{} : std::vector<ByteRange>{{0, size_}};
  }
  std::vector<ByteRange> ranges;
  FILE_ALLOCATED_RANGE_BUFFER query{};
  query.Length.QuadPart = static_cast<LONGLONG>(size_);
  FILE_ALLOCATED_RANGE_BUFFER found[64];
  while (query.Length.QuadPart > 0) {
    DWORD bytes = 0;
    const bool complete = ::DeviceIoControl(AsHandle(handle_), FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query,
                                            found, sizeof found, &bytes, nullptr);
    // ERROR_MORE_DATA: the buffer is full; the query goes on after the last range it holds.
    if (!complete && ::GetLastError() != ERROR_MORE_DATA) throw LastError("read the allocated ranges of", path_);
    const DWORD count = bytes / sizeof found[0];
    for (DWORD i = 0; i < count; ++i) {
      const auto offset = static_cast<uint64_t>(found[i].FileOffset.QuadPart);
      const uint64_t end = std::min(offset + static_cast<uint64_t>(found[i].Length.QuadPart), size_);
      if (offset < end) ranges.push_back(ByteRange{offset, end - offset});
    }
    if (complete || count == 0) break;
    const uint64_t next = ranges.empty() ? size_ : ranges.back().Offset + ranges.back().Length;
    query.FileOffset.QuadPart = static_cast<LONGLONG>(next);
    query.Length.QuadPart = static_cast<LONGLONG>(size_ - next);
  }
  return ranges;
}

void FileOverwrite::Seek(uint64_t offset) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!::SetFilePointerEx(AsHandle(handle_), position, nullptr, FILE_BEGIN)) throw LastError("move in", path_);
}

void FileOverwrite::Write(const void* data, std::size_t count) {
  const char* next = static_cast<const char*>(data);
  while (count > 0) {
    // WriteFile takes a 32-bit count: larger writes go in pieces.
    DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(AsHandle(handle_), next, piece, &written, nullptr)) throw LastError("write", path_);
    if (written == 0) throw LastError("write", path_, ERROR_WRITE_FAULT);
    next += written;
    count -= written;
  }
}

void FileOverwrite::Flush() {
  if (!::FlushFileBuffers(AsHandle(handle_))) throw LastError("flush", path_);
}

void FileOverwrite::Close() {
  if (!open_) return;
  open_ = false;
  if (!::CloseHandle(AsHandle(handle_))) throw LastError("close", path_);
}

}  // namespace qm
