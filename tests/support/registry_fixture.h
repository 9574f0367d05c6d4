#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "support/scratch_folder.h"

namespace qm::testing {

/// The full path of a file under tests/fixtures.
std::string FixturePath(const std::string& name);

/// The registry of one test, loaded from a .reg fixture (or empty) for the life of the object. Fixtures keep
/// their keys under HKEY_CURRENT_USER\Software\QuillmereTest.
///
/// With the Linux store the registry is a store of its own, in a temporary copy of the fixture. With the real
/// registry the fixture's top keys are deleted first, the fixture is imported with `regedit /S` (from a
/// UTF-16LE copy, the only form regedit reads non-ASCII text from), and the top keys are deleted again at the
/// end.
class RegistryFixture {
 public:
  /// `fixtureName`: a file under tests/fixtures, or "" for an empty registry; `fixtureText`, when given,
  /// is the fixture's content instead.
  explicit RegistryFixture(const std::string& fixtureName = "", const std::string& fixtureText = "");
  ~RegistryFixture();
  RegistryFixture(const RegistryFixture&) = delete;
  RegistryFixture& operator=(const RegistryFixture&) = delete;

  reg::RegistryBackend& Registry() { return *registry_; }
  /// True when the Linux store is in use.
  bool UsesStore() const { return !storeFile_.empty(); }
  /// The store file ("" with the real registry).
  const std::string& StoreFile() const { return storeFile_; }
  /// Opens the store again from its file, so what a test sees next is what was written to disk. The real
  /// registry needs nothing.
  void Reload();

  /// Every key and value below `path` (HKEY_CURRENT_USER), one line each in enumeration order: a key as
  /// "path", a value as "path\name=data as displayed". What a test compares a registry with.
  std::vector<std::string> Dump(const std::string& path);

 private:
  ScratchFolder folder_;
  std::string storeFile_;
  std::vector<std::string> topKeys_;
  std::unique_ptr<reg::RegistryBackend> registry_;
};

/// `utf8` as the bytes of a UTF-16LE file with its byte-order mark.
std::string Utf16LeFile(const std::string& utf8);
/// The fixture file as UTF-8 text, whichever encoding it is stored in.
std::string ReadFixtureText(const std::string& path);

}  // namespace qm::testing
