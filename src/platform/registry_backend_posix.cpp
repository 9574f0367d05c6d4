#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <unordered_map>

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

/// The store behind every call: the tree, loaded from its file on first use, and the open handles.
class Store {
 public:
  std::mutex mutex;

  void SetFile(const std::string& file) {
    // Changes held back by a batch belong to the old file.
    if (loaded_) Flush();
    file_ = file;
    loaded_ = false;
    handles_.clear();
  }

  const std::string& File() {
    if (file_.empty()) file_ = DefaultStoreFile();
    return file_;
  }

  RegistryStore& Tree() {
    if (!loaded_) Load();
    return *tree_;
  }

  /// The node behind a handle opened with at least `access`; sets `code` when there is none, it is gone, or
  /// the handle lacks the right (the store checks rights as Windows does, so code that would be refused there
  /// is refused here too).
  NodePtr Resolve(KeyHandle key, uint32_t access, int32_t& code) {
    NodePtr node;
    uint32_t granted = ~0u;
    if (key >= 0x80000000u && key <= 0x80000006u) {
      node = Tree().Root(static_cast<uint32_t>(key));
    } else {
      Tree();
      auto it = handles_.find(key);
      if (it != handles_.end()) {
        node = it->second.node;
        granted = it->second.access;
      }
    }
    code = !node ? kInvalidHandle : node->Deleted ? kKeyDeleted : (granted & access) != access ? kAccessDenied : kSuccess;
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
    handles_.emplace(handle, OpenKey{std::move(node), access});
    return handle;
  }

  bool Close(KeyHandle key) { return handles_.erase(key) > 0; }

  /// A file that could not be read is never overwritten: changes are refused instead.
  bool ReadOnly() {
    Tree();
    return readOnly_;
  }

  /// Records a change and writes the file unless a batch is open.
  int32_t Changed() {
    dirty_ = true;
    return batches_ > 0 ? kSuccess : Flush();
  }

  int32_t Flush() {
    if (!dirty_) return kSuccess;
    if (!ReplaceFileAtomically(File(), FormatRegFile(*tree_))) return kRegistryIoFailed;
    dirty_ = false;
    return kSuccess;
  }

  void BeginBatch() { ++batches_; }
  void EndBatch() {
    if (--batches_ == 0) Flush();
  }

 private:
  void Load() {
    tree_ = std::make_unique<RegistryStore>();
    readOnly_ = false;
    dirty_ = false;
    loaded_ = true;
    std::error_code ec;
    if (!std::filesystem::exists(File(), ec)) {
      readOnly_ = static_cast<bool>(ec);
      return;
    }
    std::ifstream in(File(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      readOnly_ = true;
      return;
    }
    if (bytes.empty()) return;
    if (!ParseRegFile(bytes, *tree_)) readOnly_ = true;
  }

  std::string file_;
  bool loaded_ = false;
  bool readOnly_ = false;
  bool dirty_ = false;
  int batches_ = 0;
  std::unique_ptr<RegistryStore> tree_;
  struct OpenKey {
    NodePtr node;
    uint32_t access;
  };
  std::unordered_map<KeyHandle, OpenKey> handles_;
  KeyHandle nextHandle_ = 1;
};

Store& TheStore() {
  static Store store;
  return store;
}

uint32_t Length(const std::string& s) { return static_cast<uint32_t>(s.size()); }

}  // namespace

KeyHandle RootHandle(uint32_t rootKey) { return rootKey; }

int32_t OpenKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node;
  NodePtr target = store.FindKey(parent, path, node, code);
  if (target) result = store.NewHandle(std::move(target), access);
  return code;
}

int32_t CreateKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node;
  if (NodePtr existing = store.FindKey(parent, path, node, code)) {
    result = store.NewHandle(std::move(existing), access);
    return kSuccess;
  }
  if (!node) return code;
  // Creating needs the right to add sub-keys to the parent.
  if (store.ReadOnly() || !store.Resolve(parent, kCreateSubKey, code)) return kAccessDenied;
  bool created = false;
  NodePtr target = RegistryStore::Create(node, path, created);
  if ((code = store.Changed()) != kSuccess) return code;
  result = store.NewHandle(std::move(target), access);
  return kSuccess;
}

