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
#include "support/lines.h"
#include "support/raised_error.h"
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

Lines Names(RegKeys& keys) {
  Lines names;
  for (RegKey& key : keys) names.push_back(key.Name);
  return names;
}

/// A value as "name|type|display|data|size", the data as "s:" and a text, "n:" and a number, or "b:" and hex bytes.
std::string ValueLine(const RegValue& v) {
  std::string data;
  if (const auto* text = std::get_if<std::string>(&v.ValueData)) data = "s:" + *text;
  if (const auto* number = std::get_if<uint32_t>(&v.ValueData)) data = "n:" + std::to_string(*number);
  if (const auto* bytes = std::get_if<Bytes>(&v.ValueData)) {
    data = "b:";
    for (uint8_t byte : *bytes) {
      data += std::string(data.size() > 2 ? " " : "") + "0123456789abcdef"[byte >> 4] + "0123456789abcdef"[byte & 15];
    }
  }
  return v.ValueName + "|" + std::to_string(v.ValueType) + "|" + v.ValueDataString() + "|" + data + "|" +
         std::to_string(v.DataSize());
}

TEST(RegKey, RootNamesInExactCaseOnlyAndEnumeratesByItsOwnOrAGivenAddress) {
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

  RegistryFixture fixture("registry_tree.reg");
  RegKey tree(fixture.Registry(), kUser, kTree);
  RegKeys& keys = tree.EnumSubKeys();
  EXPECT_EQ(Names(keys), (Lines{"[x", "a", "b_x", "Bx", "中文"}));
  EXPECT_EQ(keys.Item(2).Path, kTree + "\\a");
  // A sub-key enumerates its own sub-keys the first time they are read.
  EXPECT_EQ(Names(keys.Item(2).SubKeys()), (Lines{"Deep1", "Deep2"}));
  // The collection hands out the keys it holds, not copies.
  keys.Item(1).Name = "Renamed";
  keys.Add(RegKey(fixture.Registry(), kUser, "Software\\Other"), "added");
  EXPECT_EQ(tree.SubKeys().Item(1).Name, "Renamed");
  EXPECT_EQ(tree.SubKeys().Item("ADDED").Name, "Other");

  // Root -1 with another path, or another root with an empty path: both mean the object's own key.
  EXPECT_EQ(tree.EnumSubKeys(kOwnRootKey, kTree + "\\a").Count(), 5);
  EXPECT_EQ(tree.EnumSubKeys(reg::kLocalMachine, "").Count(), 5);
  EXPECT_EQ(Names(tree.EnumSubKeys(kUser, kTree + "\\a")), (Lines{"Deep1", "Deep2"}));
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
  RegKey key(fixture.Registry(), reg::kCurrentUser, kValues);
  // Reading one value by name gives what the enumeration gives.
  Lines lines;
  for (const RegValue& got : key.EnumSubValues()) {
    lines.push_back(ValueLine(got));
    EXPECT_EQ(ValueLine(*key.GetRegValue(got.ValueName)), lines.back());
    EXPECT_EQ(got.Registry, &fixture.Registry()) << got.ValueName;
  }
  EXPECT_EQ(Joined(lines), Joined(FixtureLines("registry/values.txt")));

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
  EXPECT_EQ(RaisedError([&] { tree.DeleteRegKey(false); }, true), kDeleteFailed + "5");
  EXPECT_TRUE(tree.DeleteRegKey(false, kUser, kTree + "\\[x"));
  EXPECT_TRUE(tree.DeleteRegKey(true, kUser, kTree + "\\a"));
  // A root is refused before any registry call.
  for (const char* root : {"", "\\"}) {
    EXPECT_EQ(RaisedError([&] { RegKey(fixture.Registry(), kUser, root).DeleteRegKey(true); }, true),
              kDeleteFailed + "0");
  }
  EXPECT_TRUE(tree.DeleteRegValue("Top"));
  EXPECT_TRUE(tree.DeleteRegValue("Top")) << "a value that is not there counts as deleted";
  RegKey bx(fixture.Registry(), kUser, kTree + "\\Bx");
  bx.SetRegValue("V", reg::kSz, std::string("x"));
  EXPECT_TRUE(bx.EnumSubValues().Item(1).Delete());
  EXPECT_EQ(RaisedError([&] { tree.DeleteRegValue("Top", kUser, kTree + "\\Missing"); }, true), kQueryFailed + "2");
  EXPECT_EQ(RaisedError([&] { RegValue(kUser, kTree + "\\b_x", "V", 1, std::string("x")).Delete(); }, true),
            kQueryFailed + "6")
      << "a value made in memory belongs to no registry";

  fixture.Reload();
  EXPECT_EQ(fixture.Dump(kTree), (Lines{kTree, kTree + "\\b_x", kTree + "\\Bx", kTree + "\\中文"}));
  EXPECT_TRUE(RegKey(fixture.Registry(), kUser, kTree).DeleteRegKey(true));
  fixture.Reload();
  EXPECT_EQ(fixture.Dump("Software\\QuillmereTest"), Lines{"Software\\QuillmereTest"});
  EXPECT_EQ(RaisedError([&] { RegKey(fixture.Registry(), kUser, kTree).DeleteRegKey(true); }, true),
            kDeleteFailed + "2");
}

