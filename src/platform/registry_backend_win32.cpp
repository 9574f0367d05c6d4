#include <windows.h>

#include "platform/error.h"
#include "platform/registry_backend.h"
#include "platform/text.h"

namespace qm::reg {

namespace {

HKEY Hkey(KeyHandle key) { return reinterpret_cast<HKEY>(key); }

std::wstring Wide(const std::string& utf8) {
  std::u16string units = text::Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(const wchar_t* units, size_t count) {
  return text::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(units), count));
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

/// Registry bytes as they cross our interface: UTF-16 texts become UTF-8, terminators included.
std::vector<uint8_t> FromRegistry(DWORD type, const BYTE* bytes, DWORD size) {
  if (!IsStringType(type)) return std::vector<uint8_t>(bytes, bytes + size);
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  std::string utf8 = text::Utf16ToUtf8(units);
  return std::vector<uint8_t>(utf8.begin(), utf8.end());
}

std::vector<BYTE> ToRegistry(DWORD type, const std::vector<uint8_t>& data) {
  if (!IsStringType(type)) return std::vector<BYTE>(data.begin(), data.end());
  std::u16string units = text::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  std::vector<BYTE> bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    bytes.push_back(static_cast<BYTE>(unit & 0xFF));
    bytes.push_back(static_cast<BYTE>(unit >> 8));
  }
  return bytes;
}

/// True when `path` names a key below the parent rather than the parent itself.
bool NamesSubKey(const std::string& path) { return path.find_first_not_of('\\') != std::string::npos; }

}  // namespace

KeyHandle RootHandle(uint32_t rootKey) {
  // The predefined HKEYs are the 32-bit numbers sign-extended to pointer width.
  return static_cast<KeyHandle>(static_cast<intptr_t>(static_cast<int32_t>(rootKey)));
}

namespace {

/// The real registry. It holds no state: every call goes straight to the system.
class Win32Registry final : public RegistryBackend {
 public:
  int32_t OpenKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) override {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(Hkey(parent), Wide(path).c_str(), 0, access, &key);
    if (rc == ERROR_SUCCESS) result = reinterpret_cast<KeyHandle>(key);
    return rc;
  }

  int32_t CreateKey(KeyHandle parent, const std::string& path, uint32_t access, KeyHandle& result) override {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(Hkey(parent), Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                              &key, nullptr);
    if (rc == ERROR_SUCCESS) result = reinterpret_cast<KeyHandle>(key);
    return rc;
  }

  int32_t CloseKey(KeyHandle key) override { return RegCloseKey(Hkey(key)); }

  int32_t QueryInfoKey(KeyHandle key, KeyInfo& info) override {
    DWORD subKeys = 0, maxSubKey = 0, maxClass = 0, values = 0, maxValueName = 0, maxValueData = 0;
    LONG rc = RegQueryInfoKeyW(Hkey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKey, &maxClass, &values,
                               &maxValueName, &maxValueData, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) info = KeyInfo{subKeys, maxSubKey, maxClass, values, maxValueName, maxValueData};
    return rc;
  }

