#pragma once

#include <cstdint>
#include <string>

namespace qm {

/// Kinds of trace (`PrivacyValue::ValueType`): the item type codes of the catalogue, as logs and files store them.
enum class TraceKind : int32_t {
  RegistryValue = 1,
  RegistryKey = 2,
  File = 4,
  Folder = 5,
  IniEntry = 7,
};

/// What happened to a trace (`PrivacyValue::ValueStatus`), as logs and files store it.
enum class TraceStatus : int32_t {
  NotSet = 0,
  Found = 1,
  Erased = 2,       ///< deleted; for an ini entry, blanked
  FilledBlank = 3,  ///< could not be deleted, overwritten with blanks instead
  Held = 4,         ///< matches a hold setting and was left alone (a folder or key: kept for what it holds)
  Failed = -1,      ///< erasing failed: the trace is still there
};

/// One trace found by a search: what it is, where it is, how big it is and what happened to it. A record
/// stays valid after its trace has been erased; only `ValueStatus` tells that.
struct PrivacyValue {
  std::string Path;       ///< where the trace is, in full; also the form holds are written in
  std::string ValueName;  ///< the trace's own name
  int64_t Size = 0;       ///< bytes; 64-bit, so files over 2 GiB are recorded too
  TraceKind ValueType = TraceKind::File;
  std::string Value;     ///< the text the main window lists
  uint32_t RootKey = 0;  ///< registry root handle value for registry kinds, 0 otherwise
  TraceStatus ValueStatus = TraceStatus::NotSet;
};

}  // namespace qm
