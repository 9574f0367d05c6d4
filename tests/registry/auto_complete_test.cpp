#include "registry/auto_complete.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "registry/auto_complete_security.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"
#include "support/registry_fixture.h"

namespace qm {

namespace {

using test::KeyExists;

// The Wine prefix's user (design.md); the fixtures name the same user, so the Linux store reaches them too.
const std::string kUser = "S-1-5-21-0-0-0-1000";
const std::string kPss = "Software\\Microsoft\\Protected Storage System Provider";
const std::string kUserKey = kPss + "\\" + kUser;
const std::string kType = kUserKey + "\\Data\\e161255a-37c3-11d2-bcaa-00c04fd929db";
const std::string kStore = kType + "\\e161255a-37c3-11d2-bcaa-00c04fd929db";
const std::string kOtherStore =
    kUserKey + "\\Data\\5e7e8100-9138-11d1-945a-00c04fc308ff\\5e7e8100-9138-11d1-945a-00c04fc308ff\\outlook";
const std::string kForms = "Software\\Microsoft\\Internet Explorer\\IntelliForms";

// Self-relative security descriptors holding only a DACL: one that lets everyone do everything, one that lets
// no one do anything (the owner may still change it), and one with no DACL at all (everything allowed).
const KeyDescriptor kEveryoneFullAccess = {1,    0, 0x04, 0x80, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0,  0,
                                           20,   0, 0,    0,    2, 0, 28, 0, 1, 0, 0, 0, 0, 0, 20, 0,
                                           0x3F, 0, 0x0F, 0,    1, 1, 0,  0, 0, 0, 0, 1, 0, 0, 0,  0};
const KeyDescriptor kNoAccess = {1, 0, 0x04, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 20,   0,    0, 0, 2, 0, 8, 0, 0, 0, 0, 0};
const KeyDescriptor kNullDacl = {1, 0, 0x04, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

struct Trace {
  std::string path;
  std::string name;
  int32_t kind;
  uint32_t root;
  int32_t status;
  bool operator==(const Trace&) const = default;
};

std::vector<Trace> Traces(const PrivacyValues& values) {
  std::vector<Trace> traces;
  for (const auto& pv : values)
    traces.push_back({pv->Path, pv->ValueName, pv->ValueType, pv->RootKey, pv->ValueStatus});
  return traces;
}

Trace Entry(uint32_t root, const std::string& name, int32_t status) {
  return {kStore + "\\" + name, name, kinds::kRegistryKey, root, status};
}

/// A machine-wide form entry: stores of systems without registry security keep some there.
void AddMachineEntry(RegKey& rk) {
  rk.SetRegValue("Item Data", reg::kSz, std::string("machine"), reg::kLocalMachine,
                 kStore + "\\machine:StringData");
}

void RemoveMachineStore(RegKey& rk) {
  if (KeyExists(reg::kLocalMachine, kPss)) rk.DeleteRegKey(true, reg::kLocalMachine, kPss);
}

}  // namespace

TEST(AutoCompleteTest, StoreIsListedThenClearedAndTheUserKeyKeepsItsDescriptor) {
  test::RegistryFixture fixture("parsers/auto_complete.reg");
  RegKey rk;
  AddMachineEntry(rk);
  const bool security = reg::HasKeySecurity();
  if (security) {
    // The user key gets a descriptor of its own, unlike the Protected Storage key's, so that putting it back
    // can be told from leaving the open one there.
    ASSERT_TRUE(WriteKeyDescriptor(kUserKey, kEveryoneFullAccess));
    ASSERT_NE(ReadKeyDescriptor(kUserKey), ReadKeyDescriptor(kPss));
  }
  const std::optional<KeyDescriptor> userBefore = ReadKeyDescriptor(kUserKey);
  AutoCompleteStores stores(rk, kUser);

  std::vector<Trace> expected;
  if (!security) expected.push_back(Entry(reg::kLocalMachine, "machine:StringData", status::kFound));
  for (const char* name : {"email:StringData", "q:StringData", "username:StringData"}) {
    expected.push_back(Entry(reg::kCurrentUser, name, status::kFound));
  }
  EXPECT_EQ(Traces(*stores.GetAutoCompleteForms()), expected);
  EXPECT_EQ(ReadKeyDescriptor(kUserKey), userBefore);
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kStore + "\\q:StringData\\Index"));

