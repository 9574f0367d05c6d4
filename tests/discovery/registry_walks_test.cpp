#include "discovery/registry_walks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "discovery/walk_harness.h"
#include "platform/clock.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"
#include "support/registry_fixture.h"

namespace qm {
namespace {

using testing::Finals;
using testing::WalkHarness;

constexpr uint32_t kHkcu = 0x80000001u;
const std::string kBase = "Software\\QuillmereTest\\RunWalks";

std::vector<std::string> KeyNames(const std::string& path) {
  std::vector<std::string> names;
  RegKey key(kHkcu, path);
  for (const RegKey& sub : key.EnumSubKeys()) names.push_back(sub.Name);
  return names;
}

std::vector<std::string> ValueNames(const std::string& path) {
  std::vector<std::string> names;
  RegKey key(kHkcu, path);
  for (const RegValue& value : key.EnumSubValues()) names.push_back(value.ValueName);
  return names;
}

TEST(RegistryWalks, RegValueItemMatchesValueNamesAndDeletesAfterReporting) {
  test::RegistryFixture fixture("scenario/walks.reg");
  WalkHarness h;
  const std::string key = kBase + "\\Values";
  auto all = WalkHarness::Item(item_types::kRegValue, {"HKEY_CURRENT_USER", key});
  const auto shown = h.Run(*all, false);
  EXPECT_EQ(Finals(shown), (std::vector<std::string>{"1 1 " + key + "\\", "1 1 " + key + "\\MRU1",
                                                     "1 1 " + key + "\\MRUList", "1 1 " + key + "\\Other"}));
  EXPECT_EQ(shown.values->Item(2)->Value, "one");
  EXPECT_EQ(shown.values->Item(2)->Size, 6);
  EXPECT_EQ(shown.values->Item(2)->RootKey, kHkcu);
  EXPECT_EQ(shown.values->Item(1)->ValueName, "");

  auto mru = WalkHarness::Item(item_types::kRegValue, {"HKEY_CURRENT_USER", key, "mru*"});
  h.log.lines.clear();
  const auto cleared = h.Run(*mru, true);
  EXPECT_EQ(cleared.reported, (std::vector<std::string>{"1 2 " + key + "\\MRU1", "1 2 " + key + "\\MRUList"}));
  EXPECT_EQ(h.log.lines, (std::vector<std::string>{"Delete MRU1", "Delete MRUList"}));
  fixture.Reload();
  EXPECT_EQ(ValueNames(key), (std::vector<std::string>{"", "Other"}));
  EXPECT_EQ(h.Run(*mru, true).finishCount, 0);

  auto missing = WalkHarness::Item(item_types::kRegValue, {"HKEY_CURRENT_USER", kBase + "\\Nope"});
  EXPECT_EQ(h.Run(*missing, true).finishCount, 0);
  auto badRoot = WalkHarness::Item(item_types::kRegValue, {"HKEY_NOWHERE", key});
  EXPECT_EQ(h.Run(*badRoot, true).finishCount, 0);
}

/// Deletes the key of each reported value before the walk gets to delete the value.
class KeyRemover : public PrivacyItemEvents {
 public:
  void AppendValue(PrivacyItem&, PrivacyValue& pv) override {
    test::DeleteTestKey(pv.Path.substr(0, pv.Path.rfind('\\')));
  }
};

TEST(RegistryWalks, ValueThatCannotBeDeletedEndsFailed) {
  test::RegistryFixture fixture("scenario/walks.reg");
  WalkHarness h;
  const std::string key = kBase + "\\Values";
  auto item = WalkHarness::Item(item_types::kRegValue, {"HKEY_CURRENT_USER", key, "Other"});
  KeyRemover remover;
  item->Subscribe(&remover);
  const auto cleared = h.Run(*item, true);
  item->Unsubscribe(&remover);
  EXPECT_EQ(Finals(cleared), std::vector<std::string>{"1 -1 " + key + "\\Other"});
  EXPECT_EQ(h.log.lines, (std::vector<std::string>{"Delete Other", "Unknown Other"}));
}

TEST(RegistryWalks, RegKeyItemReportsSubKeysBeforeValuesAndKeepsHeldValuesWithTheirKey) {
  test::RegistryFixture fixture("scenario/walks.reg");
  WalkHarness h;
  const std::string tree = kBase + "\\Tree";
  auto item = WalkHarness::Item(item_types::kRegKey, {"HKEY_CURRENT_USER", tree}, {tree + "\\B\\KEPT"});
  const auto shown = h.Run(*item, false);
  EXPECT_EQ(shown.reported,
            (std::vector<std::string>{"2 1 " + tree + "\\a", "2 1 " + tree + "\\b", "2 1 " + tree + "\\c",
                                      "1 1 " + tree + "\\Held", "1 1 " + tree + "\\Top",
                                      "2 1 " + tree + "\\a\\deep", "1 1 " + tree + "\\a\\Leaf",
                                      "1 1 " + tree + "\\a\\deep\\V", "1 4 " + tree + "\\b\\Kept"}));

  h.log.lines.clear();
  const auto cleared = h.Run(*item, true);
  EXPECT_EQ(Finals(cleared),
            (std::vector<std::string>{"2 2 " + tree + "\\a", "2 -1 " + tree + "\\b", "2 2 " + tree + "\\c",
                                      "1 2 " + tree + "\\Held", "1 2 " + tree + "\\Top",
                                      "2 2 " + tree + "\\a\\deep", "1 2 " + tree + "\\a\\Leaf",
                                      "1 2 " + tree + "\\a\\deep\\V", "1 4 " + tree + "\\b\\Kept"}));
  // Values are recorded as found and deleted afterwards; keys are recorded as deleted before their walk.
  EXPECT_EQ(h.log.lines, (std::vector<std::string>{"Delete a", "Delete b", "Delete c", "Find Held", "Find Top",
                                                   "Delete deep", "Find Leaf", "Find V", "Keep locked Kept",
                                                   "Unknown b"}));
  EXPECT_TRUE(h.errorLines.empty());
  fixture.Reload();
  EXPECT_EQ(KeyNames(tree), std::vector<std::string>{"b"});  // the item's own key stays
  EXPECT_TRUE(ValueNames(tree).empty());
  EXPECT_EQ(ValueNames(tree + "\\b"), std::vector<std::string>{"Kept"});

  // Without the hold everything below the key goes, and a second clear finds nothing.
  auto unheld = WalkHarness::Item(item_types::kRegKey, {"HKEY_CURRENT_USER", tree});
  h.Run(*unheld, true);
  fixture.Reload();
  EXPECT_TRUE(KeyNames(tree).empty());
  EXPECT_EQ(h.Run(*unheld, true).finishCount, 0);
}

/// Deletes one key when the walk reports it, before the walk gets to delete it.
class KeyVanisher : public PrivacyItemEvents {
 public:
  explicit KeyVanisher(std::string path) : path_(std::move(path)) {}
  void AppendValue(PrivacyItem&, PrivacyValue& pv) override {
    if (pv.Path == path_) test::DeleteTestKey(path_);
  }

