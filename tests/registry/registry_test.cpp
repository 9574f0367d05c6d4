#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "registry/auto_complete.h"
#include "registry/auto_complete_security.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

constexpr uint32_t kUser = reg::kCurrentUser;
const std::string kTree = "Software\\QuillmereTest\\Tree";
const std::string kValues = "Software\\QuillmereTest\\Values";
using Bytes = std::vector<uint8_t>;
// Error texts without their last platform error.
const std::string kDeleteFailed = "100|RegKey|Delete RegKey failed.\r\nDelete RegKey failed!|";
const std::string kQueryFailed = "100|用户自定义部件RegKey|\r\n * 查询注册表值失败！|";
const std::string kCreateFailed = "100|用户自定义部件RegKey|\r\n * 创建注册表值失败！|";

std::vector<std::string> Names(RegKeys& keys) {
  std::vector<std::string> names;
  for (RegKey& key : keys) names.push_back(key.Name);
  return names;
}

/// Runs `call`, which must raise, and tells the error: "number|source|description|platform error".
template <typename Call>
std::string Raised(Call&& call) {
  try {
    call();
  } catch (const RuntimeError& e) {
    return std::to_string(e.Number()) + "|" + e.Source() + "|" + e.Description() + "|" +
           std::to_string(e.LastPlatformError());
  }
  return "no error";
}

