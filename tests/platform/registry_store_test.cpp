#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/error.h"
#include "platform/registry_backend.h"
#include "platform/registry_store_format.h"
#include "platform/text.h"
#include "support/lines.h"
#include "support/raised_error.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"

namespace qm::reg {
namespace {

using namespace testing;

const std::string kTree = "Software\\QuillmereTest\\Tree";

KeyHandle User() { return RootHandle(kCurrentUser); }

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

/// "k\k\...\k", `levels` keys deep.
std::string Chain(size_t levels) {
  std::string path;
  for (size_t i = 0; i < levels; ++i) path += i ? "\\k" : "k";
  return path;
}

TEST(RegistryStoreTest, KeysAreFoundWithoutCaseAndGoNoDeeperThanWindowsAllows) {
  RegistryStore store;
  bool created = false;
  auto root = store.Root(kCurrentUser);
  auto key = RegistryStore::Create(root, "Software\\\\Zeta\\", created);
  EXPECT_TRUE(created);
  RegistryStore::Create(root, "SOFTWARE\\ZETA", created);
  EXPECT_FALSE(created);
  auto software = RegistryStore::Find(root, "sOfTwArE");
  ASSERT_TRUE(software);
  EXPECT_EQ(software->Name, "Software");
  EXPECT_EQ(software->SubKeys.size(), 1u);
  EXPECT_TRUE(RegistryStore::RemoveTree(root, "software"));
  EXPECT_TRUE(key->Deleted);
  EXPECT_FALSE(RegistryStore::Find(root, "Software\\Zeta"));
  EXPECT_FALSE(RegistryStore::RemoveTree(root, "Software"));

  // 512 levels below the root, counted from wherever the new keys start; deeper is refused whole.
  const std::tuple<size_t, size_t, bool> cases[] = {
      {0, 512, true}, {0, 513, false}, {0, 10000, false}, {500, 12, true}, {500, 13, false}};
  for (const auto& [fromLevels, levels, allowed] : cases) {
    SCOPED_TRACE(std::to_string(fromLevels) + " + " + std::to_string(levels));
    RegistryStore deep;
    auto from = RegistryStore::Create(deep.Root(kCurrentUser), Chain(fromLevels), created);
    auto deepest = RegistryStore::Create(from, Chain(levels), created);
    EXPECT_EQ(created, allowed);
    EXPECT_EQ(from->SubKeys.empty(), !allowed);
    if (!deepest) continue;
    EXPECT_EQ(deepest->Depth, fromLevels + levels);
    RegistryStore reread;
    ASSERT_EQ(ParseRegFile(FormatRegFile(deep), reread).Problem.Line, 0u);
    EXPECT_TRUE(RegistryStore::Find(reread.Root(kCurrentUser), Chain(fromLevels + levels)));
    EXPECT_TRUE(RegistryStore::RemoveTree(deep.Root(kCurrentUser), "k"));
    EXPECT_TRUE(deepest->Deleted);
  }
}

TEST(RegistryStoreTest, ValuesAreFoundWithoutCaseAndEnumeratedInCreationOrder) {
  // Random changes and reads, checked at every step against a plain list of (name, type) in creation order.
  RegistryStore::Node key;
  std::vector<std::pair<std::string, uint32_t>> model;
  std::mt19937 random(20261206);
  auto expectAt = [&](size_t index) {
    ASSERT_LT(index, model.size());
    EXPECT_EQ(key.Values[index].Name, model[index].first);
    EXPECT_EQ(key.Values[index].Type, model[index].second);
  };
  for (int step = 0; step < 20000; ++step) {
    const std::string name = (random() % 2 ? "v" : "V") + std::to_string(random() % 300);
    auto known = std::find_if(model.begin(), model.end(),
                              [&](const auto& entry) { return text::EqualsIgnoreCase(entry.first, name); });
    EXPECT_EQ(key.Values.Find(name) != nullptr, known != model.end());
    const uint32_t type = random() % 3;
    switch (random() % 4) {
      case 0:
      case 1:
        EXPECT_EQ(key.Values.Set(name, type, {}), known == model.end() || known->second != type);
        if (known == model.end())
          model.emplace_back(name, type);
        else
          known->second = type;
        break;
      case 2:
        EXPECT_EQ(key.Values.Erase(name), known != model.end());
        if (known != model.end()) model.erase(known);
        break;
      default:
        if (model.empty()) break;
        // Reading a value and deleting it, as a clean does, then reading the one that takes its place.
        const size_t index = random() % model.size();
        expectAt(index);
        if (type == 0) {
          EXPECT_TRUE(key.Values.Erase(model[index].first));
          model.erase(model.begin() + static_cast<std::ptrdiff_t>(index));
          if (index < model.size()) expectAt(index);
        }
    }
    ASSERT_EQ(key.Values.size(), model.size());
  }
  ASSERT_GT(model.size(), 100u);
  for (size_t i = model.size(); i-- > 0;) expectAt(i);
  size_t index = 0;
  for (const auto& value : key.Values) EXPECT_EQ(value.Name, model[index++].first);
}

TEST(RegistryStoreTest, WritesWhatRegeditWritesAndReadsItBack) {
  RegistryStore store;
  bool created = false;
  auto root = store.Root(kCurrentUser);
  auto key = RegistryStore::Create(root, "Software\\Quill \"mere\"\\中文", created);
  RegistryStore::Create(root, "Software\\Empty", created);
  RegistryStore::Create(root, "Software\\Line\nbreaks\r \"q\"\\Child", created);
  key->Values.Set("", 1, Bytes(std::string("default\0", 8)));
  key->Values.Set("Path", 1, Bytes(std::string("C:\\x \"y\"\0", 9)));
  key->Values.Set("Lines", 1, Bytes(std::string("a\r\nb\0", 5)));
  key->Values.Set("Unterminated", 1, Bytes("abc"));
  key->Values.Set("Two NULs", 1, Bytes(std::string("abc\0\0", 5)));
  key->Values.Set("Number", 4, {0x02, 0x01, 0, 0});
  key->Values.Set("Short dword", 4, {0x02});
  key->Values.Set("Expand", 2, Bytes(std::string("%TEMP%\\ü\0", 10)));
  key->Values.Set("Multi", 7, Bytes(std::string("a\0b\0\0", 5)));
  key->Values.Set("Qword", 11, {1, 2, 3, 4, 5, 6, 7, 8});
  key->Values.Set("None", 0, {});
  key->Values.Set(std::string("Name\r\nwith \"all\" \\ odd\0 ones", 28), 4, {1, 0, 0, 0});
  std::vector<uint8_t> big(300);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i);
  key->Values.Set("Big", 3, big);
  RegistryStore::Create(store.Root(0x80000002u), "Software\\M", created);
  store.Root(0x80000003u)->Values.Set("AtRoot", 1, Bytes(std::string("r\0", 2)));

