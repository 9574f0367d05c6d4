#include "platform/registry_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/registry_fixture.h"

namespace qm::reg {

namespace {

const std::string kTree = "Software\\QuillmereTest\\Tree";

KeyHandle User() { return RootHandle(kCurrentUser); }

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

/// Keys and values below `path`, depth first in enumeration order, one line each.
std::string Listing(const std::string& path) {
  std::string out = "[" + path + "]\n";
  KeyHandle key = 0;
  if (OpenKey(User(), path, kQueryValue | kEnumerateSubKeys, key) != kSuccess) return out + "missing\n";
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  for (uint32_t i = 0; EnumValue(key, i, name, type, data) == kSuccess; ++i) {
    out += name + "=" + std::to_string(type) + ":" + std::string(data.begin(), data.end()) + "\n";
  }
  std::vector<std::string> subKeys;
  for (uint32_t i = 0; EnumKey(key, i, name) == kSuccess; ++i) subKeys.push_back(name);
  CloseKey(key);
  for (const std::string& sub : subKeys) out += Listing(path + "\\" + sub);
  return out;
}

std::vector<std::string> SubKeyNames(const std::string& path) {
  std::vector<std::string> names;
  KeyHandle key = 0;
  if (OpenKey(User(), path, kEnumerateSubKeys, key) != kSuccess) return names;
  std::string name;
  for (uint32_t i = 0; EnumKey(key, i, name) == kSuccess; ++i) names.push_back(name);
  CloseKey(key);
  return names;
}

std::vector<std::string> ValueNames(const std::string& path) {
  std::vector<std::string> names;
  KeyHandle key = 0;
  if (OpenKey(User(), path, kQueryValue, key) != kSuccess) return names;
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  for (uint32_t i = 0; EnumValue(key, i, name, type, data) == kSuccess; ++i) names.push_back(name);
  CloseKey(key);
  return names;
}

}  // namespace

TEST(RegistryBackendTest, KeysValuesAndResultCodesLikeWin32) {
  test::RegistryFixture fixture("registry_tree.reg");
  KeyHandle tree = 0;
  KeyHandle readOnly = 0;
  ASSERT_EQ(OpenKey(User(), "software\\QUILLMERETEST\\tree", kQueryValue, readOnly), kSuccess);
  // A handle carries the rights it was opened with.
  EXPECT_EQ(SetValue(readOnly, "Top", kSz, Bytes(std::string("2\0", 2))), kAccessDenied);
  std::string subKey;
  EXPECT_EQ(EnumKey(readOnly, 0, subKey), kAccessDenied);
  EXPECT_EQ(CloseKey(readOnly), kSuccess);
  ASSERT_EQ(OpenKey(User(), "software\\QUILLMERETEST\\tree", kQueryValue | kSetValue | kEnumerateSubKeys, tree),
            kSuccess);
  KeyInfo info;
  ASSERT_EQ(QueryInfoKey(tree, info), kSuccess);
  EXPECT_EQ(info.SubKeys, 5u);
  EXPECT_EQ(info.Values, 1u);
  EXPECT_EQ(info.MaxValueNameLength, 3u);
  EXPECT_GE(info.MaxSubKeyNameLength, 3u);

  uint32_t type = 99;
  std::vector<uint8_t> data = {7};
  EXPECT_EQ(QueryValue(tree, "Missing", type, data), kFileNotFound);
  EXPECT_EQ(type, 99u);
  EXPECT_EQ(data, std::vector<uint8_t>{7});
  ASSERT_EQ(QueryValue(tree, "TOP", type, data), kSuccess);
  EXPECT_EQ(type, kSz);
  EXPECT_EQ(data, Bytes(std::string("1\0", 2)));

  // Text goes in and comes out as UTF-8 with its terminators, whatever the registry keeps.
  const std::string multi("中\0b\0\0", 7);
  ASSERT_EQ(SetValue(tree, "Multi", kMultiSz, Bytes(multi)), kSuccess);
  ASSERT_EQ(QueryValue(tree, "multi", type, data), kSuccess);
  EXPECT_EQ(type, kMultiSz);
  EXPECT_EQ(data, Bytes(multi));
  ASSERT_EQ(SetValue(tree, "Raw", kBinary, {0, 1, 0}), kSuccess);
  ASSERT_EQ(QueryValue(tree, "Raw", type, data), kSuccess);
  EXPECT_EQ(data, (std::vector<uint8_t>{0, 1, 0}));
  EXPECT_EQ(DeleteValue(tree, "Raw"), kSuccess);
  EXPECT_EQ(DeleteValue(tree, "Raw"), kFileNotFound);

  std::string name;
  EXPECT_EQ(EnumKey(tree, 5, name), kNoMoreItems);
  EXPECT_EQ(EnumValue(tree, 2, name, type, data), kNoMoreItems);
  EXPECT_EQ(CloseKey(tree), kSuccess);

  KeyHandle missing = 0;
  EXPECT_EQ(OpenKey(User(), kTree + "\\Missing", kQueryValue, missing), kFileNotFound);
  // Doubled and trailing separators are skipped; a leading one is refused.
  ASSERT_EQ(OpenKey(User(), "Software\\\\QuillmereTest\\Tree\\", kQueryValue, missing), kSuccess);
  CloseKey(missing);
  EXPECT_EQ(OpenKey(User(), "\\" + kTree, kQueryValue, missing), kBadPathname);
  EXPECT_EQ(CreateKey(User(), "\\" + kTree + "\\X", kSetValue, missing), kBadPathname);
  EXPECT_NE(OpenKey(RootHandle(0), "Software", kQueryValue, missing), kSuccess);

  // A key with sub-keys is refused, a leaf goes, a root never does.
  EXPECT_EQ(DeleteKey(User(), kTree + "\\a"), kAccessDenied);
  EXPECT_EQ(DeleteKey(User(), kTree + "\\a\\Deep1\\Deeper"), kSuccess);
  EXPECT_EQ(DeleteKey(User(), kTree + "\\a\\Deep1\\Deeper"), kFileNotFound);
  EXPECT_EQ(DeleteKey(User(), ""), kAccessDenied);
  EXPECT_EQ(SubKeyNames(kTree + "\\a\\Deep1"), std::vector<std::string>{});

  KeyHandle created = 0;
  ASSERT_EQ(CreateKey(User(), kTree + "\\New\\Deeper", kSetValue, created), kSuccess);
  EXPECT_EQ(SetValue(created, "", kSz, Bytes(std::string("d\0", 2))), kSuccess);
  EXPECT_EQ(CloseKey(created), kSuccess);
  EXPECT_EQ(Listing(kTree + "\\New"), "[" + kTree + "\\New]\n[" + kTree + "\\New\\Deeper]\n=1:" + std::string("d\0", 2) + "\n");
}

TEST(RegistryBackendTest, RegeditExportAndUtf8FileGiveTheSameTree) {
  std::string utf8;
  std::string utf16;
  {
    test::RegistryFixture fixture("registry_tree.reg");
    utf8 = Listing(kTree);
  }
  {
    test::RegistryFixture fixture("registry_tree_regedit.reg");
    utf16 = Listing(kTree);
  }
  EXPECT_EQ(utf8, utf16);
  EXPECT_NE(utf8.find("[" + kTree + "\\中文]"), std::string::npos);
  EXPECT_NE(utf8.find("[" + kTree + "\\a\\Deep1\\Deeper]"), std::string::npos);
  EXPECT_NE(utf8.find("V=4:" + std::string("\x01\0\0\0", 4)), std::string::npos);
}

TEST(RegistryStoreFileTest, ChangesAreWrittenAtomicallyInUtf16) {
  test::RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry keeps no store file";
  KeyHandle key = 0;
  ASSERT_EQ(CreateKey(User(), kTree + "\\Written", kSetValue, key), kSuccess);
  ASSERT_EQ(SetValue(key, "Name", kSz, Bytes(std::string("ü\0", 3))), kSuccess);
  CloseKey(key);

  std::string bytes = ReadFile(fixture.StoreFile());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_FALSE(std::filesystem::exists(fixture.StoreFile() + ".tmp"));
  std::string text = test::ReadFixtureText(fixture.StoreFile());
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\QuillmereTest\\Tree\\Written]\r\n\"Name\"=\"ü\"\r\n"),
            std::string::npos);

  std::string before = Listing(kTree);
  fixture.Reload();
  EXPECT_EQ(Listing(kTree), before);
}

