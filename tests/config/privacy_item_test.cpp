#include "config/privacy_item.h"

#include <gtest/gtest.h>

#include "fake_walks.h"

namespace qm {
namespace {

using testing::EventJournal;
using testing::FakeWalks;

std::vector<std::string> Entries(const TextList& list) { return {list.begin(), list.end()}; }

TEST(PrivacyItem, SettingsStringsSplitAfterTrimmingTheWhole) {
  PrivacyItem item;
  item.SetSeekSettingsByString("  HKEY_CURRENT_USER <> Software\\App  ");
  EXPECT_EQ(Entries(item.SeekSettings), (std::vector<std::string>{"HKEY_CURRENT_USER ", " Software\\App"}));
  // The methods append; two separators in a row give an empty entry.
  item.SetSeekSettingsByString("a<><>b");
  EXPECT_EQ(Entries(item.SeekSettings),
            (std::vector<std::string>{"HKEY_CURRENT_USER ", " Software\\App", "a", "", "b"}));
  item.SetSeekSettingsByString("   ");
  item.SetSeekSettingsByString("");
  EXPECT_EQ(item.SeekSettings.Count(), 5);
  item.SetHoldSettingsByString("C:\\x.txt<>C:\\y.txt");
  EXPECT_EQ(Entries(item.HoldSettings), (std::vector<std::string>{"C:\\x.txt", "C:\\y.txt"}));
  EXPECT_EQ(item.SeekSettings.Item(1), "HKEY_CURRENT_USER ");
  EXPECT_THROW(item.SeekSettings.Item(6), RuntimeError);
}

TEST(PrivacyItem, TypeNamesAreExact) {
  const std::vector<std::pair<const char*, int32_t>> names = {
      {"RegValue", 1}, {"RegKey", 2}, {"RegSubKeyValue", 3}, {"File", 4},
      {"Folder", 5},   {"IniFileItem", 7}, {"Customize", 8}};
  for (const auto& [name, code] : names) {
    EXPECT_EQ(PrivacyItem::TransPrivacyItemType(name), code);
    EXPECT_EQ(PrivacyItem::PrivacyItemTypeName(code), name);
  }
  EXPECT_EQ(PrivacyItem::TransPrivacyItemType("file"), 0);
  EXPECT_EQ(PrivacyItem::TransPrivacyItemType("File "), 0);
  EXPECT_EQ(PrivacyItem::TransPrivacyItemType(""), 0);
  EXPECT_EQ(PrivacyItem::PrivacyItemTypeName(6), "");
}

TEST(PrivacyItem, FrameSearchesOnlyRegularItemsOfKnownType) {
  FakeWalks walks;
  auto item = testing::MakeConfig("App", software_types::kRoot, true, {"Recent=2"})->Items.Item(1);
  EventJournal journal;
  item->Subscribe(&journal);
  EXPECT_EQ(item->ValueCount(), -1);

  // Without refreshing before any search: no result, reported as -1, nothing searched.
  EXPECT_EQ(item->GetPrivacyValue(false, false), nullptr);
  const auto found = item->GetPrivacyValue(true, true);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Count(), 2);
  EXPECT_EQ(item->ValueCount(), 2);
  // Reporting the kept result again raises no AppendValue and the same count.
  EXPECT_EQ(item->GetPrivacyValue(false, false), found);
  EXPECT_EQ(walks.searched, (std::vector<std::string>{"Recent!"}));
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"item Recent -1", "append Recent Recent.ini:k1",
                                                     "append Recent Recent.ini:k2", "item Recent 2",
                                                     "item Recent 2"}));

  // Irregular and unknown-type items search nothing and answer an empty result: 0, not -1.
  journal.lines.clear();
  item->Irregular = true;
  EXPECT_EQ(item->GetPrivacyValue(true, false)->Count(), 0);
  item->Irregular = false;
  item->ItemType = 6;
  EXPECT_EQ(item->GetPrivacyValue(true, false)->Count(), 0);
  EXPECT_EQ(walks.searched.size(), 1u);
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"item Recent 0", "item Recent 0"}));

  item->EmptyPrivacyValue();
  EXPECT_EQ(item->ValueCount(), -1);
  item->Unsubscribe(&journal);
}

TEST(PrivacyItem, ParserResultAndEventsBecomeTheItems) {
  FakeWalks walks;
  auto config = testing::MakeConfig("App", software_types::kRoot, true, {"Bin=parser", "Gone=nothing"});
  EventJournal journal;
  const auto bin = config->Items.Item(1);
  const auto gone = config->Items.Item(2);
  bin->Subscribe(&journal);
  gone->Subscribe(&journal);
  EXPECT_EQ(bin->GetPrivacyValue(true, false)->Item(1)->Path, "parser.ini:Bin");
  // A parser that hands back nothing leaves the item without a result.
  EXPECT_EQ(gone->GetPrivacyValue(true, false), nullptr);
  EXPECT_EQ(gone->ValueCount(), -1);
  EXPECT_EQ(journal.lines,
            (std::vector<std::string>{"append Bin parser.ini:Bin", "item Bin 1", "item Gone -1"}));
  bin->Unsubscribe(&journal);
  gone->Unsubscribe(&journal);
}

TEST(PrivacyItem, CloneCopiesTheDefinitionButNotTheResult) {
  FakeWalks walks;
  auto item = testing::MakeConfig("App", software_types::kRoot, true, {"Recent=1"})->Items.Item(1);
  item->GetPrivacyValue(true, false);
  ASSERT_EQ(item->ValueCount(), 1);
  item->HoldFlag = true;
  item->HoldSettings.Add("C:\\keep.txt");
  item->Irregular = true;
  item->FileLine = "line";

  const auto copy = item->Clone();
  EXPECT_NE(copy, item);
  EXPECT_EQ(copy->Software, "App");
  EXPECT_EQ(copy->Title, "Recent");
  EXPECT_TRUE(copy->Selected);
  EXPECT_TRUE(copy->HoldFlag);
  EXPECT_TRUE(copy->Irregular);
  EXPECT_EQ(copy->ItemType, item_types::kIniFileItem);
  EXPECT_EQ(copy->FileLine, "line");
  EXPECT_EQ(copy->SeekSettings, item->SeekSettings);
  EXPECT_EQ(copy->HoldSettings, item->HoldSettings);
  EXPECT_EQ(copy->ValueCount(), -1);
  // The lists are the clone's own.
  copy->HoldSettings.Add("C:\\other.txt");
  EXPECT_EQ(item->HoldSettings.Count(), 1);
}

TEST(PrivacyItem, SearchWithoutInstalledWalksIsAnError) {
  PrivacyItem item;
  item.ItemType = item_types::kFile;
  EXPECT_THROW(item.GetPrivacyValue(true, false), RuntimeError);
}

}  // namespace
}  // namespace qm