  // UTF-16 with a BOM (read back as text only with one); text that would break a line, or not come back the
  // same, is written as hex data; a key name only when it would break the line is written quoted.
  const std::string file = FormatRegFile(store);
  ScratchFolder dir("written");
  EXPECT_EQ(ReadFixtureText(dir.Write("store.reg", file)), ReadBytes(FixturePath("platform/written_store.reg")));
  RegistryStore reread;
  EXPECT_EQ(ParseRegFile(file, reread).Problem.Line, 0u);
  EXPECT_EQ(FormatRegFile(reread), file);
}

TEST(RegistryStoreTest, ReadsRegeditSyntaxAndReportsTheFirstLineItCannotReadButReadsTheRest) {
  RegistryStore store;
  bool created = false;
  RegistryStore::Create(store.Root(kCurrentUser), "Software\\Old\\Child", created);
  RegFileResult result = ParseRegFile(ReadBytes(FixturePath("platform/regedit_syntax.reg")), store);
  EXPECT_TRUE(result.IsRegFile);
  EXPECT_EQ(result.Problem.Line, 0u) << result.Problem.Reason;
  auto root = store.Root(kCurrentUser);
  EXPECT_FALSE(RegistryStore::Find(root, "Software\\Old"));
  auto key = RegistryStore::Find(root, "Software\\New");
  ASSERT_TRUE(key);
  Lines names;
  for (const auto& value : key->Values) names.push_back(value.Name);
  EXPECT_EQ(names, (Lines{"", "Esc", "Hex", "Dw"}));
  EXPECT_EQ(key->Values.Find("esc")->Data, Bytes(std::string("a\\b\"c\nd\0", 8)));
  EXPECT_EQ(key->Values.Find("Hex")->Data, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(key->Values.Find("Dw")->Data, (std::vector<uint8_t>{10, 0, 0, 0}));

  // REGEDIT4 files are in the ANSI code page, their hex(N) texts too.
  RegistryStore ansi;
  ASSERT_TRUE(
      ParseRegFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Caf\xE9]\r\n\"N\"=\"\xE9\"\r\n\"E\"=hex(2):e9,00\r\n", ansi)
          .IsRegFile);
  auto cafe = RegistryStore::Find(ansi.Root(kCurrentUser), "Café");
  ASSERT_TRUE(cafe);
  EXPECT_EQ(cafe->Values.Find("N")->Data, Bytes(std::string("é\0", 3)));
  EXPECT_EQ(cafe->Values.Find("E")->Data, Bytes(std::string("é\0", 3)));