TEST(RegistryStoreFileTest, SubKeysSortedValuesInCreationOrder) {
  test::RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "Wine enumerates values sorted; the store keeps creation order";
  KeyHandle key = 0;
  ASSERT_EQ(CreateKey(User(), kTree + "\\Order", kSetValue | kCreateSubKey, key), kSuccess);
  for (const char* name : {"zeta", "Alpha", "mid"}) {
    SetValue(key, name, kSz, Bytes(std::string("x\0", 2)));
    KeyHandle sub = 0;
    CreateKey(key, name, kRead, sub);
    CloseKey(sub);
  }
  SetValue(key, "ALPHA", kSz, Bytes(std::string("y\0", 2)));
  CloseKey(key);
  fixture.Reload();
  EXPECT_EQ(ValueNames(kTree + "\\Order"), (std::vector<std::string>{"zeta", "Alpha", "mid"}));
  EXPECT_EQ(SubKeyNames(kTree + "\\Order"), (std::vector<std::string>{"Alpha", "mid", "zeta"}));
}

TEST(RegistryStoreFileTest, HandlesOfDeletedKeysAndBatches) {
  test::RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry keeps no store file";
  KeyHandle leaf = 0;
  ASSERT_EQ(OpenKey(User(), kTree + "\\b_x", kSetValue, leaf), kSuccess);
  ASSERT_EQ(DeleteKey(User(), kTree + "\\b_x"), kSuccess);
  EXPECT_EQ(SetValue(leaf, "x", kSz, Bytes(std::string("x\0", 2))), kKeyDeleted);
  CloseKey(leaf);

  std::string before = ReadFile(fixture.StoreFile());
  {
    ChangeBatch batch;
    {
      ChangeBatch inner;
      EXPECT_EQ(DeleteKey(User(), kTree + "\\Bx"), kSuccess);
    }
    EXPECT_EQ(DeleteKey(User(), kTree + "\\[x"), kSuccess);
    EXPECT_EQ(ReadFile(fixture.StoreFile()), before);
  }
  EXPECT_NE(ReadFile(fixture.StoreFile()), before);
  fixture.Reload();
  EXPECT_EQ(SubKeyNames(kTree), (std::vector<std::string>{"a", "中文"}));
}

