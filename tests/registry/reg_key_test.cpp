#include "registry/reg_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/registry_backend.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"
#include "support/registry_fixture.h"

namespace qm {

namespace {

constexpr uint32_t kUser = reg::kCurrentUser;
const std::string kTree = "Software\\QuillmereTest\\Tree";

std::vector<std::string> Names(RegKeys& keys) {
  std::vector<std::string> names;
  for (RegKey& key : keys) names.push_back(key.Name);
  return names;
}

bool KeyExists(const std::string& path) {
  reg::KeyHandle key = 0;
  if (reg::OpenKey(reg::RootHandle(kUser), path, reg::kQueryValue, key) != reg::kSuccess) return false;
  reg::CloseKey(key);
  return true;
}

/// Runs `call`, which must raise, and returns the error it raised.
template <typename Call>
RuntimeError Raised(Call&& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error;
  }
  ADD_FAILURE() << "no error was raised";
  return RuntimeError(0, "", "");
}

}  // namespace

TEST(TransRootKeyTest, FullNamesInExactCaseOnly) {
  EXPECT_EQ(RegKey::TransRootKey("HKEY_CLASSES_ROOT"), 0x80000000u);
  EXPECT_EQ(RegKey::TransRootKey("HKEY_CURRENT_USER"), 0x80000001u);
  EXPECT_EQ(RegKey::TransRootKey("HKEY_LOCAL_MACHINE"), 0x80000002u);
  EXPECT_EQ(RegKey::TransRootKey("HKEY_USERS"), 0x80000003u);
  EXPECT_EQ(RegKey::TransRootKey("HKEY_PERFORMANCE_DATA"), 0x80000004u);
  EXPECT_EQ(RegKey::TransRootKey("HKEY_CURRENT_CONFIG"), 0x80000005u);
  EXPECT_EQ(RegKey::TransRootKey("HKEY_DYN_DATA"), 0x80000006u);
  EXPECT_EQ(RegKey::TransRootKey("hkey_current_user"), 0u);
  EXPECT_EQ(RegKey::TransRootKey("HKCU"), 0u);
  EXPECT_EQ(RegKey::TransRootKey(""), 0u);
}

TEST(RegKeyTest, NameIsTheLastPathComponentUnlessAlreadySet) {
  RegKey deep(kUser, "Software\\A\\B");
  EXPECT_EQ(deep.Name, "B");
  EXPECT_EQ(deep.Path, "Software\\A\\B");
  EXPECT_EQ(deep.RootKey, kUser);
  EXPECT_EQ(RegKey(kUser, "Software").Name, "Software");
  EXPECT_EQ(RegKey(kUser, "").Name, "");

  RegKey named;
  named.Name = "Kept";
  named.Initialise(reg::kLocalMachine, "Software\\Other");
  EXPECT_EQ(named.Name, "Kept");
  EXPECT_EQ(named.Path, "Software\\Other");
  EXPECT_EQ(named.RootKey, reg::kLocalMachine);
}

TEST(RegKeyTest, SubKeysEnumerateInCaseInsensitiveNameOrder) {
  test::RegistryFixture fixture("registry_tree.reg");
  RegKey tree(kUser, kTree);
  RegKeys& keys = tree.EnumSubKeys();
  EXPECT_EQ(Names(keys), (std::vector<std::string>{"[x", "a", "b_x", "Bx", "中文"}));
  ASSERT_EQ(keys.Count(), 5);
  EXPECT_EQ(keys.Item(2).Path, kTree + "\\a");
  EXPECT_EQ(keys.Item(2).RootKey, kUser);
  EXPECT_EQ(&tree.SubKeys(), &keys);

  // A sub-key enumerates its own sub-keys the first time they are read.
  EXPECT_EQ(Names(keys.Item(2).SubKeys()), (std::vector<std::string>{"Deep1", "Deep2"}));
  EXPECT_EQ(keys.Item(2).SubKeys().Item(1).Path, kTree + "\\a\\Deep1");

  RegKey missing(kUser, kTree + "\\Missing");
  EXPECT_EQ(missing.EnumSubKeys().Count(), 0);
  EXPECT_EQ(missing.SubValues().Count(), 0);
}