  // Anything else is not a .reg file and changes nothing.
  RegistryStore untouched;
  EXPECT_FALSE(ParseRegFile("[HKEY_CURRENT_USER\\Software\\X]\r\n", untouched).IsRegFile);
  EXPECT_FALSE(ParseRegFile("", untouched).IsRegFile);
  EXPECT_FALSE(RegistryStore::Find(untouched.Root(kCurrentUser), "Software"));

  // Each text goes in at line 4; the lines before and after it are read all the same.
  auto cases = FixtureCases("platform/reg_file_problems.txt");
  cases.emplace_back("[HKEY_CURRENT_USER\\" + Chain(513) + "]", "4 key deeper than 512 levels");
  for (const auto& [lines, problem] : cases) {
    SCOPED_TRACE(lines.substr(0, 60));
    RegistryStore store;
    RegFileResult result =
        ParseRegFile("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\T]\r\n\"Before\"=\"1\"\r\n" +
                         Unescaped(lines) + "\r\n[HKEY_CURRENT_USER\\U]\r\n\"After\"=\"2\"\r\n",
                     store);
    EXPECT_TRUE(result.IsRegFile);
    EXPECT_EQ(std::to_string(result.Problem.Line) + " " + result.Problem.Reason, problem);
    auto before = RegistryStore::Find(store.Root(kCurrentUser), "T");
    auto after = RegistryStore::Find(store.Root(kCurrentUser), "U");
    ASSERT_TRUE(before && after);
    EXPECT_EQ(before->Values.Find("Before")->Data, Bytes(std::string("1\0", 2)));
    EXPECT_EQ(after->Values.Find("After")->Data, Bytes(std::string("2\0", 2)));
    EXPECT_FALSE(before->Values.Find("Bad"));
  }
}

