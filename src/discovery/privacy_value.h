#pragma once

#include <cstdint>
#include <string>

namespace qm {

/// Kinds of trace (`PrivacyValue::ValueType`): the item type codes of the catalogue.
namespace kinds {
inline constexpr int32_t kRegistryValue = 1;
inline constexpr int32_t kRegistryKey = 2;
inline constexpr int32_t kFile = 4;
inline constexpr int32_t kFolder = 5;
inline constexpr int32_t kIniEntry = 7;
}  // namespace kinds

/// What happened to a trace (`PrivacyValue::ValueStatus`).
namespace status {
inline constexpr int32_t kNotSet = 0;
inline constexpr int32_t kFound = 1;
inline constexpr int32_t kErased = 2;       ///< deleted; for an ini entry, blanked
inline constexpr int32_t kFilledBlank = 3;  ///< could not be deleted, overwritten with blanks instead
inline constexpr int32_t kHeld = 4;         ///< matches a hold setting and was left alone
inline constexpr int32_t kFailed = -1;      ///< erasing failed
}  // namespace status

/// One trace found by a search: what it is, where it is, how big it is and what happened to it. A record
/// stays valid after its trace has been erased; only `ValueStatus` tells that.
struct PrivacyValue {
  std::string Path;       ///< where the trace is, in full; also the form holds are written in
  std::string ValueName;  ///< the trace's own name
  int64_t Size = 0;       ///< bytes; 64-bit, so files over 2 GiB are recorded too
  int32_t ValueType = 0;  ///< the kind of trace (`kinds`)
  std::string Value;      ///< the text the main window lists
  uint32_t RootKey = 0;   ///< registry root handle value for registry kinds, 0 otherwise
  int32_t ValueStatus = status::kNotSet;
};

}  // namespace qm