 private:
  std::string path_;
};

TEST(RegistryWalks, RegistryWalkLogsAFailureWithThePlatformErrorCode) {
  test::RegistryFixture fixture("scenario/walks.reg");
  WalkHarness h;
  const std::string tree = kBase + "\\Tree";
  auto item = WalkHarness::Item(item_types::kRegKey, {"HKEY_CURRENT_USER", tree});
  KeyVanisher vanisher(tree + "\\c");
  item->Subscribe(&vanisher);
  const auto cleared = h.Run(*item, true);
  item->Unsubscribe(&vanisher);
  // Deleting the vanished key fails with ERROR_FILE_NOT_FOUND (2), the code RegDeleteKey gives for a
  // missing key; the walk logs it and goes on with the other keys.
  EXPECT_EQ(h.errorLines, std::vector<std::string>{GeneralDateText({2026, 12, 5, 14, 3, 7}) +
                                                   "--100,RegKey(GetRegKeyAllSub),Delete RegKey failed.\r\n"
                                                   "Delete RegKey failed!,2"});
  EXPECT_EQ(Finals(cleared).at(2), "2 -1 " + tree + "\\c");
  fixture.Reload();
  EXPECT_TRUE(KeyNames(tree).empty());
  EXPECT_TRUE(ValueNames(tree).empty());
}

TEST(RegistryWalks, StopInTheRegistryWalkLeavesUnvisitedKeysAlone) {
  test::RegistryFixture fixture("scenario/walks.reg");
  WalkHarness h;
  const std::string tree = kBase + "\\Tree";
  auto item = WalkHarness::Item(item_types::kRegKey, {"HKEY_CURRENT_USER", tree});
  const auto stopped = h.Run(*item, true, 4);  // a, b, c, then Held
  EXPECT_EQ(stopped.finishCount, 4);
  fixture.Reload();
  EXPECT_EQ(KeyNames(tree), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(ValueNames(tree), std::vector<std::string>{"Top"});
  EXPECT_EQ(ValueNames(tree + "\\a"), std::vector<std::string>{"Leaf"});
}

TEST(RegistryWalks, RegSubKeyValueItemTakesValuesOfMatchingSubKeysOnly) {
  test::RegistryFixture fixture("scenario/walks.reg");
  WalkHarness h;
  const std::string sub = kBase + "\\Sub";
  auto item = WalkHarness::Item(item_types::kRegSubKeyValue, {"HKEY_CURRENT_USER", sub, "doc#"});
  const auto cleared = h.Run(*item, true);
  EXPECT_EQ(Finals(cleared), (std::vector<std::string>{"1 2 " + sub + "\\Doc1\\x", "1 2 " + sub + "\\Doc2\\y"}));
  fixture.Reload();
  EXPECT_EQ(KeyNames(sub), (std::vector<std::string>{"Doc1", "Doc2", "Other"}));  // sub-keys stay
  EXPECT_TRUE(ValueNames(sub + "\\Doc1").empty());
  EXPECT_EQ(ValueNames(sub + "\\Other"), std::vector<std::string>{"z"});

  auto noPattern = WalkHarness::Item(item_types::kRegSubKeyValue, {"HKEY_CURRENT_USER", sub});
  EXPECT_EQ(h.Run(*noPattern, false).finishCount, 0);
}

}  // namespace
}  // namespace qm
