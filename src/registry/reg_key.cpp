#include "registry/reg_key.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
#include <utility>

#include "platform/error.h"
#include "platform/registry_backend.h"
#include "registry/reg_errors.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"

namespace qm {

namespace {

/// Closes the key it holds when it goes out of scope, so no path leaves a handle open.
struct KeyGuard {
  reg::RegistryBackend& registry;
  reg::KeyHandle handle = 0;
  explicit KeyGuard(reg::RegistryBackend& r) : registry(r) {}
  KeyGuard(const KeyGuard&) = delete;
  KeyGuard& operator=(const KeyGuard&) = delete;
  ~KeyGuard() {
    if (handle != 0) registry.CloseKey(handle);
  }
};

/// True when the path names a key below the root, not the root itself.
bool NamesKeyBelowRoot(const std::string& path) { return path.find_first_not_of('\\') != std::string::npos; }

/// The bytes SetRegValue writes for `data` as `type`; false for a type or data it cannot write.
bool EncodeValue(uint32_t type, const RegValueData& data, std::vector<uint8_t>& bytes) {
  if (type == reg::kSz) {
    std::string textData;
    if (const auto* s = std::get_if<std::string>(&data))
      textData = *s;
    else if (const auto* number = std::get_if<uint32_t>(&data))
      textData = std::to_string(*number);
    else if (const auto* raw = std::get_if<std::vector<uint8_t>>(&data))
      textData.assign(raw->begin(), raw->end());
    bytes.assign(textData.begin(), textData.end());
    bytes.push_back(0);
    return true;
  }
  if (type == reg::kDword) {
    uint32_t number = 0;
    if (const auto* n = std::get_if<uint32_t>(&data)) {
      number = *n;
    } else if (const auto* s = std::get_if<std::string>(&data)) {
      // A text converts when it is a whole 32-bit integer, signed or not.
      std::string_view digits(*s);
      while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
      while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
      int64_t parsed = 0;
      auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
      if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || parsed < INT32_MIN ||
          parsed > UINT32_MAX) {
        return false;
      }
      number = static_cast<uint32_t>(parsed);
    } else {
      return false;
    }
    bytes = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
             static_cast<uint8_t>(number >> 24)};
    return true;
  }
  return false;
}

}  // namespace

RegKey::RegKey(reg::RegistryBackend& registry, uint32_t rktRootKey, const std::string& sPath) : registry_(&registry) {
  Initialise(rktRootKey, sPath);
}

void RegKey::Initialise(uint32_t rktRootKey, const std::string& sPath) {
  RootKey = rktRootKey;
  Path = sPath;
  if (!sPath.empty() && Name.empty()) {
    size_t slash = sPath.rfind('\\');
    Name = slash == std::string::npos ? sPath : sPath.substr(slash + 1);
  }
}

RegKeys& RegKey::SubKeys() {
  if (!subKeys_) EnumSubKeys();
  return *subKeys_;
}

RegValues& RegKey::SubValues() {
  if (!subValues_) EnumSubValues();
  return *subValues_;
}

void RegKey::Resolve(uint32_t& root, std::string& path) const {
  if (root == kOwnRootKey || path.empty()) {
    root = RootKey;
    path = Path;
  }
}

std::shared_ptr<RegKeys> RegKey::ListSubKeys(uint32_t root, const std::string& path) const {
  auto keys = std::make_shared<RegKeys>();
  KeyGuard key(*registry_);
  if (registry_->OpenKey(reg::RootHandle(root), path, reg::kEnumerateSubKeys, key.handle) != reg::kSuccess) return keys;
  std::string name;
  for (uint32_t index = 0; registry_->EnumKey(key.handle, index, name) == reg::kSuccess; ++index) {
    keys->Add(RegKey(*registry_, root, path.empty() ? name : path + "\\" + name));
  }
  return keys;
}

RegKeys& RegKey::EnumSubKeys(uint32_t rktRootKey, const std::string& sKeyPath) {
  std::string path = sKeyPath;
  Resolve(rktRootKey, path);
  subKeys_ = ListSubKeys(rktRootKey, path);
  return *subKeys_;
}

RegValues& RegKey::EnumSubValues(uint32_t rktRootKey, const std::string& sKeyPath) {
  std::string path = sKeyPath;
  Resolve(rktRootKey, path);
  subValues_ = std::make_shared<RegValues>();
  KeyGuard key(*registry_);
  if (registry_->OpenKey(reg::RootHandle(rktRootKey), path, reg::kQueryValue, key.handle) != reg::kSuccess) {
    return *subValues_;
  }
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  for (uint32_t index = 0; registry_->EnumValue(key.handle, index, name, type, data) == reg::kSuccess; ++index) {
    RegValue& value = subValues_->Add(RegValue(rktRootKey, path, name, type, parseValueData(data, type, data.size())));
    value.Registry = registry_;
  }
  return *subValues_;
}