TEST(RegistryStoreFileTest, AFileThatCannotBeReadIsNeverOverwritten) {
  test::RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry keeps no store file";
  std::filesystem::path broken = fixture.Folder() / "broken.reg";
  const std::string garbage = "not a registry file\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n";
  WriteFile(broken, garbage);
  SetRegistryStoreFile(broken.string());
  KeyHandle key = 0;
  EXPECT_EQ(OpenKey(User(), "Software\\X", kQueryValue, key), kFileNotFound);
  EXPECT_EQ(CreateKey(User(), "Software\\Y", kSetValue, key), kAccessDenied);
  EXPECT_EQ(ReadFile(broken.string()), garbage);

  // A missing file is an empty registry; the first change creates it with its folder.
  std::filesystem::path fresh = fixture.Folder() / "new" / "folder" / "registry.reg";
  SetRegistryStoreFile(fresh.string());
  EXPECT_EQ(OpenKey(User(), "Software", kQueryValue, key), kFileNotFound);
  ASSERT_EQ(CreateKey(User(), "Software\\Y", kSetValue, key), kSuccess);
  CloseKey(key);
  EXPECT_NE(test::ReadFixtureText(fresh.string()).find("[HKEY_CURRENT_USER\\Software\\Y]"), std::string::npos);
}

TEST(RegistryStoreFileTest, ImportMergesARegFile) {
  test::RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the Windows import is regedit's own";
  std::filesystem::path patch = fixture.Folder() / "patch.reg";
  WriteFile(patch,
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[-HKEY_CURRENT_USER\\Software\\QuillmereTest\\Tree\\a]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\QuillmereTest\\Tree]\r\n"
            "\"Top\"=-\r\n"
            "\"Added\"=dword:00000007\r\n");
  EXPECT_EQ(ImportRegFile(patch.string()), kSuccess);
  fixture.Reload();
  EXPECT_EQ(SubKeyNames(kTree), (std::vector<std::string>{"[x", "b_x", "Bx", "中文"}));
  EXPECT_EQ(ValueNames(kTree), (std::vector<std::string>{"Added"}));
  EXPECT_EQ(ImportRegFile((fixture.Folder() / "none.reg").string()), kFileNotFound);
}

TEST(RegistryStoreFileTest, DefaultFileFollowsTheConfigurationHome) {
  test::RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry keeps no store file";
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string folder = config && *config ? config : std::string(home ? home : "") + "/.config";
  SetRegistryStoreFile("");
  EXPECT_EQ(RegistryStoreFile(), folder + "/quillmere/registry.reg");
}

}  // namespace qm::reg
