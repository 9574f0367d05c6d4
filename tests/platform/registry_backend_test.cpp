#include "platform/registry_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/error.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

const std::string kTree = "Software\\QuillmereTest\\Tree";

reg::KeyHandle User() { return reg::RootHandle(reg::kCurrentUser); }

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(RegistryBackend, KeysValuesAndResultCodesLikeWin32) {
  RegistryFixture fixture("registry_tree.reg");
  reg::RegistryBackend& r = fixture.Registry();
  reg::KeyHandle readOnly = 0;
  ASSERT_EQ(r.OpenKey(User(), "software\\QUILLMERETEST\\tree", reg::kQueryValue, readOnly), reg::kSuccess);
  // A handle carries the rights it was opened with.
  EXPECT_EQ(r.SetValue(readOnly, "Top", reg::kSz, Bytes(std::string("2\0", 2))), reg::kAccessDenied);
  std::string name;
  EXPECT_EQ(r.EnumKey(readOnly, 0, name), reg::kAccessDenied);
  EXPECT_EQ(r.CloseKey(readOnly), reg::kSuccess);
  reg::KeyHandle tree = 0;
  ASSERT_EQ(r.OpenKey(User(), "software\\QUILLMERETEST\\tree",
                      reg::kQueryValue | reg::kSetValue | reg::kEnumerateSubKeys, tree),
            reg::kSuccess);
  reg::KeyInfo info;
  ASSERT_EQ(r.QueryInfoKey(tree, info), reg::kSuccess);
  EXPECT_EQ(info.SubKeys, 5u);
  EXPECT_EQ(info.Values, 1u);
  EXPECT_EQ(info.MaxValueNameLength, 3u);
  EXPECT_GE(info.MaxSubKeyNameLength, 3u);

  uint32_t type = 99;
  std::vector<uint8_t> data = {7};
  EXPECT_EQ(r.QueryValue(tree, "Missing", type, data), reg::kFileNotFound);
  EXPECT_EQ(type, 99u);
  EXPECT_EQ(data, std::vector<uint8_t>{7});
  ASSERT_EQ(r.QueryValue(tree, "TOP", type, data), reg::kSuccess);
  EXPECT_EQ(type, reg::kSz);
  EXPECT_EQ(data, Bytes(std::string("1\0", 2)));
  // Text goes in and comes out as UTF-8 with its terminators, whatever the registry keeps.
  const std::string multi("中\0b\0\0", 7);
  ASSERT_EQ(r.SetValue(tree, "Multi", reg::kMultiSz, Bytes(multi)), reg::kSuccess);
  ASSERT_EQ(r.QueryValue(tree, "multi", type, data), reg::kSuccess);
  EXPECT_EQ(type, reg::kMultiSz);
  EXPECT_EQ(data, Bytes(multi));
  ASSERT_EQ(r.SetValue(tree, "Raw", reg::kBinary, {0, 1, 0}), reg::kSuccess);
  ASSERT_EQ(r.QueryValue(tree, "Raw", type, data), reg::kSuccess);
  EXPECT_EQ(data, (std::vector<uint8_t>{0, 1, 0}));
  EXPECT_EQ(r.DeleteValue(tree, "Raw"), reg::kSuccess);
  EXPECT_EQ(r.DeleteValue(tree, "Raw"), reg::kFileNotFound);
  EXPECT_EQ(r.EnumKey(tree, 5, name), reg::kNoMoreItems);
  EXPECT_EQ(r.EnumValue(tree, 2, name, type, data), reg::kNoMoreItems);
  EXPECT_EQ(r.CloseKey(tree), reg::kSuccess);

  reg::KeyHandle key = 0;
  EXPECT_EQ(r.OpenKey(User(), kTree + "\\Missing", reg::kQueryValue, key), reg::kFileNotFound);
  // Doubled and trailing separators are skipped; a leading one is refused.
  ASSERT_EQ(r.OpenKey(User(), "Software\\\\QuillmereTest\\Tree\\", reg::kQueryValue, key), reg::kSuccess);
  r.CloseKey(key);
  EXPECT_EQ(r.OpenKey(User(), "\\" + kTree, reg::kQueryValue, key), reg::kBadPathname);
  EXPECT_EQ(r.CreateKey(User(), "\\" + kTree + "\\X", reg::kSetValue, key), reg::kBadPathname);
  EXPECT_NE(r.OpenKey(reg::RootHandle(0), "Software", reg::kQueryValue, key), reg::kSuccess);

  // A key with sub-keys is refused, a leaf goes, a root never does.
  EXPECT_EQ(r.DeleteKey(User(), kTree + "\\a"), reg::kAccessDenied);
  EXPECT_EQ(r.DeleteKey(User(), kTree + "\\a\\Deep1\\Deeper"), reg::kSuccess);
  EXPECT_EQ(r.DeleteKey(User(), kTree + "\\a\\Deep1\\Deeper"), reg::kFileNotFound);
  EXPECT_EQ(r.DeleteKey(User(), ""), reg::kAccessDenied);
  ASSERT_EQ(r.CreateKey(User(), kTree + "\\New\\Deeper", reg::kSetValue, key), reg::kSuccess);
  EXPECT_EQ(r.SetValue(key, "", reg::kSz, Bytes(std::string("d\0", 2))), reg::kSuccess);
  EXPECT_EQ(r.CloseKey(key), reg::kSuccess);
  fixture.Reload();
  EXPECT_EQ(fixture.Dump(kTree + "\\a\\Deep1"),
            (std::vector<std::string>{kTree + "\\a\\Deep1", kTree + "\\a\\Deep1\\V=0x00000001 (1)"}));
  EXPECT_EQ(fixture.Dump(kTree + "\\New"), (std::vector<std::string>{kTree + "\\New", kTree + "\\New\\Deeper",
                                                                     kTree + "\\New\\Deeper\\=d"}));
}

