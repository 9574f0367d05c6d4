#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace qm {

namespace reg {
class RegistryBackend;
}

/// Parsed registry data: a text (REG_SZ, REG_EXPAND_SZ, and whatever began with a NUL), an unsigned number
/// (REG_DWORD) or the bytes of any other type.
using RegValueData = std::variant<std::string, uint32_t, std::vector<uint8_t>>;

/// One named registry value with its type and parsed data.
class RegValue {
 public:
  RegValue() = default;
  /// Stores the five fields.
  RegValue(uint32_t rktRootKey, std::string sKeyPath, std::string sValueName, uint32_t rvtValueType,
           RegValueData vValueData);

  uint32_t RootKey = 0;    ///< root of the key that holds the value (0x80000000 ... 0x80000006)
  std::string KeyPath;     ///< path of that key below the root
  std::string ValueName;   ///< "" is the key's default value
  uint32_t ValueType = 0;  ///< 0 REG_NONE, 1 REG_SZ, 2 REG_EXPAND_SZ, 3 REG_BINARY, 4 REG_DWORD, 7 REG_MULTI_SZ ...
  RegValueData ValueData;
  reg::RegistryBackend* Registry = nullptr;  ///< where Delete acts: set by the key that read the value

  /// The display text: REG_SZ the text, REG_BINARY its bytes as "0a 1b ff", REG_DWORD "0x00000102 (258)",
  /// every other type "".
  std::string ValueDataString() const;

  /// The size of the data as held in memory: twice the characters of a text or of a number's decimal form,
  /// the byte count of binary data.
  int64_t DataSize() const;

  /// Deletes this value from its registry; true also when it was already gone. Raises error 100 when the
  /// key cannot be opened or the value cannot be deleted, and when the value belongs to no registry.
  bool Delete() const;
};

}  // namespace qm