TEST(RegKeyTest, OwnRootOrEmptyPathAddressTheOwnKey) {
  test::RegistryFixture fixture("registry_tree.reg");
  RegKey tree(kUser, kTree);
  // Root -1 with another path, or another root with an empty path: both mean the object's own key.
  EXPECT_EQ(tree.EnumSubKeys(kOwnRootKey, kTree + "\\a").Count(), 5);
  EXPECT_EQ(tree.EnumSubKeys(reg::kLocalMachine, "").Count(), 5);
  EXPECT_EQ(Names(tree.EnumSubKeys(kUser, kTree + "\\a")), (std::vector<std::string>{"Deep1", "Deep2"}));

  std::optional<RegValue> own = tree.GetRegValue("Top", kOwnRootKey, kTree + "\\a");
  ASSERT_TRUE(own.has_value());
  EXPECT_EQ(own->ValueDataString(), "1");
  EXPECT_EQ(own->KeyPath, kTree);
  std::optional<RegValue> other = tree.GetRegValue("Leaf", kUser, kTree + "\\a");
  ASSERT_TRUE(other.has_value());
  EXPECT_EQ(other->ValueDataString(), "a");
  EXPECT_EQ(other->KeyPath, kTree + "\\a");

  EXPECT_EQ(tree.EnumSubValues(reg::kLocalMachine, "").Count(), 1);
  EXPECT_EQ(tree.EnumSubValues(kUser, kTree + "\\a\\Deep2").Item(1).ValueDataString(), "0x00000002 (2)");
}

TEST(RegKeyTest, DeleteRegKeyDeepRemovesTheWholeTreeShallowRefusesKeysWithSubKeys) {
  test::RegistryFixture fixture("registry_tree.reg");
  RegKey tree(kUser, kTree);

  RuntimeError shallow = Raised([&] { tree.DeleteRegKey(false); });
  EXPECT_EQ(shallow.Number(), 100);
  EXPECT_EQ(shallow.Source(), "RegKey");
  EXPECT_EQ(shallow.Description(), "Delete RegKey failed.\r\nDelete RegKey failed!");
  EXPECT_EQ(shallow.LastPlatformError(), 5);  // ERROR_ACCESS_DENIED: the key has sub-keys
  EXPECT_TRUE(KeyExists(kTree + "\\a\\Deep1\\Deeper"));

  EXPECT_TRUE(tree.DeleteRegKey(false, kUser, kTree + "\\[x"));
  EXPECT_FALSE(KeyExists(kTree + "\\[x"));

  EXPECT_TRUE(tree.DeleteRegKey(true, kUser, kTree + "\\a"));
  EXPECT_FALSE(KeyExists(kTree + "\\a"));
  EXPECT_TRUE(KeyExists(kTree + "\\b_x"));

  fixture.Reload();
  EXPECT_FALSE(KeyExists(kTree + "\\a\\Deep1"));
  EXPECT_TRUE(tree.DeleteRegKey(true));
  EXPECT_FALSE(KeyExists(kTree));
  EXPECT_TRUE(KeyExists("Software\\QuillmereTest"));
  fixture.Reload();
  EXPECT_FALSE(KeyExists(kTree));

  RuntimeError missing = Raised([&] { tree.DeleteRegKey(true); });
  EXPECT_EQ(missing.Number(), 100);
  EXPECT_EQ(missing.Description(), "Delete RegKey failed.\r\nDelete RegKey failed!");
  EXPECT_EQ(missing.LastPlatformError(), 2);  // ERROR_FILE_NOT_FOUND
}

TEST(RegKeyTest, DeleteRegKeyNeverDeletesARootKey) {
  test::RegistryFixture fixture("registry_tree.reg");
  RegKey root(kUser, "");
  RuntimeError error = Raised([&] { root.DeleteRegKey(true); });
  EXPECT_EQ(error.Number(), 100);
  EXPECT_EQ(error.Description(), "Delete RegKey failed.\r\nDelete RegKey failed!");
  EXPECT_EQ(error.LastPlatformError(), 0);  // refused before any registry call
  RuntimeError backslash = Raised([&] { root.DeleteRegKey(true, kUser, "\\"); });
  EXPECT_EQ(backslash.Description(), "Delete RegKey failed.\r\nDelete RegKey failed!");
  EXPECT_TRUE(KeyExists(kTree + "\\a\\Deep1\\Deeper"));
  EXPECT_TRUE(KeyExists("Software"));
}

