#include "ui/model/custom_maker.h"

#include <gtest/gtest.h>

#include "config/privacy_configs.h"
#include "support/catalogue_builders.h"
#include "support/lines.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

using ui::ConfigTree;
using ui::CustomMaker;

/// The lines of a custom configuration of version 1 with these header values, then `items`.
Lines Block(const std::string& name, const std::string& description, const char* selected, const Lines& items) {
  Lines lines{
      "[Config]", "Type:Customs", "Software:" + name, "Description:" + description, std::string("Selected:") + selected,
      "Version:1"};
  lines.insert(lines.end(), items.begin(), items.end());
  return lines;
}

Lines NodeTexts(const ConfigTree& tree) {
  Lines texts;
  for (std::size_t i = 0; i < tree.size(); ++i) texts.push_back(tree[i].Text + (tree[i].Checked ? " x" : ""));
  return texts;
}

/// An item as the Custom Item dialog hands it back: a title and its definition line.
std::shared_ptr<PrivacyItem> Defined(const std::string& title) {
  auto item = std::make_shared<PrivacyItem>();
  item->Title = title;
  item->ItemType = PrivacyItemType::Folder;
  item->FileLine = title + "<>0<>0<>Folder><%temporarydir%\\" + title;
  return item;
}

TEST(CustomMaker, ANewConfigurationTakesItsFirstItemsTitleAndOkWritesACustomBlock) {
  PrivacyConfig fresh;
  fresh.Selected = true;
  CustomMaker maker(fresh);
  std::string nameBox = "  ";
  EXPECT_EQ(maker.Add(Defined("Recent"), nameBox), 1u);
  EXPECT_EQ(nameBox, "Recent");
  EXPECT_EQ(NodeTexts(maker.Tree()), (Lines{"Recent x", "Recent x"}));
  nameBox = " Browser ";
  maker.Rename(nameBox);
  EXPECT_EQ(maker.Working()->Software, "Browser");
  // Renaming changes the root at once; the items follow only on OK.
  EXPECT_EQ(maker.Tree()[0].Text, "Browser");
  EXPECT_EQ(maker.Working()->Items.Item(1)->Software, "Recent");
  EXPECT_EQ(maker.Add(Defined("Cache"), nameBox), 2u);
  EXPECT_EQ(nameBox, " Browser ");
  maker.Tree().Check(1, false);
  EXPECT_EQ(fresh.Items.Count(), 0);

  maker.Fill(fresh, nameBox, "My browser");
  const std::string recent = "Recent<>0<>0<>Folder><%temporarydir%\\Recent";
  EXPECT_EQ(fresh.Software, "Browser");
  EXPECT_EQ(fresh.SoftwareType, SoftwareType::Customs);
  EXPECT_EQ(Entries(fresh.FileLines),
            Block("Browser", "My browser", "1", {recent, "Cache<>0<>0<>Folder><%temporarydir%\\Cache"}));
  ASSERT_EQ(fresh.Items.Count(), 2);
  EXPECT_FALSE(fresh.Items.Item(1)->Selected);
  EXPECT_TRUE(fresh.Items.Item(2)->Selected);
  EXPECT_EQ(fresh.Items.Item(1)->Software, "Browser");

  // The block it writes loads back as the same configuration.
  ScratchFolder dir("custom-maker");
  PrivacyConfigs saved;
  saved.Add(std::shared_ptr<PrivacyConfig>(std::shared_ptr<PrivacyConfig>(), &fresh));
  const std::string file = dir / "custom.pc";
  saved.SaveConfig(file);
  const auto loaded = ReadCatalogue(file);
  ASSERT_EQ(loaded->Count(), 1);
  EXPECT_EQ(Entries(loaded->Item(1)->FileLines),
            Block("Browser", "My browser", "1", {recent, "Cache<>1<>0<>Folder><%temporarydir%\\Cache"}));
}

