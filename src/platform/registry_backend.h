#pragma once

#include <cstdint>
#include <string>
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

/// Text crosses this interface as UTF-8: key and value names, and the data of REG_SZ, REG_EXPAND_SZ and
/// REG_MULTI_SZ values as UTF-8 bytes with their NUL terminators. Data of every other type is raw bytes.

/// Opens `path` (components separated by "\") below `parent`; "" opens `parent` itself. Empty components are
/// skipped, but a path may not start with "\" (kBadPathname).
int32_t OpenKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result);
/// Opens `path` below `parent`, creating the missing keys (non-volatile).
int32_t CreateKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result);
/// Closes an open key; predefined roots need no closing and are left alone.
int32_t CloseKey(KeyHandle key);
int32_t QueryInfoKey(KeyHandle key, KeyInfo& info);
/// The name of the sub-key at `index`; kNoMoreItems past the last one.
int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name);
/// Name, type and data of the value at `index`; kNoMoreItems past the last one.
int32_t EnumValue(KeyHandle key, uint32_t index, std::string& name, uint32_t& type, std::vector<uint8_t>& data);
/// Type and data of the value `name` ("" is the default value); kFileNotFound when it does not exist, and then
/// `type` and `data` are left as they were.
int32_t QueryValue(KeyHandle key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data);
int32_t SetValue(KeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data);
/// Deletes the key `path` below `parent`; a key that has sub-keys is refused with kAccessDenied.
int32_t DeleteKey(KeyHandle parent, const std::string& path);
int32_t DeleteValue(KeyHandle key, const std::string& name);

/// False where the registry keeps no security descriptors (the Linux store): the security calls then answer
/// kCallNotImplemented.
bool HasKeySecurity();
/// Reads the key's security descriptor into `descriptor`, whose size is the buffer's; when it is too small the
/// answer is kInsufficientBuffer and `neededSize` tells the size that fits.
int32_t GetKeySecurity(KeyHandle key, uint32_t information, std::vector<uint8_t>& descriptor,
                       uint32_t& neededSize);
int32_t SetKeySecurity(KeyHandle key, uint32_t information, const std::vector<uint8_t>& descriptor);

/// Linux: makes `file` the registry store (a .reg file), to be read on first use. Returns false where the
/// real registry is used and no store file exists (Windows).
bool SetRegistryStoreFile(const std::string& file);
/// The store file in use, "" on Windows. Default: $XDG_CONFIG_HOME/quillmere/registry.reg, with
/// $XDG_CONFIG_HOME defaulting to ~/.config.
std::string RegistryStoreFile();

/// Merges a .reg file into the registry as `regedit /S` does. Returns a result code.
int32_t ImportRegFile(const std::string& file);

/// While at least one batch is alive, the Linux store writes its file once when the last batch ends instead
/// of after every change; many changes in a row (a deep delete, a clear run) then cost one write. Windows
/// writes its registry itself: a batch there changes nothing.
class ChangeBatch {
 public:
  ChangeBatch();
  ~ChangeBatch();
  ChangeBatch(const ChangeBatch&) = delete;
  ChangeBatch& operator=(const ChangeBatch&) = delete;
};

}  // namespace qm::reg