TEST(RegKey, RootNamesInExactCaseOnly) {
  // The predefined roots are numbered from 0x80000000 in this order.
  const char* const names[] = {"HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                               "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
  for (uint32_t i = 0; i < 7; ++i) {
    EXPECT_EQ(RegKey::TransRootKey(names[i]), 0x80000000u + i) << names[i];
    EXPECT_EQ(RegKey::RootKeyName(0x80000000u + i), names[i]);
  }
  for (const char* name : {"hkey_current_user", "HKCU", ""}) EXPECT_EQ(RegKey::TransRootKey(name), 0u) << name;
  EXPECT_EQ(RegKey::RootKeyName(0), "");
  EXPECT_EQ(RegKey::RootKeyName(0x80000007u), "");
}

TEST(RegKey, EnumeratesByItsOwnOrAGivenAddress) {
  RegistryFixture fixture("registry_tree.reg");
  RegKey tree(fixture.Registry(), kUser, kTree);
  RegKeys& keys = tree.EnumSubKeys();
  EXPECT_EQ(Names(keys), (std::vector<std::string>{"[x", "a", "b_x", "Bx", "中文"}));
  EXPECT_EQ(keys.Item(2).Path, kTree + "\\a");
  // A sub-key enumerates its own sub-keys the first time they are read.
  EXPECT_EQ(Names(keys.Item(2).SubKeys()), (std::vector<std::string>{"Deep1", "Deep2"}));
  // The collection hands out the keys it holds, not copies.
  keys.Item(1).Name = "Renamed";
  keys.Add(RegKey(fixture.Registry(), kUser, "Software\\Other"), "added");
  EXPECT_EQ(tree.SubKeys().Item(1).Name, "Renamed");
  EXPECT_EQ(tree.SubKeys().Item("ADDED").Name, "Other");

  // Root -1 with another path, or another root with an empty path: both mean the object's own key.
  EXPECT_EQ(tree.EnumSubKeys(kOwnRootKey, kTree + "\\a").Count(), 5);
  EXPECT_EQ(tree.EnumSubKeys(reg::kLocalMachine, "").Count(), 5);
  EXPECT_EQ(Names(tree.EnumSubKeys(kUser, kTree + "\\a")), (std::vector<std::string>{"Deep1", "Deep2"}));
  EXPECT_EQ(tree.GetRegValue("Top", kOwnRootKey, kTree + "\\a")->KeyPath, kTree);
  EXPECT_EQ(tree.GetRegValue("Leaf", kUser, kTree + "\\a")->ValueDataString(), "a");
  EXPECT_EQ(tree.EnumSubValues(reg::kLocalMachine, "").Count(), 1);
  EXPECT_EQ(tree.EnumSubValues(kUser, kTree + "\\a\\Deep2").Item(1).ValueDataString(), "0x00000002 (2)");

  RegKey missing(fixture.Registry(), kUser, kTree + "\\Missing");
  EXPECT_EQ(missing.EnumSubKeys().Count(), 0);
  EXPECT_EQ(missing.SubValues().Count(), 0);
}

TEST(RegValue, ValuesParseDisplayAndSizeByType) {
  RegistryFixture fixture("registry_values.reg");
  // What the display hides is still parsed: an expandable text reads as a string, a multi-string as the bytes
  // before its first NUL, binary data is cut at its first zero byte, and data that starts with NUL is "".
  // Sizes are those of the data in memory: two bytes a character of text or of a number's decimal form.
  struct Expected {
    std::string name;
    uint32_t type;
    std::string display;
    RegValueData data;
    int64_t size;
  };
  const std::vector<Expected> expected = {
      {"", 1, "default text", std::string("default text"), 24},
      {"Binary", 3, "01 02 03", Bytes{1, 2, 3}, 3},
      {"BinaryCut", 3, "01", Bytes{1}, 1},
      {"BinaryEmpty", 3, "", std::string(), 0},
      {"BinaryLeadingZero", 3, "", std::string(), 0},
      {"Dword", 4, "0x00000102 (258)", 258u, 6},
      {"DwordMax", 4, "0xffffffff (4294967295)", 4294967295u, 20},
      {"DwordShort", 4, "0x00000002 (2)", 2u, 2},
      {"DwordZero", 4, "0x00000000 (0)", 0u, 2},
      {"Expand", 2, "", std::string("%TEMP%\\x"), 16},
      {"Multi", 7, "", Bytes{'a'}, 1},
      {"Path", 1, "C:\\Quillmere \"Test\"\\Data", std::string("C:\\Quillmere \"Test\"\\Data"), 48},
      {"Text", 1, "abc", std::string("abc"), 6},
      {"TextCut", 1, "abc", std::string("abc"), 6},
      {"TextLeadingNul", 1, "", std::string(), 0},
      {"Unicode", 1, "中文 ü", std::string("中文 ü"), 8},
  };
  RegKey key(fixture.Registry(), reg::kCurrentUser, kValues);
  RegValues& values = key.EnumSubValues();
  ASSERT_EQ(values.Count(), static_cast<int64_t>(expected.size()));
  int64_t index = 1;
  for (const Expected& want : expected) {
    // Reading one value by name gives what the enumeration gives.
    for (const RegValue& got : {values.Item(index++), *key.GetRegValue(want.name)}) {
      EXPECT_EQ(got.ValueName, want.name);
      EXPECT_EQ(got.ValueType, want.type) << want.name;
      EXPECT_EQ(got.ValueDataString(), want.display) << want.name;
      EXPECT_EQ(got.ValueData, want.data) << want.name;
      EXPECT_EQ(got.DataSize(), want.size) << want.name;
      EXPECT_EQ(got.Registry, &fixture.Registry()) << want.name;
    }
  }

  // A missing key gives nothing; a missing value (also the default of a key without values) an empty one.
  EXPECT_FALSE(key.GetRegValue("Text", reg::kCurrentUser, kValues + "\\Missing").has_value());
  EXPECT_FALSE(key.GetRegValue("Text", 0, kValues).has_value());
  for (const auto& [name, path] :
       {std::pair<std::string, std::string>{"Missing", kValues}, {"", kValues + "\\Empty"}}) {
    std::optional<RegValue> missing = key.GetRegValue(name, reg::kCurrentUser, path);
    ASSERT_TRUE(missing.has_value()) << path;
    EXPECT_EQ(missing->ValueType, 0u);
    EXPECT_EQ(missing->ValueData, RegValueData(std::string()));
  }
  EXPECT_EQ(key.EnumSubValues(reg::kCurrentUser, kValues + "\\Empty").Count(), 0);
  EXPECT_EQ(key.GetRegValue("TEXT")->ValueDataString(), "abc") << "names compare without regard to case";
}

TEST(RegKey, DeletesKeysDeepOrShallowAndValuesButNeverARoot) {
  RegistryFixture fixture("registry_tree.reg");
  RegKey tree(fixture.Registry(), kUser, kTree);
  // The tree has sub-keys: a shallow delete is refused by the registry.
  EXPECT_EQ(Raised([&] { tree.DeleteRegKey(false); }), kDeleteFailed + "5");
  EXPECT_TRUE(tree.DeleteRegKey(false, kUser, kTree + "\\[x"));
  EXPECT_TRUE(tree.DeleteRegKey(true, kUser, kTree + "\\a"));
  // A root is refused before any registry call.
  for (const char* root : {"", "\\"}) {
    EXPECT_EQ(Raised([&] { RegKey(fixture.Registry(), kUser, root).DeleteRegKey(true); }), kDeleteFailed + "0");
  }
  EXPECT_TRUE(tree.DeleteRegValue("Top"));
  EXPECT_TRUE(tree.DeleteRegValue("Top")) << "a value that is not there counts as deleted";
  RegKey bx(fixture.Registry(), kUser, kTree + "\\Bx");
  bx.SetRegValue("V", reg::kSz, std::string("x"));
  EXPECT_TRUE(bx.EnumSubValues().Item(1).Delete());
  EXPECT_EQ(Raised([&] { tree.DeleteRegValue("Top", kUser, kTree + "\\Missing"); }), kQueryFailed + "2");
  EXPECT_EQ(Raised([&] { RegValue(kUser, kTree + "\\b_x", "V", 1, std::string("x")).Delete(); }), kQueryFailed + "6")
      << "a value made in memory belongs to no registry";

  fixture.Reload();
  EXPECT_EQ(fixture.Dump(kTree), (std::vector<std::string>{kTree, kTree + "\\b_x", kTree + "\\Bx", kTree + "\\中文"}));
  EXPECT_TRUE(RegKey(fixture.Registry(), kUser, kTree).DeleteRegKey(true));
  fixture.Reload();
  EXPECT_EQ(fixture.Dump("Software\\QuillmereTest"), std::vector<std::string>{"Software\\QuillmereTest"});
  EXPECT_EQ(Raised([&] { RegKey(fixture.Registry(), kUser, kTree).DeleteRegKey(true); }), kDeleteFailed + "2");
}

TEST(RegKey, WritesKeysTextsAndNumbersOnly) {
  RegistryFixture fixture("registry_tree.reg");
  RegKey tree(fixture.Registry(), kUser, kTree);
  tree.SetRegKey("Made");
  tree.SetRegKey("Made");
  tree.SetRegKey("Inner", kUser, kTree + "\\Made");
  EXPECT_EQ(Raised([&] { tree.SetRegKey("Child", kUser, kTree + "\\Missing"); }), "100|RegKey|rc = 2\r\n|2");

  RegKey made(fixture.Registry(), kUser, kTree + "\\Made\\Here");
  // Written in name order: Wine enumerates values sorted, the Linux store in the order they were made.
  made.SetRegValue("FromText", reg::kDword, std::string(" -1 "));
  made.SetRegValue("Number", reg::kDword, uint32_t{258});
  made.SetRegValue("Text", reg::kSz, std::string("hello 中文"));
  made.SetRegValue("Top", reg::kSz, std::string("2"), kUser, kTree);
  // Data that cannot be written is refused before any registry call, and leaves no key behind.
  for (uint32_t type : {reg::kBinary, reg::kExpandSz, reg::kMultiSz}) {
    EXPECT_EQ(Raised([&] { made.SetRegValue("Bytes", type, std::string("x"), kUser, kTree + "\\Other"); }),
              kCreateFailed + "0");
  }
  EXPECT_EQ(Raised([&] { made.SetRegValue("N", reg::kDword, std::string("12abc")); }), kCreateFailed + "0");

  fixture.Reload();
  const std::string here = kTree + "\\Made\\Here";
  EXPECT_EQ(fixture.Dump(kTree + "\\Made"),
            (std::vector<std::string>{kTree + "\\Made", here, here + "\\FromText=0xffffffff (4294967295)",
                                      here + "\\Number=0x00000102 (258)", here + "\\Text=hello 中文",
                                      kTree + "\\Made\\Inner"}));
  EXPECT_EQ(RegKey(fixture.Registry(), kUser, kTree).GetRegValue("Top")->ValueDataString(), "2");
  EXPECT_EQ(fixture.Dump(kTree + "\\Other"), std::vector<std::string>{});
  EXPECT_EQ(fixture.Dump(kTree + "\\Missing"), std::vector<std::string>{});
}

// The Wine prefix's user, which TestEngine runs as; the fixtures name the same user.
const std::string kUserSid = "S-1-5-21-0-0-0-1000";
const std::string kPss = autocomplete::kProtectedStorageKey;
const std::string kUserKey = autocomplete::UserKey(kUserSid);
const std::string kTypeKey = kUserKey + "\\Data\\" + autocomplete::kFormsTypeId;
const std::string kStore = autocomplete::StoreKey(kUserSid);
const std::string kForms = autocomplete::kIntelliFormsKey;
const std::string kMachineEntry = kStore + "\\machine:StringData";

constexpr char kCatalogue[] =
    "[Config]\nType:Root\nSoftware:IE\nSelected:1\nAutoComplete<>1<>0<>Customize><ParseIEAutoComplete\n";

// Self-relative security descriptors holding only a DACL: one that lets everyone do everything, and one that
// lets no one do anything (the owner may still change it).
const KeyDescriptor kEveryoneFullAccess = {1,    0, 0x04, 0x80, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0,  0,
                                           20,   0, 0,    0,    2, 0, 28, 0, 1, 0, 0, 0, 0, 0, 20, 0,
                                           0x3F, 0, 0x0F, 0,    1, 1, 0,  0, 0, 0, 0, 1, 0, 0, 0,  0};
const KeyDescriptor kNoAccess = {1, 0, 0x04, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 20,   0,    0, 0, 2, 0, 8, 0, 0, 0, 0, 0};

/// Everything the stores and the passwords hold below HKEY_CURRENT_USER.
std::vector<std::string> StoreDump(RegistryFixture& registry) {
  std::vector<std::string> lines = registry.Dump(kPss);
  for (std::string& line : registry.Dump(kForms)) lines.push_back(std::move(line));
  return lines;
}

TEST(AutoComplete, ShowListsTheEntriesAndChangesNothingClearErasesOnlyThemAndThePasswords) {
  TestEngine t("parsers/auto_complete.reg");
  reg::RegistryBackend& registry = t.registry.Registry();
  const bool security = registry.HasKeySecurity();
  // The program finds the user as the fixtures name it: by SID where the registry keeps security, else by name.
  const std::string user = GetCurrentUserSid();
  EXPECT_EQ(user == kUserSid, security) << user;
  EXPECT_EQ(user.rfind("S-1-", 0) == 0, security) << user;
  // Stores of systems without registry security keep entries under HKEY_LOCAL_MACHINE too; with security the
  // machine's store is not this user's, and is neither listed nor touched.
  RegKey(registry).SetRegValue("Item Data", reg::kSz, std::string("machine"), reg::kLocalMachine, kMachineEntry);
  t.LoadCatalogue(kCatalogue);
  t.engine.Settings.EnableFileLogging = true;
  const std::vector<std::string> before = StoreDump(t.registry);

  std::vector<std::string> entries;
  if (!security) entries.push_back("HKEY_LOCAL_MACHINE\\" + kMachineEntry);
  for (const char* name : {"email:StringData", "q:StringData", "username:StringData"}) {
    entries.push_back("HKEY_CURRENT_USER\\" + kStore + "\\" + name);
  }
  t.Run(false);
  EXPECT_EQ(StoreDump(t.registry), before);
  t.Run(true);
  std::vector<std::string> logged;
  for (const char* word : {"Find ", "Delete "}) {
    for (const std::string& entry : entries) logged.push_back(word + entry);
  }
  EXPECT_EQ(t.LogLines(), logged);
  // The entries and the passwords go; the store itself and the store of another type stay.
  std::vector<std::string> left;
  for (const std::string& line : before) {
    if (line.rfind(kStore + "\\", 0) != 0 && line.rfind(kForms, 0) != 0) left.push_back(line);
  }
  EXPECT_EQ(StoreDump(t.registry), left);
  EXPECT_EQ(RegKey(registry, reg::kLocalMachine, kMachineEntry).GetRegValue("").has_value(), security);
  EXPECT_EQ(t.Run(true).Count, 0);
  RegKey(registry).DeleteRegKey(true, reg::kLocalMachine, kPss);
}

TEST(AutoComplete, WithoutAUserNothingIsListedOrTouched) {
  TestEngine t("parsers/auto_complete.reg", "", [](EngineParts& parts, const ScratchFolder&) { parts.UserText = ""; });
  t.LoadCatalogue(kCatalogue);
  const std::vector<std::string> before = StoreDump(t.registry);
  EXPECT_EQ(t.Run(false).Count, 0);
  EXPECT_EQ(t.Run(true).Count, 0);
  EXPECT_EQ(StoreDump(t.registry), before);
}

TEST(AutoComplete, ShowAndARefusedClearPutEveryDescriptorBack) {
  TestEngine t("parsers/auto_complete_refused.reg");
  reg::RegistryBackend& registry = t.registry.Registry();
  if (!registry.HasKeySecurity()) GTEST_SKIP() << "a registry without security refuses no deletion of an entry";
  const std::string locked = kStore + "\\locked:StringData";
  const std::string open = kStore + "\\open:StringData";
  // Descriptors of their own, unlike the Protected Storage key's, so that putting them back can be told from
  // leaving the open one there.
  const std::vector<std::string> keys = {kUserKey, kUserKey + "\\Data", kTypeKey, kStore, locked};
  for (const std::string& key : keys) ASSERT_TRUE(WriteKeyDescriptor(registry, key, kEveryoneFullAccess)) << key;
  ASSERT_NE(ReadKeyDescriptor(registry, kStore), ReadKeyDescriptor(registry, kPss));
  // A key below the entry that no one may open keeps the entry from being deleted.
  ASSERT_TRUE(WriteKeyDescriptor(registry, locked + "\\Guard", kNoAccess));
  const auto descriptors = [&] {
    std::vector<std::optional<KeyDescriptor>> read;
    for (const std::string& key : keys) read.push_back(ReadKeyDescriptor(registry, key));
    return read;
  };
  const auto descriptorsBefore = descriptors();
  const std::vector<std::string> before = StoreDump(t.registry);
  t.LoadCatalogue(kCatalogue);

  EXPECT_EQ(TraceTexts(t.Run(false).Values), (std::vector<std::string>{"2 1 " + locked, "2 1 " + open}));
  EXPECT_EQ(descriptors(), descriptorsBefore) << "after a Show";
  EXPECT_EQ(StoreDump(t.registry), before);

  t.engine.Settings.EnableFileLogging = true;
  EXPECT_EQ(TraceTexts(t.Run(true).Values), (std::vector<std::string>{"2 -1 " + locked, "2 2 " + open}));
  EXPECT_EQ(descriptors(), descriptorsBefore) << "after a Clear";
  EXPECT_EQ(t.registry.Dump(open), std::vector<std::string>{});
  // The refusal is written at once; the traces wait for the store's write.
  EXPECT_EQ(t.LogLines(),
            (std::vector<std::string>{autocomplete::kAccessDenyLine, "Unknown HKEY_CURRENT_USER\\" + locked,
                                      "Delete HKEY_CURRENT_USER\\" + open}));
  // Opens the key again so the fixture can remove it.
  EXPECT_TRUE(WriteKeyDescriptor(registry, locked + "\\Guard", kEveryoneFullAccess));
}

}  // namespace
}  // namespace qm::testing
