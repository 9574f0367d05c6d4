#include "platform/file_system.h"

#include <map>
#include <utility>

#include "platform/file_system_detail.h"
#include "platform/folder_handle.h"
#include "platform/text.h"

namespace qm {

namespace fs_detail {

RuntimeError Error(int32_t number, const std::string& path, const std::string& systemText) {
  std::string what;
  switch (number) {
    case errors::kFileNotFound: what = "File not found"; break;
    case errors::kPathNotFound: what = "Path not found"; break;
    case errors::kPermissionDenied: what = "Permission denied"; break;
    case errors::kFileAlreadyExists: what = "File already exists"; break;
    case errors::kBadFileMode: what = "Bad file mode"; break;
    case errors::kInputPastEndOfFile: what = "Input past end of file"; break;
    case errors::kPathFileAccess: what = "Path/File access error"; break;
    default: what = "Device I/O error"; break;
  }
  std::string description = what + ": " + path;
  if (!systemText.empty()) description += " (" + systemText + ")";
  return RuntimeError(number, "FileSystem", description);
}

RuntimeError PlatformError(int32_t number, int32_t code, const std::string& path) {
  return Error(number, path, number == errors::kDeviceIo ? SystemText(code) : "").WithLastPlatformError(code);
}

std::string LastComponent(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && (trimmed.back() == '/' || trimmed.back() == '\\')) trimmed.pop_back();
  const size_t slash = trimmed.find_last_of("/\\");
  return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

namespace {

constexpr size_t kChunk = 64 * 1024;

class BufferedTextStream final : public TextStream {
 public:
  BufferedTextStream(std::unique_ptr<RawFile> file, Access access, std::string path)
      : file_(std::move(file)), reading_(access == Access::Read), path_(std::move(path)) {}

  ~BufferedTextStream() override {
    // A stream dropped without Close still writes what it holds; errors have no one to go to here.
    try {
      if (file_) Close(false);
    } catch (const RuntimeError&) {
    }
  }

  std::string ReadLine() override {
    RequireOpen(true);
    // Where the search for the line's end goes on after a refill: a long line is scanned once, not again
    // from its start for every block that arrives.
    size_t searched = 0;
    while (true) {
      const size_t end = buffer_.find_first_of("\r\n", position_ + searched);
      if (end != std::string::npos) {
        // A CR at the end of the buffer may be the first half of CR LF: look at the next byte first.
        if (buffer_[end] == '\r' && end + 1 == buffer_.size() && !atEnd_) {
          searched = end - position_;
          Fill();
          continue;
        }
        std::string line = buffer_.substr(position_, end - position_);
        position_ = end + 1;
        if (buffer_[end] == '\r' && position_ < buffer_.size() && buffer_[position_] == '\n') ++position_;
        return line;
      }
      if (atEnd_) {
        if (position_ >= buffer_.size()) throw Error(errors::kInputPastEndOfFile, path_);
        std::string line = buffer_.substr(position_);
        position_ = buffer_.size();
        return line;
      }
      searched = buffer_.size() - position_;
      Fill();
    }
  }

  bool AtEndOfStream() override {
    RequireOpen(true);
    while (position_ >= buffer_.size() && !atEnd_) Fill();
    return position_ >= buffer_.size();
  }

  void WriteLine(const std::string& line) override {
    RequireOpen(false);
    buffer_ += line;
    buffer_ += "\r\n";
    if (buffer_.size() >= kChunk) Flush();
  }

  void WriteBlankLines(int count) override {
    RequireOpen(false);
    for (int i = 0; i < count; ++i) buffer_ += "\r\n";
    if (buffer_.size() >= kChunk) Flush();
  }

  void Close(bool syncToDisk) override {
    if (!file_) return;
    // The handle is released whatever happens, so a failed close never leaks it or retries a bad write.
    std::unique_ptr<RawFile> file = std::move(file_);
    if (!reading_) {
      const std::string pending = std::exchange(buffer_, std::string());
      if (!pending.empty()) file->Write(pending.data(), pending.size());
      if (syncToDisk) file->Sync();
    }
    file->Close();
  }

 private:
  void RequireOpen(bool forReading) {
    if (!file_ || forReading != reading_) throw Error(errors::kBadFileMode, path_);
  }

