#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

/// A key's security descriptor (its discretionary access control list) as the registry hands it out.
using KeyDescriptor = std::vector<uint8_t>;

/// Reads the descriptor of `path` below HKEY_CURRENT_USER: the key is opened with READ_CONTROL and asked
/// with a one-byte buffer first, then with the size the registry says it needs plus one byte. Nothing when
/// the key cannot be opened or the descriptor cannot be read.
std::optional<KeyDescriptor> ReadKeyDescriptor(const std::string& path);

/// Writes `descriptor` onto `path` below HKEY_CURRENT_USER (opened with WRITE_DAC). A descriptor that was
/// never read is not written. Returns whether the registry took it.
bool WriteKeyDescriptor(const std::string& path, const std::optional<KeyDescriptor>& descriptor);

/// Opens the user's AutoComplete store for the time this object lives, on a registry with security
/// descriptors: on construction the descriptor of the Protected Storage key (the open descriptor) is written
/// onto the user's key, its Data key, the type key and the store key, after the user key's own descriptor
/// (the saved descriptor) was read. `Restore` (or the destructor, whichever comes first) writes the saved
/// descriptor back onto the user's key only; the three keys below it keep the open descriptor. A descriptor
/// that cannot be read or written does not stop anything.
class AutoCompleteStoreAccess {
 public:
  /// `userKey`: the Protected Storage key + "\" + the user text.
  explicit AutoCompleteStoreAccess(std::string userKey);
  ~AutoCompleteStoreAccess();
  AutoCompleteStoreAccess(const AutoCompleteStoreAccess&) = delete;
  AutoCompleteStoreAccess& operator=(const AutoCompleteStoreAccess&) = delete;

  /// The open descriptor, to be written onto each entry before it is deleted.
  const std::optional<KeyDescriptor>& OpenDescriptor() const { return openDescriptor_; }

  /// Puts the user key's saved descriptor back. Later calls do nothing.
  void Restore();

 private:
  std::string userKey_;
  std::optional<KeyDescriptor> openDescriptor_;
  std::optional<KeyDescriptor> savedDescriptor_;
  bool restored_ = false;
};

}  // namespace qm