TEST(RegKey, WritesKeysTextsAndNumbersOnly) {
  RegistryFixture fixture("registry_tree.reg");
  RegKey tree(fixture.Registry(), kUser, kTree);
  tree.SetRegKey("Made");
  tree.SetRegKey("Made");
  tree.SetRegKey("Inner", kUser, kTree + "\\Made");
  EXPECT_EQ(RaisedError([&] { tree.SetRegKey("Child", kUser, kTree + "\\Missing"); }, true), "100|RegKey|rc = 2\r\n|2");

  RegKey made(fixture.Registry(), kUser, kTree + "\\Made\\Here");
  // Written in name order: Wine enumerates values sorted, the Linux store in the order they were made.
  made.SetRegValue("FromText", reg::kDword, std::string(" -1 "));
  made.SetRegValue("Number", reg::kDword, uint32_t{258});
  made.SetRegValue("Text", reg::kSz, std::string("hello 中文"));
  made.SetRegValue("Top", reg::kSz, std::string("2"), kUser, kTree);
  // Data that cannot be written is refused before any registry call, and leaves no key behind.
  for (uint32_t type : {reg::kBinary, reg::kExpandSz, reg::kMultiSz}) {
    EXPECT_EQ(RaisedError([&] { made.SetRegValue("Bytes", type, std::string("x"), kUser, kTree + "\\Other"); }, true),
              kCreateFailed + "0");
  }
  EXPECT_EQ(RaisedError([&] { made.SetRegValue("N", reg::kDword, std::string("12abc")); }, true), kCreateFailed + "0");

  fixture.Reload();
  const std::string here = kTree + "\\Made\\Here";
  EXPECT_EQ(fixture.Dump(kTree + "\\Made"),
            (Lines{kTree + "\\Made", here, here + "\\FromText=0xffffffff (4294967295)",
                   here + "\\Number=0x00000102 (258)", here + "\\Text=hello 中文", kTree + "\\Made\\Inner"}));
  EXPECT_EQ(RegKey(fixture.Registry(), kUser, kTree).GetRegValue("Top")->ValueDataString(), "2");
  EXPECT_EQ(fixture.Dump(kTree + "\\Other"), Lines{});
  EXPECT_EQ(fixture.Dump(kTree + "\\Missing"), Lines{});
}

