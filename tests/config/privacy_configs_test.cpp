#include "config/privacy_configs.h"

#include <gtest/gtest.h>

#include "catalogue_helpers.h"
#include "config/catalogue_tree.h"
#include "config/privacy_item.h"
#include "support/event_journal.h"
#include "support/lines.h"

namespace qm::testing {
namespace {

constexpr SoftwareType kRoot = SoftwareType::Root;
constexpr SoftwareType kPlugins = SoftwareType::Plugins;
constexpr SoftwareType kCustoms = SoftwareType::Customs;

TEST(PrivacyItem, SettingsStringsSplitAfterTrimmingTheWholeAndTypeNamesAreExact) {
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

  const std::vector<std::pair<const char*, int32_t>> names = {{"RegValue", 1}, {"RegKey", 2}, {"RegSubKeyValue", 3},
                                                              {"File", 4},     {"Folder", 5}, {"IniFileItem", 7},
                                                              {"Customize", 8}};
  for (const auto& [name, code] : names) {
    EXPECT_EQ(static_cast<int32_t>(PrivacyItem::TransPrivacyItemType(name)), code);
    EXPECT_EQ(PrivacyItem::PrivacyItemTypeName(static_cast<PrivacyItemType>(code)), name);
  }
  for (const char* unknown : {"file", "File ", ""}) {
    EXPECT_EQ(PrivacyItem::TransPrivacyItemType(unknown), PrivacyItemType::Unknown) << unknown;
  }
  EXPECT_EQ(PrivacyItem::PrivacyItemTypeName(static_cast<PrivacyItemType>(6)), "");
}

TEST(PrivacyItem, FrameSearchesOnlyRegularItemsOfKnownType) {
  FakeWalks walks;
  EventJournal journal;
  auto item = MakeConfig("App", kRoot, true, {"Recent=2"})->Items.Item(1);
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

TEST(PrivacyConfigs, SearchVisitsRootsThenThePluginsAndCustomsPassesAndAStopEndsItsLoops) {
  FakeWalks walks;
  EventJournal journal;
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("A", kRoot, true, {"a1=1", "-a2=5"}));
  catalogue.Add(MakeConfig("P1", kPlugins, false, {"p1=1"}));
  catalogue.Add(MakeConfig("C1", kCustoms, true, {"c1=2"}));
  catalogue.Add(MakeConfig("P2", kPlugins, true, {"p2=0"}));
  catalogue.Add(MakeConfig("Q", kPlugins, true, {"q=nothing"}));
  catalogue.Add(MakeConfig("B", kRoot, true, {"b1=1"}));  // behind the first custom: never visited
  catalogue.Subscribe(&journal);

  const auto result = catalogue.GetPrivacyValue(walks, Search());
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(walks.searched, (Lines{"a1", "p2", "q", "c1"}));
  EXPECT_EQ(journal.lines,
            (Lines{"append a1 a1.ini:k1", "item a1 1", "config A 1",                    //
                   "item p2 0", "config P2 0", "item q -1", "config Q -1", "type 2 0",  //
                   "append c1 c1.ini:k1", "append c1 c1.ini:k2", "item c1 2", "config C1 2", "type 3 2", "finish 3"}));
  EXPECT_EQ(result->Count(), 3);
  EXPECT_EQ(result->Item(3)->Path, "c1.ini:k2");
  // The merged result shares the items' records.
  EXPECT_EQ(result->Item(2), catalogue.FindPrivacyConfig("C1")->Items.Item(1)->GetPrivacyValue(walks, Kept())->Item(1));

  // With bOmitSelected every configuration and item counts, and erasing is passed down.
  walks.searched.clear();
  EXPECT_EQ(catalogue.GetPrivacyValue(walks, Search(true, true))->Count(), 1 + 5 + 1 + 2 + 0);
  EXPECT_EQ(walks.searched, (Lines{"a1!", "a2!", "p1!", "p2!", "q!", "c1!"}));
  EXPECT_EQ(journal.lines.back(), "finish 9");

  // A pass of a type no configuration has gives no result; emptying by type leaves the other types' results.
  EXPECT_EQ(catalogue.GetPrivacyValueBySoftwareType(static_cast<SoftwareType>(7), walks, Search()), nullptr);
  EXPECT_EQ(journal.lines.back(), "type 7 -1");
  catalogue.EmptyPrivacyValueBySoftwareType(kPlugins);
  EXPECT_EQ(catalogue.FindPrivacyConfig("P1")->ValueCount(), -1);
  EXPECT_EQ(catalogue.FindPrivacyConfig("C1")->ValueCount(), 2);

  // A stop ends the loops at their next test.
  walks.searched.clear();
  journal.lines.clear();
  PrivacyConfigs stopping;
  stopping.Add(MakeConfig("A", kRoot, true, {"a1=stop", "a2=1"}));
  stopping.Add(MakeConfig("B", kRoot, true, {"b1=1"}));
  stopping.Subscribe(&journal);
  EXPECT_EQ(stopping.GetPrivacyValue(walks, Search())->Count(), 1);
  EXPECT_EQ(walks.searched, (Lines{"a1"}));
  EXPECT_EQ(journal.lines, (Lines{"append a1 a1.ini:k1", "item a1 1", "config A 1", "finish 1"}));

  // A software-type pass ends with the configuration that stopped; the customs pass never starts.
  walks.stop = false;
  walks.searched.clear();
  PrivacyConfigs passes;
  passes.Add(MakeConfig("P1", kPlugins, true, {"x=stop", "x2=1"}));
  passes.Add(MakeConfig("P2", kPlugins, true, {"y=1", "y2=1"}));
  passes.Add(MakeConfig("C", kCustoms, true, {"z=1"}));
  EXPECT_EQ(passes.GetPrivacyValue(walks, Search())->Count(), 1);
  EXPECT_EQ(walks.searched, (Lines{"x"}));
}

TEST(PrivacyConfigs, CountsTellNoResultFromAnEmptyOne) {
  FakeWalks walks;
  EventJournal journal;
  PrivacyConfigs catalogue;
  catalogue.Subscribe(&journal);
  // No configuration at all, then none selected: no result, -1.
  EXPECT_EQ(catalogue.GetPrivacyValue(walks, Search()), nullptr);
  EXPECT_EQ(catalogue.ValueCount(), -1);
  catalogue.Add(MakeConfig("Off", kRoot, false, {"x=1"}));
  EXPECT_EQ(catalogue.GetPrivacyValue(walks, Search()), nullptr);
  EXPECT_EQ(journal.lines, (Lines{"finish -1", "finish -1"}));

  // A selected configuration without selected items: -1 for it and for the catalogue.
  journal.lines.clear();
  catalogue.Add(MakeConfig("NoItems", kRoot, true, {"-x=1"}));
  EXPECT_EQ(catalogue.GetPrivacyValue(walks, Search()), nullptr);
  EXPECT_EQ(journal.lines, (Lines{"config NoItems -1", "finish -1"}));

  // An item that finds nothing: 0 all the way up.
  journal.lines.clear();
  catalogue.Add(MakeConfig("Empty", kRoot, true, {"e=0"}));
  const auto result = catalogue.GetPrivacyValue(walks, Search());
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Count(), 0);
  EXPECT_EQ(journal.lines, (Lines{"config NoItems -1", "item e 0", "config Empty 0", "finish 0"}));
  EXPECT_EQ(catalogue.ValueCount(), 0);
  EXPECT_EQ(catalogue.FindPrivacyConfig("NoItems")->ValueCount(), -1);

