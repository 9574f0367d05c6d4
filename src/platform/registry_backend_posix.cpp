#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/registry_backend.h"
#include "platform/registry_store.h"
#include "platform/registry_store_format.h"

namespace qm::reg {

namespace {

using NodePtr = RegistryStore::NodePtr;

std::string DefaultStoreFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config && *config) {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home ? home : "") + "/.config";
  }
  return folder + "/quillmere/registry.reg";
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

/// Replaces `file` by `bytes` in one step: a crash leaves either the old or the new file, never a torn one.
bool ReplaceFileAtomically(const std::string& file, const std::string& bytes) {
  std::filesystem::path target(file);
  std::error_code ec;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  std::string temp = file + ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself lives in the folder: flush it too.
  std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

/// Windows refuses a key path that starts with a backslash.
bool BadPath(const std::string& path) { return !path.empty() && path.front() == '\\'; }

bool IsRoot(KeyHandle key) { return key >= 0x80000000u && key <= 0x80000006u; }

uint32_t Length(const std::string& s) { return static_cast<uint32_t>(s.size()); }

[[noreturn]] void Refuse(const std::string& file, const std::string& reason) {
  throw RuntimeError(kInvalidParameter, "Registry", "the registry store " + file + " " + reason);
}

/// What a store file was when it was read, so a later look can tell whether another process rewrote it.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  struct timespec modified {};

  static FileStamp Of(const std::string& file) {
    FileStamp stamp;
    struct stat info;
    if (::stat(file.c_str(), &info) == 0) {
      stamp.device = info.st_dev;
      stamp.inode = info.st_ino;
      stamp.size = info.st_size;
      stamp.modified = info.st_mtim;
    }
    return stamp;
  }
  bool operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

/// The registry of a Linux system: the whole tree in memory, persisted in one .reg file, with handles as
/// Windows hands them out. Rights are checked as Windows checks them, so code that would be refused there is
/// refused here too.
class StoreRegistry final : public RegistryBackend {
 public:
  /// Reads `file`; an absent file is an empty store when `mayBeAbsent`, else refused.
  StoreRegistry(std::string file, bool mayBeAbsent) : file_(std::move(file)) {
    if (!std::filesystem::exists(file_) && mayBeAbsent) {
      tree_ = std::make_unique<RegistryStore>();
      return;
    }
    Load();
  }

  ~StoreRegistry() override { Unlock(); }

  int32_t OpenKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node;
    NodePtr target = FindKey(parent, path, node, code);
    if (target) result = NewHandle(std::move(target), access);
    return code;
  }

  int32_t CreateKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node;
    if (NodePtr existing = FindKey(parent, path, node, code)) {
      result = NewHandle(std::move(existing), access);
      return kSuccess;
    }
    if (!node) return code;
    // Creating needs the right to add sub-keys to the parent.
    if (!readOnlyReason_.empty() || !Resolve(parent, kCreateSubKey, code)) return kAccessDenied;
    bool created = false;
    NodePtr target = RegistryStore::Create(node, path, created);
    // Too deep a key: Windows refuses those too.
    if (!target) return kInvalidParameter;
    if ((code = Changed()) != kSuccess) return code;
    result = NewHandle(std::move(target), access);
    return kSuccess;
  }

  int32_t CloseKey(KeyHandle key) override {
    if (IsRoot(key)) return kSuccess;
    std::lock_guard lock(mutex_);
    return handles_.erase(key) > 0 ? kSuccess : kInvalidHandle;
  }

  int32_t QueryInfoKey(KeyHandle key, KeyInfo& info) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node = Resolve(key, kQueryValue, code);
    if (!node) return code;
    info = KeyInfo();
    info.SubKeys = static_cast<uint32_t>(node->SubKeys.size());
    info.Values = static_cast<uint32_t>(node->Values.size());
    for (const auto& sub : node->SubKeys) {
      info.MaxSubKeyNameLength = std::max(info.MaxSubKeyNameLength, Length(sub->Name));
    }
    for (const auto& value : node->Values) {
      info.MaxValueNameLength = std::max(info.MaxValueNameLength, Length(value.Name));
      info.MaxValueDataLength = std::max(info.MaxValueDataLength, static_cast<uint32_t>(value.Data.size()));
    }
    return kSuccess;
  }

  int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node = Resolve(key, kEnumerateSubKeys, code);
    if (!node) return code;
    if (index >= node->SubKeys.size()) return kNoMoreItems;
    name = node->SubKeys[index]->Name;
    return kSuccess;
  }

  int32_t EnumValue(KeyHandle key, uint32_t index, std::string& name, uint32_t& type,
                    std::vector<uint8_t>& data) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node = Resolve(key, kQueryValue, code);
    if (!node) return code;
    if (index >= node->Values.size()) return kNoMoreItems;
    const RegistryStore::Value& value = node->Values[index];
    name = value.Name;
    type = value.Type;
    data = value.Data;
    return kSuccess;
  }

  int32_t QueryValue(KeyHandle key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node = Resolve(key, kQueryValue, code);
    if (!node) return code;
    const RegistryStore::Value* value = node->Values.Find(name);
    if (!value) return kFileNotFound;
    type = value->Type;
    data = value->Data;
    return kSuccess;
  }

  int32_t SetValue(KeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node = Resolve(key, kSetValue, code);
    if (!node) return code;
    if (!readOnlyReason_.empty()) return kAccessDenied;
    return node->Values.Set(name, type, data) ? Changed() : kSuccess;
  }

  int32_t DeleteKey(KeyHandle parent, const std::string& path) override {
    if (BadPath(path)) return kBadPathname;
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node = Resolve(parent, 0, code);
    if (!node) return code;
    std::vector<std::string_view> parts = RegistryStore::SplitPath(path);
    // A root cannot be deleted, nor a key that still has sub-keys.
    if (parts.empty()) return kAccessDenied;
    for (size_t i = 0; node && i + 1 < parts.size(); ++i) node = node->FindSubKey(parts[i]);
    NodePtr target = node ? node->FindSubKey(parts.back()) : nullptr;
    if (!target) return kFileNotFound;
    if (!target->SubKeys.empty() || !readOnlyReason_.empty()) return kAccessDenied;
    RegistryStore::RemoveLeaf(*node, target);
    return Changed();
  }

  int32_t DeleteValue(KeyHandle key, const std::string& name) override {
    std::lock_guard lock(mutex_);
    int32_t code;
    NodePtr node = Resolve(key, kSetValue, code);
    if (!node) return code;
    if (!node->Values.Find(name)) return kFileNotFound;
    if (!readOnlyReason_.empty()) return kAccessDenied;
    node->Values.Erase(name);
    return Changed();
  }

  bool HasKeySecurity() const override { return false; }

  int32_t GetKeySecurity(KeyHandle, uint32_t, std::vector<uint8_t>&, uint32_t&) override { return kCallNotImplemented; }

  int32_t SetKeySecurity(KeyHandle, uint32_t, const std::vector<uint8_t>&) override { return kCallNotImplemented; }

  int32_t ImportRegFile(const std::string& file) override {
    std::string bytes;
    try {
      bytes = FileSystem().ReadAllBytes(file);
    } catch (const RuntimeError&) {
      return kFileNotFound;
    }
    std::lock_guard lock(mutex_);
    if (!readOnlyReason_.empty()) return kAccessDenied;
    if (!ParseRegFile(bytes, *tree_).IsRegFile) return kInvalidParameter;
    return Changed();
  }

  std::string StoreFile() const override { return file_; }

  std::string ReadOnlyReason() const override {
    std::lock_guard lock(mutex_);
    return readOnlyReason_;
  }

  void BeginBatch() override {
    std::lock_guard lock(mutex_);
    ++batches_;
  }

  int32_t EndBatch() override {
    std::lock_guard lock(mutex_);
    if (batches_ == 0 || --batches_ > 0) return kSuccess;
    return Flush();
  }

  int32_t Lock() override {
    std::lock_guard lock(mutex_);
    if (lockFd_ >= 0) return kSuccess;
    const std::string lockFile = file_ + ".lock";
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), ignored);
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Where no lock can be made the store cannot be written either: there are no changes to guard.
    if (fd < 0) return kSuccess;
    // Another run holds the store for its whole length: wait a while for it, then give up.
    for (int attempt = 0; ::flock(fd, LOCK_EX | LOCK_NB) != 0; ++attempt) {
      if (errno != EWOULDBLOCK || attempt == kLockAttempts) {
        ::close(fd);
        return kLockViolation;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    lockFd_ = fd;
    if (!(FileStamp::Of(file_) == stamp_)) ReloadAfterOtherWriter();
    return kSuccess;
  }

  void Unlock() override {
    std::lock_guard lock(mutex_);
    if (lockFd_ < 0) return;
    ::close(lockFd_);
    lockFd_ = -1;
  }

 private:
  static constexpr int kLockAttempts = 100;

  struct OpenKeyEntry {
    NodePtr node;
    uint32_t access;
  };

  /// Reads the file into a new tree. Refuses a file that is no regular file, cannot be read or has no .reg
  /// header.
  void Load() {
    // Stamped before the read: a file that another writer replaces while it is read differs from the stamp, so
    // the next Lock reads it again instead of writing back what was read before the change.
    const FileStamp stamp = FileStamp::Of(file_);
    std::string bytes;
    try {
      bytes = FileSystem().ReadAllBytes(file_);
    } catch (const RuntimeError& e) {
      Refuse(file_, "cannot be read: " + e.Description());
    }
    auto tree = std::make_unique<RegistryStore>();
    const RegFileResult read = bytes.empty() ? RegFileResult{true, {}} : ParseRegFile(bytes, *tree);
    if (!read.IsRegFile) Refuse(file_, "is not a .reg file (no header)");
    tree_ = std::move(tree);
    stamp_ = stamp;
    // What the store cannot read it keeps by never writing the file again.
    readOnlyReason_ = read.Problem.Line == 0
                          ? std::string()
                          : "the registry store " + file_ + " line " + std::to_string(read.Problem.Line) + ": " +
                                read.Problem.Reason + ": it is never written, so nothing it holds is lost";
  }

  /// Another process wrote the file since it was read: take its tree. Open handles belong to the old one.
  void ReloadAfterOtherWriter() {
    try {
      Load();
      handles_.clear();
      dirty_ = false;
    } catch (const RuntimeError& e) {
      readOnlyReason_ = e.Description();
    }
  }

  /// The node behind a handle opened with at least `access`; sets `code` when there is none, it is gone, or
  /// the handle lacks the right.
  NodePtr Resolve(KeyHandle key, uint32_t access, int32_t& code) {
    NodePtr node;
    uint32_t granted = ~0u;
    if (IsRoot(key)) {
      node = tree_->Root(static_cast<uint32_t>(key));
    } else if (auto it = handles_.find(key); it != handles_.end()) {
      node = it->second.node;
      granted = it->second.access;
    }
    code = !node                          ? kInvalidHandle
           : node->Deleted                ? kKeyDeleted
           : (granted & access) != access ? kAccessDenied
                                          : kSuccess;
    return code == kSuccess ? node : nullptr;
  }

  /// The look-up OpenKey and CreateKey share: the key at `path` below the key behind `parent`, or null. When
  /// null, `code` tells why (kBadPathname, a bad parent handle, or kFileNotFound) and `parentNode` is the
  /// parent's node when the parent itself was fine, so the caller may create the key there.
  NodePtr FindKey(KeyHandle parent, const std::string& path, NodePtr& parentNode, int32_t& code) {
    if (BadPath(path)) {
      code = kBadPathname;
      return nullptr;
    }
    parentNode = Resolve(parent, 0, code);
    if (!parentNode) return nullptr;
    NodePtr target = RegistryStore::Find(parentNode, path);
    code = target ? kSuccess : kFileNotFound;
    return target;
  }

  KeyHandle NewHandle(NodePtr node, uint32_t access) {
    KeyHandle handle = nextHandle_++;
    handles_.emplace(handle, OpenKeyEntry{std::move(node), access});
    return handle;
  }

  /// Records a change and writes the file unless a batch is open.
  int32_t Changed() {
    dirty_ = true;
    return batches_ > 0 ? kSuccess : Flush();
  }

  /// Writes the tree when it changed. A write that fails puts the tree back to what the file holds, so the
  /// store never tells of changes that are not on the disk.
  int32_t Flush() {
    if (!dirty_) return kSuccess;
    dirty_ = false;
    if (ReplaceFileAtomically(file_, FormatRegFile(*tree_))) {
      stamp_ = FileStamp::Of(file_);
      return kSuccess;
    }
    std::error_code error;
    if (std::filesystem::exists(file_, error)) {
      ReloadAfterOtherWriter();
    } else if (!error && stamp_.inode == 0) {
      // A store that had no file yet goes back to empty.
      tree_ = std::make_unique<RegistryStore>();
      handles_.clear();
    } else {
      // Its file cannot be reached any more: the store keeps what it read and takes no further change.
      readOnlyReason_ = "the registry store " + file_ + " cannot be written";
    }
    return kRegistryIoFailed;
  }

  std::string file_;
  mutable std::mutex mutex_;
  std::unique_ptr<RegistryStore> tree_;
  FileStamp stamp_;
  std::string readOnlyReason_;
  bool dirty_ = false;
  int batches_ = 0;
  int lockFd_ = -1;
  std::unordered_map<KeyHandle, OpenKeyEntry> handles_;
  KeyHandle nextHandle_ = 1;
};

}  // namespace

KeyHandle RootHandle(uint32_t rootKey) { return rootKey; }

std::unique_ptr<RegistryBackend> OpenRegistry(const std::string& storeFile) {
  if (storeFile.empty()) return std::make_unique<StoreRegistry>(DefaultStoreFile(), true);
  return std::make_unique<StoreRegistry>(storeFile, false);
}

}  // namespace qm::reg