TEST(CustomMaker, AnExistingConfigurationKeepsItsLinesItsNameAndItsTicksAndWithoutItemsKeepsItsHeader) {
  auto original = MakeConfig(
      "Player", SoftwareType::Customs,
      {MakeItem("Player", "List", PrivacyItemType::File, {}), MakeItem("Player", "List", PrivacyItemType::File, {}),
       MakeItem("Player", "Gone", PrivacyItemType::File, {})});
  original->FileLines = {"[Config]", "Software:Player", "  List<>1<>0<>File><C:\\one", "List<>1<>0<>File><C:\\1"};
  original->Items.Item(2)->FileLine = "List<>1<>0<>File><C:\\two";
  CustomMaker maker(*original);
  // The first item takes the first line of its title; the second keeps its own; the third finds none.
  EXPECT_EQ(maker.Working()->Items.Item(1)->FileLine, "  List<>1<>0<>File><C:\\one");
  EXPECT_EQ(maker.Working()->Items.Item(2)->FileLine, "List<>1<>0<>File><C:\\two");
  EXPECT_EQ(maker.Working()->Items.Item(3)->FileLine, "");

  std::string nameBox;
  EXPECT_EQ(maker.Add(Defined("Recent"), nameBox), 4u);
  EXPECT_EQ(nameBox, "Player");
  EXPECT_EQ(maker.Working()->Items.Item(4)->Software, "Player");

  // Refusals: no node, the root, an item; Detail with only the root.
  const std::tuple<std::size_t, const char*, const char*> refusals[] = {
      {ConfigTree::kNone, ui::kSelectItemMessage, ui::kSelectItemMessage},
      {0, ui::kRootNotDeletedMessage, ""},
      {2, "", ""},
  };
  for (const auto& [selected, deleting, detailing] : refusals) {
    EXPECT_EQ(maker.DeleteRefusal(selected).value_or(""), deleting) << selected;
    EXPECT_EQ(maker.DetailRefusal(selected).value_or(""), detailing) << selected;
  }
  EXPECT_EQ(CustomMaker::DetailNode(0), 1u);
  EXPECT_EQ(CustomMaker::DetailNode(3), 3u);

  // Detail keeps an untick made in the tree; Delete removes item and node together.
  maker.Tree().Check(2, false);
  std::shared_ptr<PrivacyItem> edited = maker.DetailItem(2);
  EXPECT_FALSE(edited->Selected);
  edited->Title = "Playlist";
  maker.Detailed(2);
  maker.Delete(1);
  EXPECT_EQ(NodeTexts(maker.Tree()), (Lines{"Player x", "Playlist", "Gone x", "Recent x"}));
  EXPECT_EQ(original->Items.Item(2)->Title, "List");

  EXPECT_EQ(maker.OkRefusal(" ").value_or(""), ui::kNoNameMessage);
  EXPECT_FALSE(maker.OkRefusal("Player").has_value());
  maker.Fill(*original, "Player", "");
  EXPECT_EQ(
      Entries(original->FileLines),
      Block("Player", "", "1", {"List<>1<>0<>File><C:\\two", "", "Recent<>0<>0<>Folder><%temporarydir%\\Recent"}));
  EXPECT_EQ(original->Items.Count(), 3);
  EXPECT_EQ(original->Items.Item(1)->Title, "Playlist");

  // Without items, OK asks, and writes the header alone.
  auto empty = MakeConfig("Empty", SoftwareType::Customs, {MakeItem("Empty", "Only", PrivacyItemType::File, {})});
  CustomMaker emptied(*empty);
  EXPECT_FALSE(emptied.Empty());
  emptied.Delete(1);
  EXPECT_TRUE(emptied.Empty());
  EXPECT_EQ(emptied.DetailRefusal(0).value_or(""), ui::kNoItemMessage);
  emptied.Tree().Check(0, false);
  emptied.Fill(*empty, "Empty", "none");
  EXPECT_EQ(Entries(empty->FileLines), Block("Empty", "none", "0", {}));
  EXPECT_EQ(empty->Items.Count(), 0);
  EXPECT_FALSE(empty->Selected);
}

}  // namespace
}  // namespace qm::testing
