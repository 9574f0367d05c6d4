#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "platform/registry_backend.h"
#include "platform/text.h"

namespace qm::test {

namespace {

constexpr std::string_view kCurrentUserPrefix = "HKEY_CURRENT_USER\\";

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string Utf16LeFile(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text::Utf8ToUtf16(utf8)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

/// Section keys of the fixture that lie below no other section of it.
std::vector<std::string> FindTopKeys(const std::string& fixtureText) {
  std::vector<std::string> sections;
  std::istringstream lines(fixtureText);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 2 || line.front() != '[' || line.back() != ']' || line[1] == '-') continue;
    std::string key = line.substr(1, line.size() - 2);
    if (key.compare(0, kCurrentUserPrefix.size(), kCurrentUserPrefix) != 0) {
      ADD_FAILURE() << "fixture key outside HKEY_CURRENT_USER: " << key;
      continue;
    }
    sections.push_back(key.substr(kCurrentUserPrefix.size()));
  }
  std::vector<std::string> top;
  for (const std::string& key : sections) {
    bool below = false;
    for (const std::string& other : sections) {
      below = below || (key.size() > other.size() && text::EqualsIgnoreCase(key.substr(0, other.size()), other) &&
                        key[other.size()] == '\\');
    }
    bool known = false;
    for (const std::string& seen : top) known = known || text::EqualsIgnoreCase(seen, key);
    if (!below && !known) top.push_back(key);
  }
  return top;
}

std::filesystem::path NewTempFolder() {
  // Test processes run side by side (ctest -j): the name must differ between processes, not just calls.
  static const std::string run = std::to_string(std::random_device()()) + "-" + std::to_string(std::random_device()());
  static std::atomic<int> counter{0};
  std::filesystem::path folder = std::filesystem::temp_directory_path() / ("qm-reg-" + run + "-" + std::to_string(counter++));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace

std::string FixturePath(const std::string& name) { return std::string(QM_FIXTURES_DIR) + "/" + name; }

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

bool KeyExists(uint32_t root, const std::string& path) {
  reg::KeyHandle key = 0;
  if (reg::OpenKey(reg::RootHandle(root), path, reg::kQueryValue, key) != reg::kSuccess) return false;
  reg::CloseKey(key);
  return true;
}

void DeleteTestKey(const std::string& path) {
  reg::KeyHandle root = reg::RootHandle(reg::kCurrentUser);
  reg::KeyHandle key = 0;
  if (reg::OpenKey(root, path, reg::kEnumerateSubKeys, key) != reg::kSuccess) return;
  std::vector<std::string> names;
  std::string name;
  for (uint32_t index = 0; reg::EnumKey(key, index, name) == reg::kSuccess; ++index) names.push_back(name);
  reg::CloseKey(key);
  for (const std::string& sub : names) DeleteTestKey(path + "\\" + sub);
  reg::DeleteKey(root, path);
}

RegistryFixture::RegistryFixture(const std::string& fixtureName) {
  std::string source = FixturePath(fixtureName);
  std::string fixtureText = ReadFixtureText(source);
  topKeys_ = FindTopKeys(fixtureText);
  folder_ = NewTempFolder();
  previousStoreFile_ = reg::RegistryStoreFile();
  usesStore_ = !previousStoreFile_.empty();
  if (usesStore_) {
    storeFile_ = (folder_ / "registry.reg").string();
    std::filesystem::copy_file(source, storeFile_);
    reg::SetRegistryStoreFile(storeFile_);
    return;
  }
  for (const std::string& key : topKeys_) DeleteTestKey(key);
  std::filesystem::path copy = folder_ / "import.reg";
  WriteBytes(copy, Utf16LeFile(fixtureText));
  EXPECT_EQ(reg::ImportRegFile(copy.string()), reg::kSuccess) << "regedit /S " << copy.string();
}

void RegistryFixture::Reload() const {
  if (usesStore_) reg::SetRegistryStoreFile(storeFile_);
}

RegistryFixture::~RegistryFixture() {
  if (usesStore_) {
    reg::SetRegistryStoreFile(previousStoreFile_);
  } else {
    for (const std::string& key : topKeys_) DeleteTestKey(key);
    // The common parent goes too once no fixture key is left in it.
    reg::DeleteKey(reg::RootHandle(reg::kCurrentUser), "Software\\QuillmereTest");
  }
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

}  // namespace qm::test