TEST(RegistryBackend, RegeditExportAndUtf8FileGiveTheSameTree) {
  std::vector<std::string> utf8;
  {
    RegistryFixture fixture("registry_tree.reg");
    utf8 = fixture.Dump(kTree);
  }
  RegistryFixture fixture("registry_tree_regedit.reg");
  EXPECT_EQ(fixture.Dump(kTree), utf8);
  const std::string t = kTree + "\\";
  EXPECT_EQ(utf8, (std::vector<std::string>{
                      kTree, t + "Top=1", t + "[x", t + "a", t + "a\\Leaf=a", t + "a\\Deep1",
                      t + "a\\Deep1\\V=0x00000001 (1)", t + "a\\Deep1\\Deeper", t + "a\\Deep2",
                      t + "a\\Deep2\\V=0x00000002 (2)", t + "b_x", t + "Bx", t + "中文"}));
}

TEST(RegistryStore, WritesItsFileAtOnceOrOncePerBatchAndReadsWhatOthersWrote) {
  RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry keeps no store file";
  reg::RegistryBackend& r = fixture.Registry();
  reg::KeyHandle key = 0;
  ASSERT_EQ(r.CreateKey(User(), kTree + "\\Written", reg::kSetValue, key), reg::kSuccess);
  ASSERT_EQ(r.SetValue(key, "Name", reg::kSz, Bytes(std::string("ü\0", 3))), reg::kSuccess);
  r.CloseKey(key);
  EXPECT_EQ(ReadBytes(fixture.StoreFile()).substr(0, 2), "\xFF\xFE");
  EXPECT_FALSE(std::filesystem::exists(fixture.StoreFile() + ".tmp"));
  const std::string text = ReadFixtureText(fixture.StoreFile());
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\QuillmereTest\\Tree\\Written]\r\n\"Name\"=\"ü\"\r\n"),
            std::string::npos);

  // A handle of a deleted key is refused.
  ASSERT_EQ(r.OpenKey(User(), kTree + "\\b_x", reg::kSetValue, key), reg::kSuccess);
  ASSERT_EQ(r.DeleteKey(User(), kTree + "\\b_x"), reg::kSuccess);
  EXPECT_EQ(r.SetValue(key, "x", reg::kSz, Bytes(std::string("x\0", 2))), reg::kKeyDeleted);
  r.CloseKey(key);

  const std::string before = ReadBytes(fixture.StoreFile());
  {
    reg::ChangeBatch batch(r);
    {
      reg::ChangeBatch inner(r);
      EXPECT_EQ(r.DeleteKey(User(), kTree + "\\Bx"), reg::kSuccess);
    }
    EXPECT_EQ(r.DeleteKey(User(), kTree + "\\[x"), reg::kSuccess);
    EXPECT_EQ(ReadBytes(fixture.StoreFile()), before);
  }
  EXPECT_NE(ReadBytes(fixture.StoreFile()), before);

  // Taking the lock reads what another process wrote since.
  std::unique_ptr<reg::RegistryBackend> other = reg::OpenRegistry(fixture.StoreFile());
  ASSERT_EQ(other->DeleteKey(User(), kTree + "\\Written"), reg::kSuccess);
  ASSERT_EQ(r.Lock(), reg::kSuccess);
  EXPECT_EQ(fixture.Dump(kTree + "\\Written"), std::vector<std::string>{});
  EXPECT_EQ(fixture.Dump(kTree + "\\a\\Deep2").size(), 2u);
  r.Unlock();

  // A file that another process left unreadable is never overwritten: the store refuses every change.
  const std::string garbage = "not a registry file\r\n";
  WriteBytes(fixture.StoreFile(), garbage);
  ASSERT_EQ(r.Lock(), reg::kSuccess);
  EXPECT_NE(r.ReadOnlyReason().find(fixture.StoreFile()), std::string::npos) << r.ReadOnlyReason();
  EXPECT_EQ(r.CreateKey(User(), "Software\\Y", reg::kSetValue, key), reg::kAccessDenied);
  EXPECT_EQ(r.DeleteKey(User(), kTree + "\\a\\Deep2"), reg::kAccessDenied);
  r.Unlock();
  EXPECT_EQ(ReadBytes(fixture.StoreFile()), garbage);
}

