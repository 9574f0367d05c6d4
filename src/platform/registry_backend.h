#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qm::reg {

/// An open key, or a predefined root. 0 is no key.
using KeyHandle = std::uintptr_t;

/// The predefined roots as the registry layer numbers them.
inline constexpr uint32_t kClassesRoot = 0x80000000u;
inline constexpr uint32_t kCurrentUser = 0x80000001u;
inline constexpr uint32_t kLocalMachine = 0x80000002u;
inline constexpr uint32_t kUsers = 0x80000003u;
inline constexpr uint32_t kPerformanceData = 0x80000004u;
inline constexpr uint32_t kCurrentConfig = 0x80000005u;
inline constexpr uint32_t kDynData = 0x80000006u;

/// Access rights.
inline constexpr uint32_t kQueryValue = 0x1;
inline constexpr uint32_t kSetValue = 0x2;
inline constexpr uint32_t kCreateSubKey = 0x4;
inline constexpr uint32_t kEnumerateSubKeys = 0x8;
inline constexpr uint32_t kRead = 0x20019;
inline constexpr uint32_t kReadControl = 0x20000;
inline constexpr uint32_t kWriteDac = 0x40000;

/// Value types.
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kSz = 1;
inline constexpr uint32_t kExpandSz = 2;
inline constexpr uint32_t kBinary = 3;
inline constexpr uint32_t kDword = 4;
inline constexpr uint32_t kMultiSz = 7;

/// Security information: the discretionary access control list.
inline constexpr uint32_t kDaclSecurityInformation = 4;

/// Result codes are Win32 error numbers on every platform.
inline constexpr int32_t kSuccess = 0;
inline constexpr int32_t kFileNotFound = 2;
inline constexpr int32_t kAccessDenied = 5;
inline constexpr int32_t kInvalidHandle = 6;
inline constexpr int32_t kInvalidParameter = 87;
inline constexpr int32_t kCallNotImplemented = 120;
inline constexpr int32_t kBadPathname = 161;
inline constexpr int32_t kInsufficientBuffer = 122;
inline constexpr int32_t kMoreData = 234;
inline constexpr int32_t kNoMoreItems = 259;
inline constexpr int32_t kKeyDeleted = 1018;
inline constexpr int32_t kRegistryIoFailed = 1016;
inline constexpr int32_t kLockViolation = 33;

/// The handle of a predefined root (0x80000000 ... 0x80000006); any other number gives a handle that every
/// call refuses.
KeyHandle RootHandle(uint32_t rootKey);

/// What RegQueryInfoKey tells about a key. Name lengths count characters without the terminating NUL, data
/// lengths bytes, both in the platform's own units (UTF-16 on Windows, UTF-8 in the Linux store): they are
/// sizes to expect, the calls below size their own buffers.
struct KeyInfo {
  uint32_t SubKeys = 0;
  uint32_t MaxSubKeyNameLength = 0;
  uint32_t MaxClassLength = 0;
  uint32_t Values = 0;
  uint32_t MaxValueNameLength = 0;
  uint32_t MaxValueDataLength = 0;
};

