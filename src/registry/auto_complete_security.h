#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry_backend.h"

namespace qm {

/// A key's security descriptor (its discretionary access control list) as the registry hands it out.
using KeyDescriptor = std::vector<uint8_t>;

/// Reads the descriptor of `path` below HKEY_CURRENT_USER: the key is opened with READ_CONTROL and asked
/// with a one-byte buffer first, then with the size the registry says it needs plus one byte. Nothing when
/// the key cannot be opened or the descriptor cannot be read.
std::optional<KeyDescriptor> ReadKeyDescriptor(reg::RegistryBackend& registry, const std::string& path);

/// Writes `descriptor` onto `path` below HKEY_CURRENT_USER (opened with WRITE_DAC). A descriptor that was
/// never read is not written. Returns whether the registry took it.
bool WriteKeyDescriptor(reg::RegistryBackend& registry, const std::string& path,
                        const std::optional<KeyDescriptor>& descriptor);

/// Opens the user's AutoComplete store for the time this object lives, on a registry with security
/// descriptors: the descriptor of the Protected Storage key (the open descriptor) is written onto the user's
/// key, its Data key, the type key and the store key, and onto each entry `Open` is asked for. Every key whose
/// descriptor it changed gets its own descriptor back when the object goes (last changed first), whatever
/// happened in between; a key that is gone by then (a deleted entry) needs nothing. A descriptor that cannot be
/// read is never replaced, so it never needs restoring.
class AutoCompleteStoreAccess {
 public:
  /// `userKey`: the Protected Storage key + "\" + the user text.
  AutoCompleteStoreAccess(reg::RegistryBackend& registry, const std::string& userKey);
  ~AutoCompleteStoreAccess();
  AutoCompleteStoreAccess(const AutoCompleteStoreAccess&) = delete;
  AutoCompleteStoreAccess& operator=(const AutoCompleteStoreAccess&) = delete;

  /// Gives `path` the open descriptor, keeping its own to put back.
  void Open(const std::string& path);

 private:
  reg::RegistryBackend& registry_;
  std::optional<KeyDescriptor> openDescriptor_;
  std::vector<std::pair<std::string, KeyDescriptor>> saved_;
};

}  // namespace qm