TEST(RegistryStore, TwoWritersHoldingTheLockInTurnLoseNoChange) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "\r\n[HKEY_CURRENT_USER\\Software\\QuillmereTest\\K" + std::to_string(i) + "]\r\n";
  RegistryFixture fixture("", text);
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry needs no lock of ours";
  // Each writer holds its own copy of the tree and writes all of it back: without the lock, or without
  // reading the other's writes on taking it, one would put back keys the other had deleted.
  const auto deleteEvery = [&](int first) {
    std::unique_ptr<reg::RegistryBackend> writer = reg::OpenRegistry(fixture.StoreFile());
    for (int i = first; i < 40; i += 2) {
      ASSERT_EQ(writer->Lock(), reg::kSuccess);
      {
        reg::ChangeBatch batch(*writer);
        EXPECT_EQ(writer->DeleteKey(User(), "Software\\QuillmereTest\\K" + std::to_string(i)), reg::kSuccess);
      }
      writer->Unlock();
    }
  };
  std::thread other(deleteEvery, 1);
  deleteEvery(0);
  other.join();
  fixture.Reload();
  EXPECT_EQ(fixture.Dump("Software\\QuillmereTest"), std::vector<std::string>{"Software\\QuillmereTest"});
}

TEST(RegistryStore, OpensOnlyARegFileAndImportsOne) {
  RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry keeps no store file; its import is regedit's";
  ScratchFolder dir("store");
  // A named store must exist and be a .reg file; one that is refused is left as it was.
  const std::string broken = dir.Write("broken.reg", "not a registry file\r\n");
  for (const std::string& file : {broken, dir / "missing.reg", dir.Path()}) {
    try {
      reg::OpenRegistry(file);
      ADD_FAILURE() << file << " was opened";
    } catch (const RuntimeError& error) {
      EXPECT_NE(error.Description().find(file), std::string::npos) << error.Description();
    }
  }
  EXPECT_EQ(ReadBytes(broken), "not a registry file\r\n");
  // Past a line it cannot read the store reads the rest, and refuses every change, naming the line, so that
  // nothing of the file is ever lost.
  const std::string bad = "Windows Registry Editor Version 5.00\r\n\"Lost\"=hex:zz\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n";
  const std::string badFile = dir.Write("bad.reg", bad);
  const auto readOnly = reg::OpenRegistry(badFile);
  EXPECT_NE(readOnly->ReadOnlyReason().find(badFile + " line 2: "), std::string::npos) << readOnly->ReadOnlyReason();
  reg::KeyHandle key = 0;
  EXPECT_EQ(readOnly->OpenKey(reg::RootHandle(reg::kCurrentUser), "Software\\X", reg::kQueryValue, key), reg::kSuccess);
  readOnly->CloseKey(key);
  EXPECT_EQ(readOnly->CreateKey(reg::RootHandle(reg::kCurrentUser), "Software\\Y", reg::kSetValue, key),
            reg::kAccessDenied);
  EXPECT_EQ(ReadBytes(badFile), bad);
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string configHome = config && *config ? config : std::string(home ? home : "") + "/.config";
  EXPECT_EQ(reg::OpenRegistry()->StoreFile(), configHome + "/quillmere/registry.reg");

  const std::string patch = dir.Write("patch.reg",
                                      "Windows Registry Editor Version 5.00\r\n\r\n"
                                      "[-HKEY_CURRENT_USER\\Software\\QuillmereTest\\Tree\\a]\r\n\r\n"
                                      "[HKEY_CURRENT_USER\\Software\\QuillmereTest\\Tree]\r\n"
                                      "\"Top\"=-\r\n"
                                      "\"Added\"=dword:00000007\r\n");
  EXPECT_EQ(fixture.Registry().ImportRegFile(patch), reg::kSuccess);
  EXPECT_EQ(fixture.Registry().ImportRegFile(dir / "none.reg"), reg::kFileNotFound);
  fixture.Reload();
  const std::string t = kTree + "\\";
  EXPECT_EQ(fixture.Dump(kTree), (std::vector<std::string>{kTree, t + "Added=0x00000007 (7)", t + "[x",
                                                           t + "b_x", t + "Bx", t + "中文"}));
}

}  // namespace
}  // namespace qm::testing