TEST(RegistryBackend, KeysValuesAndResultCodesLikeWin32) {
  RegistryFixture fixture("registry_tree.reg");
  RegistryBackend& r = fixture.Registry();
  KeyHandle readOnly = 0;
  ASSERT_EQ(r.OpenKey(User(), "software\\QUILLMERETEST\\tree", kQueryValue, readOnly), kSuccess);
  // A handle carries the rights it was opened with.
  EXPECT_EQ(r.SetValue(readOnly, "Top", kSz, Bytes(std::string("2\0", 2))), kAccessDenied);
  std::string name;
  EXPECT_EQ(r.EnumKey(readOnly, 0, name), kAccessDenied);
  EXPECT_EQ(r.CloseKey(readOnly), kSuccess);
  KeyHandle tree = 0;
  ASSERT_EQ(r.OpenKey(User(), "software\\QUILLMERETEST\\tree", kQueryValue | kSetValue | kEnumerateSubKeys, tree),
            kSuccess);
  KeyInfo info;
  ASSERT_EQ(r.QueryInfoKey(tree, info), kSuccess);
  EXPECT_EQ(info.SubKeys, 5u);
  EXPECT_EQ(info.Values, 1u);
  EXPECT_EQ(info.MaxValueNameLength, 3u);
  EXPECT_GE(info.MaxSubKeyNameLength, 3u);

  uint32_t type = 99;
  std::vector<uint8_t> data = {7};
  EXPECT_EQ(r.QueryValue(tree, "Missing", type, data), kFileNotFound);
  EXPECT_EQ(type, 99u);
  EXPECT_EQ(data, std::vector<uint8_t>{7});
  ASSERT_EQ(r.QueryValue(tree, "TOP", type, data), kSuccess);
  EXPECT_EQ(type, kSz);
  EXPECT_EQ(data, Bytes(std::string("1\0", 2)));
  // Text goes in and comes out as UTF-8 with its terminators, whatever the registry keeps.
  const std::string multi("中\0b\0\0", 7);
  ASSERT_EQ(r.SetValue(tree, "Multi", kMultiSz, Bytes(multi)), kSuccess);
  ASSERT_EQ(r.QueryValue(tree, "multi", type, data), kSuccess);
  EXPECT_EQ(type, kMultiSz);
  EXPECT_EQ(data, Bytes(multi));
  ASSERT_EQ(r.SetValue(tree, "Raw", kBinary, {0, 1, 0}), kSuccess);
  ASSERT_EQ(r.QueryValue(tree, "Raw", type, data), kSuccess);
  EXPECT_EQ(data, (std::vector<uint8_t>{0, 1, 0}));
  EXPECT_EQ(r.DeleteValue(tree, "Raw"), kSuccess);
  EXPECT_EQ(r.DeleteValue(tree, "Raw"), kFileNotFound);
  EXPECT_EQ(r.EnumKey(tree, 5, name), kNoMoreItems);
  EXPECT_EQ(r.EnumValue(tree, 2, name, type, data), kNoMoreItems);
  EXPECT_EQ(r.CloseKey(tree), kSuccess);

  KeyHandle key = 0;
  EXPECT_EQ(r.OpenKey(User(), kTree + "\\Missing", kQueryValue, key), kFileNotFound);
  // Doubled and trailing separators are skipped; a leading one is refused.
  ASSERT_EQ(r.OpenKey(User(), "Software\\\\QuillmereTest\\Tree\\", kQueryValue, key), kSuccess);
  r.CloseKey(key);
  EXPECT_EQ(r.OpenKey(User(), "\\" + kTree, kQueryValue, key), kBadPathname);
  EXPECT_EQ(r.CreateKey(User(), "\\" + kTree + "\\X", kSetValue, key), kBadPathname);
  EXPECT_NE(r.OpenKey(RootHandle(0), "Software", kQueryValue, key), kSuccess);

  // A leaf goes, a root never does (RegKey tests show a key with sub-keys refused).
  EXPECT_EQ(r.DeleteKey(User(), kTree + "\\a\\Deep1\\Deeper"), kSuccess);
  EXPECT_EQ(r.DeleteKey(User(), kTree + "\\a\\Deep1\\Deeper"), kFileNotFound);
  EXPECT_EQ(r.DeleteKey(User(), ""), kAccessDenied);
  ASSERT_EQ(r.CreateKey(User(), kTree + "\\New\\Deeper", kSetValue, key), kSuccess);
  EXPECT_EQ(r.SetValue(key, "", kSz, Bytes(std::string("d\0", 2))), kSuccess);
  EXPECT_EQ(r.CloseKey(key), kSuccess);
  fixture.Reload();
  EXPECT_EQ(fixture.Dump(kTree + "\\a\\Deep1"), (Lines{kTree + "\\a\\Deep1", kTree + "\\a\\Deep1\\V=0x00000001 (1)"}));
  EXPECT_EQ(fixture.Dump(kTree + "\\New"),
            (Lines{kTree + "\\New", kTree + "\\New\\Deeper", kTree + "\\New\\Deeper\\=d"}));
}

TEST(RegistryStore, TwoWritersHoldingTheLockInTurnLoseNoChange) {
  std::string text;
  for (int i = 0; i < 40; ++i)
    text += "\r\n[HKEY_CURRENT_USER\\Software\\QuillmereTest\\K" + std::to_string(i) + "]\r\n";
  RegistryFixture fixture("", text);
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry needs no lock of ours";
  // Each writer holds its own copy of the tree and writes all of it back: without the lock, or without
  // reading the other's writes on taking it, one would put back keys the other had deleted.
  const auto deleteEvery = [&](int first) {
    std::unique_ptr<RegistryBackend> writer = OpenRegistry(fixture.StoreFile());
    for (int i = first; i < 40; i += 2) {
      ASSERT_EQ(writer->Lock(), kSuccess);
      {
        ChangeBatch batch(*writer);
        EXPECT_EQ(writer->DeleteKey(User(), "Software\\QuillmereTest\\K" + std::to_string(i)), kSuccess);
      }
      writer->Unlock();
    }
  };
  std::thread other(deleteEvery, 1);
  deleteEvery(0);
  other.join();
  fixture.Reload();
  EXPECT_EQ(fixture.Dump("Software\\QuillmereTest"), Lines{"Software\\QuillmereTest"});
}