int32_t CloseKey(KeyHandle key) {
  if (key >= 0x80000000u && key <= 0x80000006u) return kSuccess;
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  return store.Close(key) ? kSuccess : kInvalidHandle;
}

int32_t QueryInfoKey(KeyHandle key, KeyInfo& info) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node = store.Resolve(key, kQueryValue, code);
  if (!node) return code;
  info = KeyInfo();
  info.SubKeys = static_cast<uint32_t>(node->SubKeys.size());
  info.Values = static_cast<uint32_t>(node->Values.size());
  for (const auto& sub : node->SubKeys) info.MaxSubKeyNameLength = std::max(info.MaxSubKeyNameLength, Length(sub->Name));
  for (const auto& value : node->Values) {
    info.MaxValueNameLength = std::max(info.MaxValueNameLength, Length(value.Name));
    info.MaxValueDataLength = std::max(info.MaxValueDataLength, static_cast<uint32_t>(value.Data.size()));
  }
  return kSuccess;
}

int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node = store.Resolve(key, kEnumerateSubKeys, code);
  if (!node) return code;
  if (index >= node->SubKeys.size()) return kNoMoreItems;
  name = node->SubKeys[index]->Name;
  return kSuccess;
}

int32_t EnumValue(KeyHandle key, uint32_t index, std::string& name, uint32_t& type, std::vector<uint8_t>& data) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node = store.Resolve(key, kQueryValue, code);
  if (!node) return code;
  if (index >= node->Values.size()) return kNoMoreItems;
  const RegistryStore::Value& value = node->Values[index];
  name = value.Name;
  type = value.Type;
  data = value.Data;
  return kSuccess;
}

int32_t QueryValue(KeyHandle key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node = store.Resolve(key, kQueryValue, code);
  if (!node) return code;
  const RegistryStore::Value* value = node->FindValue(name);
  if (!value) return kFileNotFound;
  type = value->Type;
  data = value->Data;
  return kSuccess;
}

int32_t SetValue(KeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node = store.Resolve(key, kSetValue, code);
  if (!node) return code;
  if (store.ReadOnly()) return kAccessDenied;
  return RegistryStore::SetValue(*node, name, type, data) ? store.Changed() : kSuccess;
}

int32_t DeleteKey(KeyHandle parent, const std::string& path) {
  if (BadPath(path)) return kBadPathname;
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node = store.Resolve(parent, 0, code);
  if (!node) return code;
  std::vector<std::string_view> parts = RegistryStore::SplitPath(path);
  // A root cannot be deleted, nor a key that still has sub-keys.
  if (parts.empty()) return kAccessDenied;
  for (size_t i = 0; node && i + 1 < parts.size(); ++i) node = node->FindSubKey(parts[i]);
  NodePtr target = node ? node->FindSubKey(parts.back()) : nullptr;
  if (!target) return kFileNotFound;
  if (!target->SubKeys.empty() || store.ReadOnly()) return kAccessDenied;
  RegistryStore::RemoveLeaf(*node, target);
  return store.Changed();
}

int32_t DeleteValue(KeyHandle key, const std::string& name) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  int32_t code;
  NodePtr node = store.Resolve(key, kSetValue, code);
  if (!node) return code;
  if (!node->FindValue(name)) return kFileNotFound;
  if (store.ReadOnly()) return kAccessDenied;
  RegistryStore::DeleteValue(*node, name);
  return store.Changed();
}

bool HasKeySecurity() { return false; }

int32_t GetKeySecurity(KeyHandle, uint32_t, std::vector<uint8_t>&, uint32_t&) { return kCallNotImplemented; }

int32_t SetKeySecurity(KeyHandle, uint32_t, const std::vector<uint8_t>&) { return kCallNotImplemented; }

bool SetRegistryStoreFile(const std::string& file) {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  store.SetFile(file);
  return true;
}

std::string RegistryStoreFile() {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  return store.File();
}

int32_t ImportRegFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return kFileNotFound;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  if (store.ReadOnly()) return kAccessDenied;
  if (!ParseRegFile(bytes, store.Tree())) return kInvalidParameter;
  return store.Changed();
}

ChangeBatch::ChangeBatch() {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  store.BeginBatch();
}

ChangeBatch::~ChangeBatch() {
  Store& store = TheStore();
  std::lock_guard lock(store.mutex);
  store.EndBatch();
}

}  // namespace qm::reg