std::optional<RegValue> RegKey::GetRegValue(const std::string& sValueName, uint32_t rktRootKey,
                                            const std::string& sKeyPath) {
  std::string path = sKeyPath;
  Resolve(rktRootKey, path);
  try {
    KeyGuard key(*registry_);
    reg::KeyInfo info;
    if (registry_->OpenKey(reg::RootHandle(rktRootKey), path, reg::kQueryValue, key.handle) != reg::kSuccess ||
        registry_->QueryInfoKey(key.handle, info) != reg::kSuccess) {
      return std::nullopt;
    }
    // A missing value is not told apart here: it reads as type 0 with no data, which displays as "".
    uint32_t type = reg::kNone;
    std::vector<uint8_t> data;
    registry_->QueryValue(key.handle, sValueName, type, data);
    RegValue value(rktRootKey, path, sValueName, type, parseValueData(data, type, data.size()));
    value.Registry = registry_;
    return value;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool RegKey::DeleteRegKey(bool bDeep, uint32_t rktRootKey, const std::string& sKeyPath) {
  std::string path = sKeyPath;
  Resolve(rktRootKey, path);
  // One file write for the whole tree on the Linux store.
  reg::ChangeBatch batch(*registry_);
  try {
    // An empty path is the root itself: a deep delete would wipe the whole hive.
    if (!NamesKeyBelowRoot(path)) throw regerrors::DeleteKeyFailed(0);
    if (bDeep) {
      std::shared_ptr<RegKeys> subKeys = ListSubKeys(rktRootKey, path);
      for (RegKey& subKey : *subKeys) DeleteRegKey(bDeep, rktRootKey, subKey.Path);
    }
    const int32_t rc = registry_->DeleteKey(reg::RootHandle(rktRootKey), path);
    if (rc == reg::kSuccess) return true;
    throw regerrors::DeleteKeyFailed(rc);
  } catch (const RuntimeError& error) {
    throw error.Prefixed(regerrors::DeleteKeyFailedPrefix());
  }
}

bool RegKey::DeleteRegValue(const std::string& sValueName, uint32_t rktRootKey, const std::string& sKeyPath) {
  std::string path = sKeyPath;
  Resolve(rktRootKey, path);
  RegValue value(rktRootKey, path, sValueName, reg::kNone, std::string());
  value.Registry = registry_;
  return value.Delete();
}

void RegKey::SetRegKey(const std::string& sSubKeyName, uint32_t rktRootKey, const std::string& sParentKeyPath) {
  std::string path = sParentKeyPath;
  Resolve(rktRootKey, path);
  KeyGuard parent(*registry_);
  KeyGuard created(*registry_);
  int32_t rc = registry_->OpenKey(reg::RootHandle(rktRootKey), path, reg::kCreateSubKey, parent.handle);
  if (rc == reg::kSuccess) rc = registry_->CreateKey(parent.handle, sSubKeyName, reg::kRead, created.handle);
  if (rc != reg::kSuccess) {
    throw RuntimeError(regerrors::kNumber, regerrors::kSource, "rc = " + std::to_string(rc) + "\r\n")
        .WithLastPlatformError(rc);
  }
}

void RegKey::SetRegValue(const std::string& sValueName, uint32_t rvtValueType, const RegValueData& vData,
                         uint32_t rktRootKey, const std::string& sKeyPath) {
  std::string path = sKeyPath;
  Resolve(rktRootKey, path);
  // The data is checked before the key is created, so a write that cannot happen leaves nothing behind.
  std::vector<uint8_t> bytes;
  if (!EncodeValue(rvtValueType, vData, bytes)) throw regerrors::CreateValueFailed(0);
  KeyGuard key(*registry_);
  int32_t rc = registry_->CreateKey(reg::RootHandle(rktRootKey), path, reg::kSetValue, key.handle);
  if (rc == reg::kSuccess) rc = registry_->SetValue(key.handle, sValueName, rvtValueType, bytes);
  if (rc != reg::kSuccess) throw regerrors::CreateValueFailed(rc);
}

RegValueData RegKey::parseValueData(const std::vector<uint8_t>& data, uint32_t type, size_t length) {
  try {
    if (type == reg::kDword) {
      // The first four bytes of the zero-filled buffer, whatever they hold.
      std::array<uint8_t, 4> bytes{};
      std::copy_n(data.begin(), std::min<size_t>(4, data.size()), bytes.begin());
      return static_cast<uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    }
    size_t kept = std::min(length, data.size());
    if (kept == 0 || data[0] == 0) return std::string();
    kept = static_cast<size_t>(std::find(data.begin() + 1, data.begin() + static_cast<std::ptrdiff_t>(kept), 0) -
                               data.begin());
    if (type == reg::kSz || type == reg::kExpandSz) return std::string(data.begin(), data.begin() + kept);
    return std::vector<uint8_t>(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(kept));
  } catch (const std::exception& error) {
    throw RuntimeError(7, regerrors::kSource, std::string("parseValueData failed!\r\n") + error.what());
  }
}

namespace {

constexpr std::array<std::pair<const char*, uint32_t>, 7> kRootNames = {{
    {"HKEY_CLASSES_ROOT", reg::kClassesRoot},
    {"HKEY_CURRENT_USER", reg::kCurrentUser},
    {"HKEY_LOCAL_MACHINE", reg::kLocalMachine},
    {"HKEY_USERS", reg::kUsers},
    {"HKEY_PERFORMANCE_DATA", reg::kPerformanceData},
    {"HKEY_CURRENT_CONFIG", reg::kCurrentConfig},
    {"HKEY_DYN_DATA", reg::kDynData},
}};

}  // namespace

uint32_t RegKey::TransRootKey(const std::string& sRootKey) {
  for (const auto& [name, value] : kRootNames) {
    if (sRootKey == name) return value;
  }
  return 0;
}

std::string RegKey::RootKeyName(uint32_t rootKey) {
  for (const auto& [name, value] : kRootNames) {
    if (rootKey == value) return name;
  }
  return "";
}

}  // namespace qm