  int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) override {
    // Key names are at most 255 characters on Windows; Wine takes longer ones, so a longer name is asked again.
    DWORD capacity = 256;
    for (;;) {
      std::wstring buffer(capacity, L'\0');
      DWORD length = capacity;
      LONG rc = RegEnumKeyExW(Hkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (rc == ERROR_MORE_DATA && capacity < 65536) {
        capacity *= 4;
        continue;
      }
      if (rc == ERROR_SUCCESS) name = Narrow(buffer.data(), length);
      return rc;
    }
  }

  int32_t EnumValue(KeyHandle key, uint32_t index, std::string& name, uint32_t& type, std::vector<uint8_t>& data) override {
    for (;;) {
      DWORD maxName = 0, maxData = 0;
      LONG rc = RegQueryInfoKeyW(Hkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                 &maxData, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) return rc;
      std::wstring nameBuffer(maxName + 1, L'\0');
      std::vector<BYTE> dataBuffer(maxData + 1);
      DWORD nameLength = maxName + 1, dataLength = maxData + 1, valueType = 0;
      rc = RegEnumValueW(Hkey(key), index, nameBuffer.data(), &nameLength, nullptr, &valueType, dataBuffer.data(),
                         &dataLength);
      // A value that grew between the two calls: ask again with the new sizes.
      if (rc == ERROR_MORE_DATA) continue;
      if (rc != ERROR_SUCCESS) return rc;
      name = Narrow(nameBuffer.data(), nameLength);
      type = valueType;
      data = FromRegistry(valueType, dataBuffer.data(), dataLength);
      return ERROR_SUCCESS;
    }
  }

  int32_t QueryValue(KeyHandle key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) override {
    std::wstring wideName = Wide(name);
    for (;;) {
      DWORD size = 0;
      LONG rc = RegQueryValueExW(Hkey(key), wideName.c_str(), nullptr, nullptr, nullptr, &size);
      if (rc != ERROR_SUCCESS) return rc;
      std::vector<BYTE> buffer(size + 1);
      DWORD valueType = 0;
      size = static_cast<DWORD>(buffer.size());
      rc = RegQueryValueExW(Hkey(key), wideName.c_str(), nullptr, &valueType, buffer.data(), &size);
      if (rc == ERROR_MORE_DATA) continue;
      if (rc != ERROR_SUCCESS) return rc;
      type = valueType;
      data = FromRegistry(valueType, buffer.data(), size);
      return ERROR_SUCCESS;
    }
  }

  int32_t SetValue(KeyHandle key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override {
    std::vector<BYTE> bytes = ToRegistry(type, data);
    return RegSetValueExW(Hkey(key), Wide(name).c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  }

  int32_t DeleteKey(KeyHandle parent, const std::string& path) override {
    // An empty path would delete the parent itself; the store refuses it too.
    if (!NamesSubKey(path)) return ERROR_ACCESS_DENIED;
    return RegDeleteKeyW(Hkey(parent), Wide(path).c_str());
  }

  int32_t DeleteValue(KeyHandle key, const std::string& name) override { return RegDeleteValueW(Hkey(key), Wide(name).c_str()); }

  bool HasKeySecurity() const override {
    // Windows 95, 98 and Me set the top bit of the version; every later system keeps key security.
    return static_cast<int32_t>(GetVersion()) >= 1;
  }

  int32_t GetKeySecurity(KeyHandle key, uint32_t information, std::vector<uint8_t>& descriptor, uint32_t& neededSize) override {
    DWORD size = static_cast<DWORD>(descriptor.size());
    LONG rc = RegGetKeySecurity(Hkey(key), information, descriptor.empty() ? nullptr : descriptor.data(), &size);
    neededSize = size;
    return rc;
  }

  int32_t SetKeySecurity(KeyHandle key, uint32_t information, const std::vector<uint8_t>& descriptor) override {
    std::vector<uint8_t> copy = descriptor;
    return RegSetKeySecurity(Hkey(key), information, copy.empty() ? nullptr : copy.data());
  }

  int32_t ImportRegFile(const std::string& file) override {
    std::wstring wideFile = Wide(file);
    wchar_t full[MAX_PATH * 4];
    DWORD length = GetFullPathNameW(wideFile.c_str(), MAX_PATH * 4, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 4) return static_cast<int32_t>(GetLastError());
    std::wstring commandLine = L"regedit.exe /S \"" + std::wstring(full, length) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      return static_cast<int32_t>(GetLastError());
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int32_t>(exitCode);
  }

  std::string StoreFile() const override { return ""; }
  std::string ReadOnlyReason() const override { return ""; }
  void BeginBatch() override {}
  int32_t EndBatch() override { return kSuccess; }
  int32_t Lock() override { return kSuccess; }
  void Unlock() override {}
};

}  // namespace

std::unique_ptr<RegistryBackend> OpenRegistry(const std::string& storeFile) {
  if (!storeFile.empty()) {
    throw RuntimeError(kInvalidParameter, "Registry", "a registry store file is for Linux only: " + storeFile);
  }
  return std::make_unique<Win32Registry>();
}

}  // namespace qm::reg
