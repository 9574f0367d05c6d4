#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qm::test {

/// The full path of a file under tests/fixtures.
std::string FixturePath(const std::string& name);

/// Loads a .reg fixture into the registry for the life of the object. Fixtures keep their keys under
/// HKEY_CURRENT_USER\Software\QuillmereTest.
///
/// With the Linux store the store is pointed at a temporary copy of the fixture (and back afterwards). With
/// the real registry the fixture's top keys are deleted first, the fixture is imported with `regedit /S`
/// (from a UTF-16LE copy, the only form regedit reads non-ASCII text from), and the top keys are deleted
/// again at the end.
class RegistryFixture {
 public:
  explicit RegistryFixture(const std::string& fixtureName);
  ~RegistryFixture();
  RegistryFixture(const RegistryFixture&) = delete;
  RegistryFixture& operator=(const RegistryFixture&) = delete;

  /// True when the Linux store is in use.
  bool UsesStore() const { return usesStore_; }
  /// The store file the fixture was copied to ("" with the real registry).
  const std::string& StoreFile() const { return storeFile_; }
  /// The temporary folder of this fixture, removed at the end.
  const std::filesystem::path& Folder() const { return folder_; }
  /// Reads the store back from its file, so what a test sees next is what was written to disk. The real
  /// registry needs nothing.
  void Reload() const;
  /// The fixture's top keys, below HKEY_CURRENT_USER.
  const std::vector<std::string>& TopKeys() const { return topKeys_; }

 private:
  bool usesStore_ = false;
  std::string previousStoreFile_;
  std::string storeFile_;
  std::filesystem::path folder_;
  std::vector<std::string> topKeys_;
};

/// True when the key `path` below the root `root` (a predefined handle value) can be opened.
bool KeyExists(uint32_t root, const std::string& path);

/// Deletes a key below HKEY_CURRENT_USER with everything under it, straight through the backend.
void DeleteTestKey(const std::string& path);

/// The fixture file as UTF-8 text, whichever encoding it is stored in.
std::string ReadFixtureText(const std::string& path);

}  // namespace qm::test
