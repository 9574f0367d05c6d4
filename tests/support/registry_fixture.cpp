#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"
#include "support/lines.h"
#include "support/scratch_folder.h"

namespace qm::testing {

namespace {

constexpr std::string_view kCurrentUserPrefix = "HKEY_CURRENT_USER\\";
constexpr std::string_view kCommonParent = "Software\\QuillmereTest";
constexpr char kHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";

/// Section keys of the fixture that lie below no other section of it (a repeated one may come twice).
Lines FindTopKeys(const std::string& fixtureText) {
  Lines sections;
  for (const std::string& line : TextLines(fixtureText)) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']' || line[1] == '-') continue;
    std::string key = line.substr(1, line.size() - 2);
    if (key.compare(0, kCurrentUserPrefix.size(), kCurrentUserPrefix) != 0) {
      ADD_FAILURE() << "fixture key outside HKEY_CURRENT_USER: " << key;
      continue;
    }
    sections.push_back(key.substr(kCurrentUserPrefix.size()));
  }
  Lines top;
  for (const std::string& key : sections) {
    bool below = false;
    for (const std::string& other : sections) {
      below = below || (key.size() > other.size() && text::EqualsIgnoreCase(key.substr(0, other.size()), other) &&
                        key[other.size()] == '\\');
    }
    if (!below) top.push_back(key);
  }
  return top;
}

void DeleteTree(reg::RegistryBackend& registry, const std::string& path) {
  RegKey key(registry, reg::kCurrentUser, path);
  for (RegKey& sub : key.EnumSubKeys()) DeleteTree(registry, sub.Path);
  registry.DeleteKey(reg::RootHandle(reg::kCurrentUser), path);
}

void DumpKey(RegKey& key, Lines& lines) {
  lines.push_back(key.Path);
  for (const RegValue& value : key.EnumSubValues()) {
    lines.push_back(key.Path + "\\" + value.ValueName + "=" + value.ValueDataString());
  }
  for (RegKey& sub : key.EnumSubKeys()) DumpKey(sub, lines);
}

}  // namespace

std::string FixturePath(const std::string& name) { return std::string(QM_FIXTURES_DIR) + "/" + name; }

std::string Utf16LeFile(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text::Utf8ToUtf16(utf8)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::string ReadFixtureText(const std::string& path) {
  std::string bytes = ReadBytes(path);
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
    std::u16string units;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
    return text::Utf16ToUtf8(units);
  }
  return bytes;
}

RegistryFixture::RegistryFixture(const std::string& fixtureName, const std::string& fixtureText) : folder_("reg") {
  const std::string text = !fixtureText.empty()  ? kHeader + fixtureText
                           : fixtureName.empty() ? std::string(kHeader)
                                                 : ReadFixtureText(FixturePath(fixtureName));
  topKeys_ = FindTopKeys(text);
  registry_ = reg::OpenRegistry();
  if (!registry_->StoreFile().empty()) {
    // A store of this test's own: the fixture is its file.
    storeFile_ = folder_ / "registry.reg";
    WriteBytes(storeFile_, Utf16LeFile(text));
    registry_ = reg::OpenRegistry(storeFile_);
    return;
  }
  for (const std::string& key : topKeys_) DeleteTree(*registry_, key);
  const std::string copy = folder_ / "import.reg";
  WriteBytes(copy, Utf16LeFile(text));
  EXPECT_EQ(registry_->ImportRegFile(copy), reg::kSuccess) << "regedit /S " << copy;
}

void RegistryFixture::Reload() {
  if (UsesStore()) registry_ = reg::OpenRegistry(storeFile_);
}

Lines RegistryFixture::Dump(const std::string& path) {
  Lines lines;
  reg::KeyHandle handle = 0;
  if (registry_->OpenKey(reg::RootHandle(reg::kCurrentUser), path, reg::kQueryValue, handle) != reg::kSuccess) {
    return lines;
  }
  registry_->CloseKey(handle);
  RegKey key(*registry_, reg::kCurrentUser, path);
  DumpKey(key, lines);
  return lines;
}

RegistryFixture::~RegistryFixture() {
  if (UsesStore()) return;
  for (const std::string& key : topKeys_) {
    DeleteTree(*registry_, key);
    // The import made the keys above a fixture's own ones: they go once nothing is left in them, the
    // common parent included (a key with sub-keys refuses to go).
    if (key.rfind(kCommonParent, 0) != 0) continue;
    for (size_t end = key.rfind('\\'); end != std::string::npos && end >= kCommonParent.size();
         end = key.rfind('\\', end - 1)) {
      registry_->DeleteKey(reg::RootHandle(reg::kCurrentUser), key.substr(0, end));
    }
  }
}

}  // namespace qm::testing