  // ValueCount sums the counts that are not -1, and EmptyPrivacyValue brings them back to -1.
  catalogue.Add(MakeConfig("Two", kRoot, true, {"t=2", "-u=3"}));
  catalogue.GetPrivacyValue(walks, Search());
  EXPECT_EQ(catalogue.ValueCount(), 2);
  catalogue.EmptyPrivacyValue();
  EXPECT_EQ(catalogue.ValueCount(), -1);
}

TEST(PrivacyConfigs, EventsAreForwardedOnlyFromTheHeldObject) {
  FakeWalks walks;
  EventJournal configJournal;
  EventJournal catalogueJournal;
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("A", kRoot, true, {"a1=1", "a2=1"}));
  catalogue.Add(MakeConfig("B", kRoot, true, {"b1=1"}));
  const auto a = catalogue.Item(1);
  a->Subscribe(&configJournal);
  catalogue.Subscribe(&catalogueJournal);

  // Nothing is held yet: an item searched on its own reaches no one above it.
  a->Items.Item(2)->GetPrivacyValue(walks, Search());
  EXPECT_TRUE(configJournal.lines.empty());

  catalogue.GetPrivacyValue(walks, Search());
  EXPECT_EQ(configJournal.lines,
            (Lines{"append a1 a1.ini:k1", "item a1 1", "append a2 a2.ini:k1", "item a2 1", "config A 2"}));
  EXPECT_EQ(catalogueJournal.lines.size(), 9u);

