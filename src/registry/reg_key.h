#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "registry/reg_value.h"

namespace qm {

class RegKeys;
class RegValues;

/// The root argument that means "this object's own key".
inline constexpr uint32_t kOwnRootKey = 0xFFFFFFFFu;

/// One registry key, addressed by a predefined root (0x80000000 ... 0x80000006) and a path below it.
///
/// Addressing rule of every key operation: a root of kOwnRootKey or an empty path means the object's own key,
/// and then both root and path come from `RootKey` and `Path`. A RegKey holds no open handle between calls.
class RegKey {
 public:
  uint32_t RootKey = 0;
  std::string Name;  ///< the last component of Path
  std::string Path;  ///< below the root, components separated by "\", no leading backslash

  /// A key of `registry`, which every operation of this object and of the keys and values it lists goes to.
  explicit RegKey(reg::RegistryBackend& registry) : registry_(&registry) {}
  RegKey(reg::RegistryBackend& registry, uint32_t rktRootKey, const std::string& sPath);

  reg::RegistryBackend& Registry() const { return *registry_; }

  /// Stores root and path; sets Name from the path's last component unless Name is already set.
  void Initialise(uint32_t rktRootKey, const std::string& sPath);

  /// The direct sub-keys as last enumerated; enumerates the own key on first use.
  RegKeys& SubKeys();
  /// The values as last enumerated; enumerates the own key on first use.
  RegValues& SubValues();

  /// The direct sub-keys in enumeration order (empty when the key cannot be opened); also kept as SubKeys.
  RegKeys& EnumSubKeys(uint32_t rktRootKey = kOwnRootKey, const std::string& sKeyPath = "");
  /// The values in enumeration order (empty when the key cannot be opened); also kept as SubValues.
  RegValues& EnumSubValues(uint32_t rktRootKey = kOwnRootKey, const std::string& sKeyPath = "");

  /// The named value; nothing when the key is missing, a value of type 0 with data "" when only the value is.
  std::optional<RegValue> GetRegValue(const std::string& sValueName, uint32_t rktRootKey = kOwnRootKey,
                                      const std::string& sKeyPath = "");

  /// Deletes the key; with `bDeep` its sub-keys first, depth first in enumeration order. Raises error 100
  /// ("Delete RegKey failed." CR LF ... "Delete RegKey failed!") when a key cannot be deleted; keys deleted
  /// before stay deleted. A root key is never deleted.
  bool DeleteRegKey(bool bDeep, uint32_t rktRootKey = kOwnRootKey, const std::string& sKeyPath = "");

  /// Deletes the named value; true also when it did not exist.
  bool DeleteRegValue(const std::string& sValueName, uint32_t rktRootKey = kOwnRootKey,
                      const std::string& sKeyPath = "");

  /// Creates (or opens) the sub-key `sSubKeyName` below the parent key; raises "rc = N" on failure.
  void SetRegKey(const std::string& sSubKeyName, uint32_t rktRootKey = kOwnRootKey,
                 const std::string& sParentKeyPath = "");

  /// Writes a REG_SZ (1) or REG_DWORD (4) value, creating the key when missing; any other type fails and
  /// changes nothing.
  void SetRegValue(const std::string& sValueName, uint32_t rvtValueType, const RegValueData& vData,
                   uint32_t rktRootKey = kOwnRootKey, const std::string& sKeyPath = "");

  /// The root value of a root name such as "HKEY_CURRENT_USER" (exact case), 0 for any other text.
  static uint32_t TransRootKey(const std::string& sRootKey);
  /// The name of a root value ("HKEY_CURRENT_USER" for 0x80000001), "" for any other number.
  static std::string RootKeyName(uint32_t rootKey);

 private:
  /// Applies the addressing rule.
  void Resolve(uint32_t& root, std::string& path) const;
  std::shared_ptr<RegKeys> ListSubKeys(uint32_t root, const std::string& path) const;
  /// The data of a value as read into a zero-filled buffer of which `length` bytes were returned.
  static RegValueData parseValueData(const std::vector<uint8_t>& data, uint32_t type, size_t length);

  reg::RegistryBackend* registry_;
  std::shared_ptr<RegKeys> subKeys_;
  std::shared_ptr<RegValues> subValues_;
};

}  // namespace qm
