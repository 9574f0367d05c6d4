#include "registry/auto_complete_security.h"

#include <utility>

#include "platform/registry_backend.h"
#include "registry/auto_complete.h"

namespace qm {

namespace {

/// Closes the key it holds when it goes.
struct OpenKey {
  reg::KeyHandle handle = 0;
  OpenKey(const std::string& path, uint32_t access) {
    if (reg::OpenKey(reg::RootHandle(reg::kCurrentUser), path, access, handle) != reg::kSuccess) handle = 0;
  }
  ~OpenKey() {
    if (handle != 0) reg::CloseKey(handle);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
};

}  // namespace

std::optional<KeyDescriptor> ReadKeyDescriptor(const std::string& path) {
  OpenKey key(path, reg::kReadControl);
  if (key.handle == 0) return std::nullopt;
  KeyDescriptor descriptor(1);
  uint32_t needed = 0;
  int32_t rc = reg::GetKeySecurity(key.handle, reg::kDaclSecurityInformation, descriptor, needed);
  if (rc == reg::kInsufficientBuffer) {
    descriptor.assign(static_cast<std::size_t>(needed) + 1, 0);
    rc = reg::GetKeySecurity(key.handle, reg::kDaclSecurityInformation, descriptor, needed);
  }
  if (rc != reg::kSuccess) return std::nullopt;
  return descriptor;
}

bool WriteKeyDescriptor(const std::string& path, const std::optional<KeyDescriptor>& descriptor) {
  // A buffer that holds no descriptor would at best be refused and at worst shut everyone out of the key.
  if (!descriptor) return false;
  OpenKey key(path, reg::kWriteDac);
  if (key.handle == 0) return false;
  return reg::SetKeySecurity(key.handle, reg::kDaclSecurityInformation, *descriptor) == reg::kSuccess;
}

AutoCompleteStoreAccess::AutoCompleteStoreAccess(std::string userKey) : userKey_(std::move(userKey)) {
  openDescriptor_ = ReadKeyDescriptor(autocomplete::kProtectedStorageKey);
  savedDescriptor_ = ReadKeyDescriptor(userKey_);
  const std::string dataKey = userKey_ + "\\Data";
  const std::string typeKey = dataKey + "\\" + autocomplete::kFormsTypeId;
  const std::string storeKey = typeKey + "\\" + autocomplete::kFormsTypeId;
  for (const std::string& path : {userKey_, dataKey, typeKey, storeKey})
    WriteKeyDescriptor(path, openDescriptor_);
}

AutoCompleteStoreAccess::~AutoCompleteStoreAccess() { Restore(); }

void AutoCompleteStoreAccess::Restore() {
  if (restored_) return;
  restored_ = true;
  WriteKeyDescriptor(userKey_, savedDescriptor_);
}

}  // namespace qm
