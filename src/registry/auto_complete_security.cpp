#include "registry/auto_complete_security.h"

#include "registry/auto_complete.h"

namespace qm {

namespace {

/// Closes the key it holds when it goes.
struct OpenKey {
  reg::RegistryBackend& registry;
  reg::KeyHandle handle = 0;
  OpenKey(reg::RegistryBackend& r, const std::string& path, uint32_t access) : registry(r) {
    if (registry.OpenKey(reg::RootHandle(reg::kCurrentUser), path, access, handle) != reg::kSuccess) handle = 0;
  }
  ~OpenKey() {
    if (handle != 0) registry.CloseKey(handle);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
};

}  // namespace

std::optional<KeyDescriptor> ReadKeyDescriptor(reg::RegistryBackend& registry, const std::string& path) {
  OpenKey key(registry, path, reg::kReadControl);
  if (key.handle == 0) return std::nullopt;
  KeyDescriptor descriptor(1);
  uint32_t needed = 0;
  int32_t rc = registry.GetKeySecurity(key.handle, reg::kDaclSecurityInformation, descriptor, needed);
  if (rc == reg::kInsufficientBuffer) {
    descriptor.assign(static_cast<std::size_t>(needed) + 1, 0);
    rc = registry.GetKeySecurity(key.handle, reg::kDaclSecurityInformation, descriptor, needed);
  }
  if (rc != reg::kSuccess) return std::nullopt;
  return descriptor;
}

bool WriteKeyDescriptor(reg::RegistryBackend& registry, const std::string& path,
                        const std::optional<KeyDescriptor>& descriptor) {
  // A buffer that holds no descriptor would at best be refused and at worst shut everyone out of the key.
  if (!descriptor) return false;
  OpenKey key(registry, path, reg::kWriteDac);
  if (key.handle == 0) return false;
  return registry.SetKeySecurity(key.handle, reg::kDaclSecurityInformation, *descriptor) == reg::kSuccess;
}

AutoCompleteStoreAccess::AutoCompleteStoreAccess(reg::RegistryBackend& registry, const std::string& userKey)
    : registry_(registry), openDescriptor_(ReadKeyDescriptor(registry, autocomplete::kProtectedStorageKey)) {
  const std::string dataKey = userKey + "\\Data";
  const std::string typeKey = dataKey + "\\" + autocomplete::kFormsTypeId;
  for (const std::string& path : {userKey, dataKey, typeKey, typeKey + "\\" + autocomplete::kFormsTypeId}) Open(path);
}

AutoCompleteStoreAccess::~AutoCompleteStoreAccess() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) WriteKeyDescriptor(registry_, it->first, it->second);
}

void AutoCompleteStoreAccess::Open(const std::string& path) {
  std::optional<KeyDescriptor> own = ReadKeyDescriptor(registry_, path);
  if (!own || !WriteKeyDescriptor(registry_, path, openDescriptor_)) return;
  saved_.emplace_back(path, std::move(*own));
}

}  // namespace qm