// The Wine prefix's user, which TestEngine runs as; the fixtures name the same user.
const std::string kUserSid = "S-1-5-21-0-0-0-1000";
const std::string kPss = autocomplete::kProtectedStorageKey;
const std::string kUserKey = autocomplete::UserKey(kUserSid);
const std::string kTypeKey = kUserKey + "\\Data\\" + autocomplete::kFormsTypeId;
const std::string kStore = autocomplete::StoreKey(kUserSid);
const std::string kForms = autocomplete::kIntelliFormsKey;
const std::string kFormData = autocomplete::kFormDataKey;
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
Lines StoreDump(RegistryFixture& registry) {
  Lines lines = registry.Dump(kPss);
  for (std::string& line : registry.Dump(kForms)) lines.push_back(std::move(line));
  return lines;
}

TEST(AutoComplete, ShowListsTheEntriesAndChangesNothingClearErasesExactlyThemAndNeverThePasswords) {
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
  const Lines before = StoreDump(t.registry);

  Lines entries;
  if (!security) entries.push_back("HKEY_LOCAL_MACHINE\\" + kMachineEntry);
  for (const char* name : {"email:StringData", "q:StringData", "username:StringData"}) {
    entries.push_back("HKEY_CURRENT_USER\\" + kStore + "\\" + name);
  }
  for (const char* name : {"4a1b9c70", "7c22e0d5"}) entries.push_back("HKEY_CURRENT_USER\\" + kFormData + "\\" + name);
  // A Show lists what a Clear erases (the log below names them) and changes nothing.
  EXPECT_EQ(t.Run(false).Count, static_cast<int64_t>(entries.size()));
  EXPECT_EQ(StoreDump(t.registry), before);
  t.Run(true);
  Lines logged;
  for (const char* word : {"Find ", "Delete "}) {
    for (const std::string& entry : entries) logged.push_back(word + entry);
  }
  EXPECT_EQ(t.LogLines(), logged);
  // The entries go; the stores themselves, the store of another type and the saved passwords stay.
  Lines left;
  for (const std::string& line : before) {
    if (line.rfind(kStore + "\\", 0) != 0 && line.rfind(kFormData + "\\", 0) != 0) left.push_back(line);
  }
  EXPECT_EQ(StoreDump(t.registry), left);
  EXPECT_EQ(RegKey(registry, reg::kLocalMachine, kMachineEntry).GetRegValue("").has_value(), security);
  EXPECT_EQ(t.Run(true).Count, 0);
  RegKey(registry).DeleteRegKey(true, reg::kLocalMachine, kPss);
}

TEST(AutoComplete, WithoutAUserNothingIsListedOrTouched) {
  TestEngine t("parsers/auto_complete.reg", "", [](EngineParts& parts, const ScratchFolder&) { parts.UserText = ""; });
  t.LoadCatalogue(kCatalogue);
  const Lines before = StoreDump(t.registry);
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
  const Lines keys = {kUserKey, kUserKey + "\\Data", kTypeKey, kStore, locked};
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
  const Lines before = StoreDump(t.registry);
  t.LoadCatalogue(kCatalogue);

  EXPECT_EQ(TraceTexts(t.Run(false).Values), (Lines{"2 1 " + locked, "2 1 " + open}));
  EXPECT_EQ(descriptors(), descriptorsBefore) << "after a Show";
  EXPECT_EQ(StoreDump(t.registry), before);

  t.engine.Settings.EnableFileLogging = true;
  EXPECT_EQ(TraceTexts(t.Run(true).Values), (Lines{"2 -1 " + locked, "2 2 " + open}));
  EXPECT_EQ(descriptors(), descriptorsBefore) << "after a Clear";
  EXPECT_EQ(t.registry.Dump(open), Lines{});
  // The refusal is written at once; the traces wait for the store's write.
  EXPECT_EQ(t.LogLines(), (Lines{autocomplete::kAccessDenyLine, "Unknown HKEY_CURRENT_USER\\" + locked,
                                 "Delete HKEY_CURRENT_USER\\" + open}));
  // Opens the key again so the fixture can remove it.
  EXPECT_TRUE(WriteKeyDescriptor(registry, locked + "\\Guard", kEveryoneFullAccess));
}

}  // namespace
}  // namespace qm::testing