TEST(RegKeyTest, DeleteRegValueAndRegValueDelete) {
  test::RegistryFixture fixture("registry_tree.reg");
  RegKey tree(kUser, kTree);
  EXPECT_TRUE(tree.DeleteRegValue("Top"));
  EXPECT_EQ(tree.GetRegValue("Top")->ValueType, 0u);
  // A value that is not there counts as deleted.
  EXPECT_TRUE(tree.DeleteRegValue("Top"));

  RegValue leaf = tree.EnumSubValues(kUser, kTree + "\\a").Item(1);
  EXPECT_TRUE(leaf.Delete());
  fixture.Reload();
  EXPECT_EQ(tree.EnumSubValues(kUser, kTree + "\\a").Count(), 0);
  EXPECT_EQ(tree.EnumSubValues().Count(), 0);

  const std::string expected = "\r\n * 查询注册表值失败！";
  RuntimeError missingKey = Raised([&] { tree.DeleteRegValue("Top", kUser, kTree + "\\Missing"); });
  EXPECT_EQ(missingKey.Number(), 100);
  EXPECT_EQ(missingKey.Source(), "用户自定义部件RegKey");
  EXPECT_EQ(missingKey.Description(), expected);
  RuntimeError valueOfMissingKey = Raised([&] { RegValue(kUser, kTree + "\\Missing", "V", 1, "x").Delete(); });
  EXPECT_EQ(valueOfMissingKey.Number(), 100);
  EXPECT_EQ(valueOfMissingKey.Source(), "用户自定义部件RegKey");
  EXPECT_EQ(valueOfMissingKey.Description(), expected);
}

TEST(RegKeyTest, SetRegKeyCreatesUnderAnExistingParent) {
  test::RegistryFixture fixture("registry_tree.reg");
  RegKey tree(kUser, kTree);
  tree.SetRegKey("Made");
  tree.SetRegKey("Made");
  tree.SetRegKey("Inner", kUser, kTree + "\\Made");
  fixture.Reload();
  EXPECT_TRUE(KeyExists(kTree + "\\Made\\Inner"));

  RuntimeError error = Raised([&] { tree.SetRegKey("Child", kUser, kTree + "\\Missing"); });
  EXPECT_EQ(error.Number(), 100);
  EXPECT_EQ(error.Source(), "RegKey");
  EXPECT_EQ(error.Description(), "rc = 2\r\n");
  EXPECT_FALSE(KeyExists(kTree + "\\Missing"));
}

TEST(RegKeyTest, SetRegValueWritesTextAndNumbersOnly) {
  test::RegistryFixture fixture("registry_tree.reg");
  RegKey made(kUser, kTree + "\\Made\\Here");
  made.SetRegValue("Text", reg::kSz, std::string("hello 中文"));
  made.SetRegValue("Number", reg::kDword, uint32_t{258});
  made.SetRegValue("FromText", reg::kDword, std::string(" -1 "));
  made.SetRegValue("Top", reg::kSz, std::string("2"), kUser, kTree);
  fixture.Reload();

  std::optional<RegValue> textValue = made.GetRegValue("Text");
  ASSERT_TRUE(textValue.has_value());
  EXPECT_EQ(textValue->ValueType, reg::kSz);
  EXPECT_EQ(textValue->ValueDataString(), "hello 中文");
  EXPECT_EQ(made.GetRegValue("Number")->ValueDataString(), "0x00000102 (258)");
  EXPECT_EQ(made.GetRegValue("FromText")->ValueDataString(), "0xffffffff (4294967295)");
  EXPECT_EQ(made.GetRegValue("Top", kUser, kTree)->ValueDataString(), "2");
  EXPECT_EQ(made.EnumSubValues(kUser, kTree).Count(), 1);

  const std::string expected = "\r\n * 创建注册表值失败！";
  for (uint32_t type : {reg::kBinary, reg::kExpandSz, reg::kMultiSz}) {
    RuntimeError error = Raised([&] { made.SetRegValue("Bytes", type, std::string("x"), kUser, kTree + "\\Other"); });
    EXPECT_EQ(error.Number(), 100);
    EXPECT_EQ(error.Source(), "用户自定义部件RegKey");
    EXPECT_EQ(error.Description(), expected);
  }
  RuntimeError notANumber = Raised([&] { made.SetRegValue("N", reg::kDword, std::string("12abc")); });
  EXPECT_EQ(notANumber.Description(), expected);
  // A write that cannot happen leaves no key behind and no value.
  EXPECT_FALSE(KeyExists(kTree + "\\Other"));
  EXPECT_EQ(made.GetRegValue("N")->ValueType, 0u);
}

}  // namespace qm