  // The holders stay set after the search: A still forwards its last item (a2), not a1; the catalogue
  // forwards B, its last configuration, not A.
  configJournal.lines.clear();
  catalogueJournal.lines.clear();
  a->Items.Item(1)->GetPrivacyValue(walks, Kept());
  a->Items.Item(2)->GetPrivacyValue(walks, Kept());
  EXPECT_EQ(configJournal.lines, (Lines{"item a2 1"}));
  EXPECT_TRUE(catalogueJournal.lines.empty());
  a->GetPrivacyValue(walks, Kept());
  EXPECT_TRUE(catalogueJournal.lines.empty());
  catalogue.Item(2)->GetPrivacyValue(walks, Kept());
  EXPECT_EQ(catalogueJournal.lines, (Lines{"item b1 1", "config B 1"}));
}

TEST(PrivacyConfigs, ReOrderPutsRootsFirstThenSortsPluginsAndCustomsStably) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("odd1", SoftwareType::Unknown, true, {}), "first");
  catalogue.Add(MakeConfig("same", kCustoms, true, {"one=1"}));
  catalogue.Add(MakeConfig("R2", kRoot, true, {}));
  catalogue.Add(MakeConfig("a_b", kPlugins, true, {}));
  catalogue.Add(MakeConfig("SAME", kCustoms, true, {"two=1"}));
  catalogue.Add(MakeConfig("AB", kPlugins, true, {}));
  catalogue.Add(MakeConfig("R1", kRoot, true, {}));
  catalogue.Add(MakeConfig("odd2", static_cast<SoftwareType>(9), true, {}));
  catalogue.Add(MakeConfig("\xC3\xA9t\xC3\xA9", kPlugins, true, {}));  // été: upper-cased É sorts after Z
  catalogue.Add(MakeConfig("zed", kPlugins, true, {}));
  // Roots keep their order; names compare upper-cased, so "_" sorts after "B"; equal names keep their order;
  // unknown types follow in theirs. A second pass changes nothing.
  for (int pass = 1; pass <= 2; ++pass) {
    catalogue.ReOrder();
    EXPECT_EQ(NameTicks(catalogue), "R2+ R1+ AB+ a_b+ zed+ \xC3\xA9t\xC3\xA9+ same+ SAME+ odd1+ odd2+ ");
  }
  EXPECT_EQ(catalogue.Item("first")->Software, "odd1");  // keys survive the moves
}

TEST(PrivacyConfigs, FindAndClone) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("App", kCustoms, true, {"Recent=1", "-Cache=2"}));
  catalogue.Add(MakeConfig("App", kRoot, false, {}));
  EXPECT_EQ(catalogue.FindPrivacyConfig("App"), catalogue.Item(1));
  EXPECT_EQ(catalogue.FindPrivacyConfig("app"), nullptr);
  const auto app = catalogue.Item(1);
  EXPECT_EQ(app->FindPrivacyItem("Cache"), app->Items.Item(2));
  EXPECT_EQ(app->FindPrivacyItem("recent"), nullptr);

  // A clone copies the definitions but not the results, and its lists are its own.
  FakeWalks walks;
  app->GetPrivacyValue(walks, Search());
  app->Description = "desc";
  app->Version = "1.2";
  app->FileLines.Add("[Config]");
  const auto recent = app->Items.Item(1);
  recent->HoldFlag = true;
  recent->HoldSettings.Add("C:\\keep.txt");
  recent->Irregular = true;
  recent->FileLine = "line";
  const auto copy = app->Clone();
  EXPECT_EQ(Described(*copy), (Lines{"[Customs|App|1|1.2|desc]", "App: Recent<>1<>1<>IniFileItem><1><C:\\keep.txt",
                                     "App: Cache<>0<>0<>IniFileItem><2><"}));
  EXPECT_EQ(Entries(copy->FileLines), Entries(app->FileLines));
  EXPECT_TRUE(copy->Items.Item(1)->Irregular);
  EXPECT_EQ(copy->Items.Item(1)->FileLine, "line");
  EXPECT_EQ(copy->ValueCount(), -1);
  copy->Items.Item(1)->HoldSettings.Add("C:\\other.txt");
  EXPECT_EQ(recent->HoldSettings.Count(), 1);
  // The catalogue's clone holds clones of its configurations, in order: changing one leaves the original.
  const auto whole = catalogue.Clone();
  EXPECT_EQ(Described(*whole), Described(catalogue));
  ASSERT_EQ(whole->Count(), 2);
  EXPECT_NE(whole->Item(1), app);
  whole->Item(1)->Items.Item(2)->Selected = true;
  whole->Remove(2);
  EXPECT_FALSE(app->Items.Item(2)->Selected);
  EXPECT_EQ(catalogue.Count(), 2);
  // Type names are matched exactly.
  EXPECT_EQ(PrivacyConfig::TransSoftwareType("customs"), SoftwareType::Unknown);
}