  void Fill() {
    if (position_ > 0) {
      buffer_.erase(0, position_);
      position_ = 0;
    }
    const size_t old = buffer_.size();
    buffer_.resize(old + kChunk);
    const size_t got = file_->Read(buffer_.data() + old, kChunk);
    buffer_.resize(old + got);
    if (got == 0) atEnd_ = true;
  }

  void Flush() {
    file_->Write(buffer_.data(), buffer_.size());
    buffer_.clear();
  }

  std::unique_ptr<RawFile> file_;
  bool reading_;
  std::string path_;
  std::string buffer_;
  size_t position_ = 0;
  bool atEnd_ = false;
};

}  // namespace

std::unique_ptr<TextStream> MakeTextStream(std::unique_ptr<RawFile> file, Access access, std::string path) {
  return std::make_unique<BufferedTextStream>(std::move(file), access, std::move(path));
}

}  // namespace fs_detail

using fs_detail::Access;
using fs_detail::Disposition;

std::vector<File> Folder::Files() const {
  const FolderHandle folder = FolderHandle::Open(Path);
  std::vector<File> files;
  // The shell's type lookup is slow on Windows; a folder's files share few extensions.
  std::map<std::string, std::string> typeByExtension;
  for (FolderEntry& entry : folder.Read()) {
    if (entry.Kind != EntryKind::File && entry.Kind != EntryKind::Link) continue;
    const bool folderLink = entry.Kind == EntryKind::Link && entry.LinkToFolder;
    const size_t dot = entry.Name.find_last_of('.');
    const std::string key = (folderLink ? "/" : "") +
                            (dot == std::string::npos ? std::string() : text::ToLowerAscii(entry.Name.substr(dot)));
    auto found = typeByExtension.find(key);
    if (found == typeByExtension.end()) {
      found = typeByExtension.emplace(key, fs_detail::FileTypeName(entry.Name, folderLink)).first;
    }
    std::string path = folder.PathOf(entry.Name);
    files.push_back(File{std::move(entry.Name), std::move(path), entry.Size, found->second});
  }
  return files;
}

std::vector<Folder> Folder::SubFolders() const {
  const FolderHandle folder = FolderHandle::Open(Path);
  std::vector<Folder> folders;
  for (FolderEntry& entry : folder.Read(false)) {
    if (entry.Kind == EntryKind::Folder) folders.push_back(Folder{folder.PathOf(entry.Name), std::move(entry.Name)});
  }
  return folders;
}

std::string FileSystem::ReadAllBytes(const std::string& path) const {
  std::unique_ptr<fs_detail::RawFile> file = fs_detail::OpenRawFile(path, Access::Read, Disposition::OpenExisting);
  std::string bytes;
  constexpr size_t kChunk = 64 * 1024;
  for (size_t got = 1; got > 0;) {
    const size_t old = bytes.size();
    bytes.resize(old + kChunk);
    got = file->Read(bytes.data() + old, kChunk);
    bytes.resize(old + got);
  }
  file->Close();
  return bytes;
}

std::unique_ptr<TextStream> FileSystem::CreateTextFile(const std::string& path, bool overwrite) const {
  auto file =
      fs_detail::OpenRawFile(path, Access::Write, overwrite ? Disposition::CreateAlways : Disposition::CreateNew);
  return fs_detail::MakeTextStream(std::move(file), Access::Write, path);
}

std::unique_ptr<TextStream> FileSystem::OpenTextFile(const std::string& path, IoMode mode, bool create) const {
  Access access = Access::Read;
  Disposition disposition = create ? Disposition::OpenAlways : Disposition::OpenExisting;
  switch (mode) {
    case IoMode::ForReading: access = Access::Read; break;
    case IoMode::ForWriting: access = Access::Write; break;
    case IoMode::ForAppending: access = Access::Append; break;
  }
  return fs_detail::MakeTextStream(fs_detail::OpenRawFile(path, access, disposition), access, path);
}

std::string FileSystem::Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == '/' || last == '\\') return folder + name;
  return folder + Separator() + name;
}

bool IsPermissionDenied(const RuntimeError& error) {
  return error.Number() == errors::kPermissionDenied && error.Source() == "FileSystem";
}

}  // namespace qm