TEST(RegistryStore, OpensOnlyARegFileImportsOneAndWritesItsFileAtOnceOrOncePerBatch) {
  RegistryFixture fixture("registry_tree.reg");
  if (!fixture.UsesStore()) GTEST_SKIP() << "the real registry keeps no store file; its import is regedit's";
  ScratchFolder dir("store");
  // A named store must exist and be a .reg file; one that is refused is left as it was.
  const std::string broken = dir.Write("broken.reg", "not a registry file\r\n");
  for (const std::string& file : {broken, dir / "missing.reg", dir.Path()}) {
    const std::string raised = RaisedError([&] { OpenRegistry(file); });
    EXPECT_NE(raised.find(file), std::string::npos) << raised;
  }
  EXPECT_EQ(ReadBytes(broken), "not a registry file\r\n");
  // Past a line it cannot read the store reads the rest, and refuses every change, naming the line, so that
  // nothing of the file is ever lost.
  const std::string bad =
      "Windows Registry Editor Version 5.00\r\n\"Lost\"=hex:zz\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n";
  const std::string badFile = dir.Write("bad.reg", bad);
  const auto readOnly = OpenRegistry(badFile);
  EXPECT_NE(readOnly->ReadOnlyReason().find(badFile + " line 2: "), std::string::npos) << readOnly->ReadOnlyReason();
  KeyHandle key = 0;
  EXPECT_EQ(readOnly->OpenKey(User(), "Software\\X", kQueryValue, key), kSuccess);
  readOnly->CloseKey(key);
  EXPECT_EQ(readOnly->CreateKey(User(), "Software\\Y", kSetValue, key), kAccessDenied);
  EXPECT_EQ(ReadBytes(badFile), bad);
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string configHome = config && *config ? config : std::string(home ? home : "") + "/.config";
  EXPECT_EQ(OpenRegistry()->StoreFile(), configHome + "/quillmere/registry.reg");

  EXPECT_EQ(fixture.Registry().ImportRegFile(FixturePath("platform/tree_patch.reg")), kSuccess);
  EXPECT_EQ(fixture.Registry().ImportRegFile(dir / "none.reg"), kFileNotFound);
  fixture.Reload();
  const std::string t = kTree + "\\";
  EXPECT_EQ(fixture.Dump(kTree), (Lines{kTree, t + "Added=0x00000007 (7)", t + "[x", t + "b_x", t + "Bx", t + "中文"}));

  // The store writes its file at once, or once per batch, and reads what others wrote.
  RegistryBackend& r = fixture.Registry();
  ASSERT_EQ(r.CreateKey(User(), kTree + "\\Written", kSetValue, key), kSuccess);
  ASSERT_EQ(r.SetValue(key, "Name", kSz, Bytes(std::string("ü\0", 3))), kSuccess);
  r.CloseKey(key);
  // The file is the store's .reg form (see RegistryStoreTest), replaced whole.
  EXPECT_FALSE(std::filesystem::exists(fixture.StoreFile() + ".tmp"));
  EXPECT_NE(ReadFixtureText(fixture.StoreFile())
                .find("[HKEY_CURRENT_USER\\Software\\QuillmereTest\\Tree\\Written]\r\n\"Name\"=\"ü\"\r\n"),
            std::string::npos);

  // A handle of a deleted key is refused.
  ASSERT_EQ(r.OpenKey(User(), kTree + "\\b_x", kSetValue, key), kSuccess);
  ASSERT_EQ(r.DeleteKey(User(), kTree + "\\b_x"), kSuccess);
  EXPECT_EQ(r.SetValue(key, "x", kSz, Bytes(std::string("x\0", 2))), kKeyDeleted);
  r.CloseKey(key);

  const std::string before = ReadBytes(fixture.StoreFile());
  {
    ChangeBatch batch(r);
    {
      ChangeBatch inner(r);
      EXPECT_EQ(r.DeleteKey(User(), kTree + "\\Bx"), kSuccess);
    }
    EXPECT_EQ(r.DeleteKey(User(), kTree + "\\[x"), kSuccess);
    EXPECT_EQ(ReadBytes(fixture.StoreFile()), before);
  }
  EXPECT_NE(ReadBytes(fixture.StoreFile()), before);

  // A file that another process left unreadable is never overwritten: the store refuses every change.
  const std::string garbage = "not a registry file\r\n";
  WriteBytes(fixture.StoreFile(), garbage);
  ASSERT_EQ(r.Lock(), kSuccess);
  EXPECT_NE(r.ReadOnlyReason().find(fixture.StoreFile()), std::string::npos) << r.ReadOnlyReason();
  EXPECT_EQ(r.CreateKey(User(), "Software\\Y", kSetValue, key), kAccessDenied);
  EXPECT_EQ(r.DeleteKey(User(), kTree + "\\中文"), kAccessDenied);
  r.Unlock();
  EXPECT_EQ(ReadBytes(fixture.StoreFile()), garbage);
}

}  // namespace
}  // namespace qm::reg