  std::vector<std::string> logged;
  std::shared_ptr<PrivacyValues> cleared =
      stores.ClearAutoCompleteForms([&](const std::string& line) { logged.push_back(line); });
  for (Trace& trace : expected) trace.status = status::kErased;
  EXPECT_EQ(Traces(*cleared), expected);
  EXPECT_TRUE(logged.empty());
  fixture.Reload();
  for (const Trace& trace : expected) EXPECT_FALSE(KeyExists(trace.root, trace.path)) << trace.path;
  // Only the entries go: the store itself, the other store and the passwords stay.
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kStore));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kOtherStore));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kForms + "\\Storage2"));
  // With security the machine's store is not this user's: it is neither listed nor touched.
  EXPECT_EQ(KeyExists(reg::kLocalMachine, kStore + "\\machine:StringData"), security);
  EXPECT_EQ(ReadKeyDescriptor(kUserKey), userBefore);
  if (security) {
    // The keys below the user key keep the open descriptor.
    EXPECT_EQ(ReadKeyDescriptor(kStore), ReadKeyDescriptor(kPss));
  }

  EXPECT_EQ(stores.GetAutoCompleteForms()->Count(), 0);
  EXPECT_EQ(stores.ClearAutoCompleteForms([&](const std::string& line) { logged.push_back(line); })->Count(),
            0);
  EXPECT_TRUE(logged.empty());
  EXPECT_EQ(ReadKeyDescriptor(kUserKey), userBefore);
  RemoveMachineStore(rk);
}

TEST(AutoCompleteTest, PasswordsAreDeletedWhenPresentAndFalseWhenAbsent) {
  test::RegistryFixture fixture("parsers/auto_complete.reg");
  RegKey rk;
  AutoCompleteStores stores(rk, kUser);
  EXPECT_TRUE(stores.ClearAutoCompletePasswords());
  fixture.Reload();
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kForms));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, "Software\\Microsoft\\Internet Explorer"));
  EXPECT_FALSE(stores.ClearAutoCompletePasswords());
  // The form entries are not the passwords' business.
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kStore + "\\email:StringData"));
}

TEST(AutoCompleteTest, RefusedDeletionStaysInTheResultAsFailedAndIsLogged) {
  if (!reg::HasKeySecurity())
    GTEST_SKIP() << "a registry without security refuses no deletion of a form entry";
  test::RegistryFixture fixture("parsers/auto_complete_refused.reg");
  const std::string guard = kStore + "\\locked:StringData\\Guard";
  ASSERT_TRUE(WriteKeyDescriptor(guard, kNoAccess));
  RegKey rk;
  std::vector<std::string> logged;
  std::shared_ptr<PrivacyValues> cleared = AutoCompleteStores(rk, kUser).ClearAutoCompleteForms(
      [&](const std::string& line) { logged.push_back(line); });
  EXPECT_EQ(Traces(*cleared),
            (std::vector<Trace>{Entry(reg::kCurrentUser, "locked:StringData", status::kFailed),
                                Entry(reg::kCurrentUser, "open:StringData", status::kErased)}));
  EXPECT_EQ(logged, std::vector<std::string>{"A autocomplete regkey can't be deleted(Access Deny)."});
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kStore + "\\locked:StringData"));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kStore + "\\open:StringData"));
  // Opens the key again so the fixture can remove it.
  EXPECT_TRUE(WriteKeyDescriptor(guard, kNullDacl));
}

TEST(AutoCompleteTest, WithoutAUserNothingIsListedOrTouched) {
  test::RegistryFixture fixture("parsers/auto_complete.reg");
  RegKey rk;
  AutoCompleteStores stores(rk, "");
  EXPECT_EQ(stores.GetAutoCompleteForms()->Count(), 0);
  std::vector<std::string> logged;
  EXPECT_EQ(stores.ClearAutoCompleteForms([&](const std::string& line) { logged.push_back(line); })->Count(),
            0);
  EXPECT_TRUE(logged.empty());
  fixture.Reload();
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kStore + "\\email:StringData"));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kOtherStore));
}

TEST(AutoCompleteTest, CurrentUserIsTheSidWithSecurityAndTheUserNameWithout) {
  const std::string user = GetCurrentUserSid();
  ASSERT_FALSE(user.empty());
  EXPECT_EQ(user.find('\\'), std::string::npos);
  if (reg::HasKeySecurity()) {
    EXPECT_EQ(user, kUser);
  } else {
    EXPECT_NE(user.rfind("S-1-", 0), 0u);
  }
  RegKey rk;
  EXPECT_EQ(AutoCompleteStores(rk).UserText(), user);
}

}  // namespace qm