/// The tags of the nodes in the order they were made.
Lines Tags(const std::vector<CatalogueTreeNode>& tree) {
  Lines tags;
  for (const CatalogueTreeNode& node : tree) tags.push_back(node.Tag);
  return tags;
}

TEST(CatalogueTree, TagsAreFullPathsOfTheSelectedOrOfAllConfigurationsAndItems) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", kRoot, true, {"Recent=1", "-Temp=1", "Run=1"}));
  catalogue.Add(MakeConfig("Hidden", kCustoms, false, {"x=1"}));
  catalogue.Add(MakeConfig("Opera", kPlugins, true, {"Cache=1"}));
  catalogue.Add(MakeConfig("Mine", kCustoms, true, {"Cookies=1"}));
  catalogue.Add(MakeConfig("Vlc", kPlugins, true, {}));
  catalogue.Add(MakeConfig("Odd", SoftwareType::Unknown, true, {"o=1"}));

  const auto tree = BuildCatalogueTree(catalogue);
  // Groups are made where their first configuration comes; the display order shows each node followed by its
  // subtree.
  EXPECT_EQ(Joined(Tags(tree)), Joined(FixtureLines("config/tree_tags.txt")));
  EXPECT_EQ(DisplayOrder(tree), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 10, 7, 8, 9, 11, 12}));

  EXPECT_EQ(tree[0].Key + tree[4].Key + tree[7].Key + "|" + tree[4].Text + "|" + tree[6].Text,
            "rootplugcust|Plug-ins|Cache");
  EXPECT_EQ(tree[0].Parent, CatalogueTreeNode::kNoParent);
  EXPECT_EQ(tree[6].Parent, 5u);
  EXPECT_EQ(tree[6].Config, catalogue.Item(3));
  EXPECT_EQ(tree[6].Item, catalogue.Item(3)->Items.Item(1));
  EXPECT_EQ(tree[5].Item, nullptr);

  // With the unselected ones a group can be made for a configuration that is not selected.
  EXPECT_EQ(Joined(Tags(BuildCatalogueTree(catalogue, true))), Joined(FixtureLines("config/tree_tags_all.txt")));
  EXPECT_EQ(Tags(BuildCatalogueTree(PrivacyConfigs())), (Lines{"Ur All Privacy"})) << "an empty catalogue has a root";
}

TEST(CatalogueTree, NamesThatCannotBeTagsGetTagsThatAreStillUniqueWithOrWithoutTheUnselected) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Plug-ins", kRoot, true, {"a\\b=1", "a/b=1"}));
  catalogue.Add(MakeConfig("Tool", kPlugins, false, {"x=1"}));
  catalogue.Add(MakeConfig("Tool", kPlugins, true, {"x=1", "-x=1", "x=1"}));
  catalogue.Add(MakeConfig("Tool", kCustoms, true, {"x=1"}));
  const Lines selected = FixtureLines("config/tree_names.txt");
  EXPECT_EQ(Joined(Tags(BuildCatalogueTree(catalogue))), Joined(selected));
  const auto all = BuildCatalogueTree(catalogue, true);
  for (const std::string& tag : selected) EXPECT_NE(FindTreeNode(all, tag), CatalogueTreeNode::kNoParent) << tag;
  EXPECT_EQ(all[FindTreeNode(all, "Ur All Privacy\\Plug-ins\\Tool")].Config, catalogue.Item(2));
  EXPECT_EQ(FindTreeNode(all, "Ur All Privacy\\Nothing"), CatalogueTreeNode::kNoParent);
  EXPECT_EQ(TagProblems(catalogue).size(), 6u);
}

}  // namespace
}  // namespace qm::testing
