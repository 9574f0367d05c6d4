#include "registry/auto_complete.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "registry/auto_complete_security.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

// The Wine prefix's user, which TestEngine runs as; the fixtures name the same user.
const std::string kUser = "S-1-5-21-0-0-0-1000";
const std::string kPss = autocomplete::kProtectedStorageKey;
const std::string kUserKey = autocomplete::UserKey(kUser);
const std::string kTypeKey = kUserKey + "\\Data\\" + autocomplete::kFormsTypeId;
const std::string kStore = autocomplete::StoreKey(kUser);
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
  EXPECT_EQ(user == kUser, security) << user;
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