/// The registry as the rest of the program reaches it: the real registry on Windows, a file-backed store on
/// Linux. Text crosses this interface as UTF-8: key and value names, and the data of REG_SZ, REG_EXPAND_SZ and
/// REG_MULTI_SZ values as UTF-8 bytes with their NUL terminators. Data of every other type is raw bytes. Every
/// call answers a Win32 result code. An object may be used from one thread at a time per key handle; the store
/// guards its own tree.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  /// Opens `path` (components separated by "\") below `parent`; "" opens `parent` itself. Empty components are
  /// skipped, but a path may not start with "\" (kBadPathname).
  virtual int32_t OpenKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) = 0;
  /// Opens `path` below `parent`, creating the missing keys (non-volatile).
  virtual int32_t CreateKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) = 0;
  /// Closes an open key; predefined roots need no closing and are left alone.
  virtual int32_t CloseKey(KeyHandle key) = 0;
  virtual int32_t QueryInfoKey(KeyHandle key, KeyInfo& info) = 0;
  /// The name of the sub-key at `index`; kNoMoreItems past the last one.
  virtual int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) = 0;
  /// Name, type and data of the value at `index`; kNoMoreItems past the last one.
  virtual int32_t EnumValue(KeyHandle key, uint32_t index, std::string& name, uint32_t& type,
                            std::vector<uint8_t>& data) = 0;
  /// Type and data of the value `name` ("" is the default value); kFileNotFound when it does not exist, and
  /// then `type` and `data` are left as they were.
  virtual int32_t QueryValue(KeyHandle key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) = 0;
  virtual int32_t SetValue(KeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) = 0;
  /// Deletes the key `path` below `parent`; a key that has sub-keys is refused with kAccessDenied, and so is an
  /// empty path (it would name the parent itself).
  virtual int32_t DeleteKey(KeyHandle parent, const std::string& path) = 0;
  virtual int32_t DeleteValue(KeyHandle key, const std::string& name) = 0;

  /// False where the registry keeps no security descriptors (the Linux store): the security calls then
  /// answer kCallNotImplemented.
  virtual bool HasKeySecurity() const = 0;
  /// Reads the key's security descriptor into `descriptor`, whose size is the buffer's; when it is too small
  /// the answer is kInsufficientBuffer and `neededSize` tells the size that fits.
  virtual int32_t GetKeySecurity(KeyHandle key, uint32_t information, std::vector<uint8_t>& descriptor,
                                 uint32_t& neededSize) = 0;
  virtual int32_t SetKeySecurity(KeyHandle key, uint32_t information, const std::vector<uint8_t>& descriptor) = 0;

  /// Merges a .reg file into the registry as `regedit /S` does.
  virtual int32_t ImportRegFile(const std::string& file) = 0;

  /// The store file, "" for the real registry.
  virtual std::string StoreFile() const = 0;
  /// Why the store refuses every change, "" when it takes them: a store holding lines it cannot read is never
  /// written, so nothing it did not understand is lost.
  virtual std::string ReadOnlyReason() const = 0;

  /// From the first BeginBatch to the matching EndBatch the store writes its file once, at the end, instead of
  /// after every change. EndBatch answers the result of that write: when it fails the store is back to what
  /// its file holds, and every change of the batch is undone. The real registry writes itself: both do nothing.
  virtual void BeginBatch() = 0;
  virtual int32_t EndBatch() = 0;

  /// Keeps other processes from writing the store until Unlock, and reads the store again when another process
  /// wrote it since. A run that writes the store holds it for its whole length, so two runs never lose each
  /// other's changes. Answers kSuccess, or why the lock could not be taken. The real registry needs none.
  virtual int32_t Lock() = 0;
  virtual void Unlock() = 0;
};

/// The registry of this system: on Windows the real registry (`storeFile` must be ""); on Linux the store in
/// `storeFile`, or in the default file ($XDG_CONFIG_HOME/quillmere/registry.reg, $XDG_CONFIG_HOME defaulting to
/// ~/.config) when it is "". A default store that does not exist yet is empty and created by its first write;
/// a named store must exist. Raises RuntimeError naming the file and the reason when it cannot be used: missing
/// (named only), a folder, a FIFO or device, unreadable, no .reg header, or a key deeper than 512 levels.
std::unique_ptr<RegistryBackend> OpenRegistry(const std::string& storeFile = "");

/// A batch of changes for as long as it lives (see BeginBatch). `End` finishes it early and tells the result.
class ChangeBatch {
 public:
  explicit ChangeBatch(RegistryBackend& registry) : registry_(&registry) { registry_->BeginBatch(); }
  ~ChangeBatch() { End(); }
  ChangeBatch(const ChangeBatch&) = delete;
  ChangeBatch& operator=(const ChangeBatch&) = delete;

  int32_t End() {
    if (!registry_) return kSuccess;
    RegistryBackend* registry = std::exchange(registry_, nullptr);
    return registry->EndBatch();
  }

 private:
  RegistryBackend* registry_;
};

}  // namespace qm::reg
