#include "config/privacy_item.h"

#include <gtest/gtest.h>

#include "catalogue_helpers.h"
#include "support/event_journal.h"

namespace qm::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(PrivacyItem, SettingsStringsSplitAfterTrimmingTheWhole) {
  PrivacyItem item;
  item.SetSeekSettingsByString("  HKEY_CURRENT_USER <> Software\\App  ");
  EXPECT_EQ(Entries(item.SeekSettings), (Lines{"HKEY_CURRENT_USER ", " Software\\App"}));
  // The methods append; two separators in a row give an empty entry.
  item.SetSeekSettingsByString("a<><>b");
  EXPECT_EQ(Entries(item.SeekSettings), (Lines{"HKEY_CURRENT_USER ", " Software\\App", "a", "", "b"}));
  item.SetSeekSettingsByString("   ");
  item.SetSeekSettingsByString("");
  EXPECT_EQ(item.SeekSettings.Count(), 5);
  item.SetHoldSettingsByString("C:\\x.txt<>C:\\y.txt");
  EXPECT_EQ(Entries(item.HoldSettings), (Lines{"C:\\x.txt", "C:\\y.txt"}));
  EXPECT_THROW(item.SeekSettings.Item(6), RuntimeError);
}

TEST(PrivacyItem, TypeNamesAreExact) {
  const std::vector<std::pair<const char*, int32_t>> names = {{"RegValue", 1}, {"RegKey", 2}, {"RegSubKeyValue", 3},
                                                              {"File", 4},     {"Folder", 5}, {"IniFileItem", 7},
                                                              {"Customize", 8}};
  for (const auto& [name, code] : names) {
    EXPECT_EQ(static_cast<int32_t>(PrivacyItem::TransPrivacyItemType(name)), code);
    EXPECT_EQ(PrivacyItem::PrivacyItemTypeName(static_cast<PrivacyItemType>(code)), name);
  }
  for (const char* unknown : {"file", "File ", ""}) {
    EXPECT_EQ(PrivacyItem::TransPrivacyItemType(unknown), PrivacyItemType::Unknown);
  }
  EXPECT_EQ(PrivacyItem::PrivacyItemTypeName(static_cast<PrivacyItemType>(6)), "");
}

TEST(PrivacyItem, FrameSearchesOnlyRegularItemsOfKnownType) {
  FakeWalks walks;
  EventJournal journal;
  auto item = MakeConfig("App", SoftwareType::Root, true, {"Recent=2"})->Items.Item(1);
  item->Subscribe(&journal);

  // Without refreshing before any search: no result, reported as -1, nothing searched.
  EXPECT_EQ(item->GetPrivacyValue(walks, Kept()), nullptr);
  const auto found = item->GetPrivacyValue(walks, Search(false, true));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(item->ValueCount(), 2);
  // Reporting the kept result again raises no AppendValue and the same count.
  EXPECT_EQ(item->GetPrivacyValue(walks, Kept()), found);
  EXPECT_EQ(walks.searched, (Lines{"Recent!"}));
  EXPECT_EQ(journal.lines, (Lines{"item Recent -1", "append Recent Recent.ini:k1", "append Recent Recent.ini:k2",
                                  "item Recent 2", "item Recent 2"}));

  // Irregular and unknown-type items search nothing and answer an empty result: 0, not -1.
  journal.lines.clear();
  item->Irregular = true;
  EXPECT_EQ(item->GetPrivacyValue(walks, Search())->Count(), 0);
  item->Irregular = false;
  item->ItemType = static_cast<PrivacyItemType>(6);
  EXPECT_EQ(item->GetPrivacyValue(walks, Search())->Count(), 0);
  EXPECT_EQ(walks.searched.size(), 1u);
  EXPECT_EQ(journal.lines, (Lines{"item Recent 0", "item Recent 0"}));

  item->EmptyPrivacyValue();
  EXPECT_EQ(item->ValueCount(), -1);
}

}  // namespace
}  // namespace qm::testing
