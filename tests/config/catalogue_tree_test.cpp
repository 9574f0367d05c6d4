#include "config/catalogue_tree.h"

#include <gtest/gtest.h>

#include "catalogue_helpers.h"

namespace qm::testing {
namespace {

using Lines = std::vector<std::string>;

/// The tags of the nodes in the order they were made.
Lines Tags(const std::vector<CatalogueTreeNode>& tree) {
  Lines tags;
  for (const CatalogueTreeNode& node : tree) tags.push_back(node.Tag);
  return tags;
}

TEST(CatalogueTree, TagsAreFullPathsOfSelectedConfigurationsAndItems) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", SoftwareType::Root, true, {"Recent=1", "-Temp=1", "Run=1"}));
  catalogue.Add(MakeConfig("Hidden", SoftwareType::Root, false, {"x=1"}));
  catalogue.Add(MakeConfig("Opera", SoftwareType::Plugins, true, {"Cache=1"}));
  catalogue.Add(MakeConfig("Mine", SoftwareType::Customs, true, {"Cookies=1"}));
  catalogue.Add(MakeConfig("Vlc", SoftwareType::Plugins, true, {}));
  catalogue.Add(MakeConfig("Odd", SoftwareType::Unknown, true, {"o=1"}));

  const auto tree = BuildCatalogueTree(catalogue);
  // Groups are made where their first configuration comes; the display order shows each node followed by its
  // subtree.
  EXPECT_EQ(Joined(Tags(tree)), Joined(FixtureLines("tree_tags.txt")));
  EXPECT_EQ(DisplayOrder(tree), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 10, 7, 8, 9, 11, 12}));

  EXPECT_EQ(tree[0].Key, "root");
  EXPECT_EQ(tree[0].Parent, CatalogueTreeNode::kNoParent);
  EXPECT_EQ(tree[4].Key, "plug");
  EXPECT_EQ(tree[4].Text, "Plug-ins");
  EXPECT_EQ(tree[7].Key, "cust");
  EXPECT_EQ(tree[6].Text, "Cache");
  EXPECT_EQ(tree[6].Parent, 5u);
  EXPECT_EQ(tree[6].Config, catalogue.Item(3));
  EXPECT_EQ(tree[6].Item, catalogue.Item(3)->Items.Item(1));
  EXPECT_EQ(tree[5].Item, nullptr);
}

TEST(CatalogueTree, AllAddsTheUnselectedOnes) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", SoftwareType::Root, true, {"Recent=1", "-Temp=1"}));
  catalogue.Add(MakeConfig("Off", SoftwareType::Customs, false, {"-x=1"}));
  EXPECT_EQ(Tags(BuildCatalogueTree(catalogue)),
            (Lines{"Ur All Privacy", "Ur All Privacy\\Windows", "Ur All Privacy\\Windows\\Recent"}));
  EXPECT_EQ(Tags(BuildCatalogueTree(catalogue, true)),
            (Lines{"Ur All Privacy", "Ur All Privacy\\Windows", "Ur All Privacy\\Windows\\Recent",
                   "Ur All Privacy\\Windows\\Temp", "Ur All Privacy\\Customs", "Ur All Privacy\\Customs\\Off",
                   "Ur All Privacy\\Customs\\Off\\x"}));
  // An empty catalogue still has its root.
  EXPECT_EQ(Tags(BuildCatalogueTree(PrivacyConfigs())), (Lines{"Ur All Privacy"}));
}

TEST(CatalogueTree, NamesThatCannotBeTagsGetTagsThatAreStillUniqueWithOrWithoutTheUnselected) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Plug-ins", SoftwareType::Root, true, {"a\\b=1", "a/b=1"}));
  catalogue.Add(MakeConfig("Tool", SoftwareType::Plugins, false, {"x=1"}));
  catalogue.Add(MakeConfig("Tool", SoftwareType::Plugins, true, {"x=1", "-x=1", "x=1"}));
  catalogue.Add(MakeConfig("Tool", SoftwareType::Customs, true, {"x=1"}));
  const Lines selected = FixtureLines("tree_names.txt");
  EXPECT_EQ(Joined(Tags(BuildCatalogueTree(catalogue))), Joined(selected));
  const auto all = BuildCatalogueTree(catalogue, true);
  for (const std::string& tag : selected) EXPECT_NE(FindTreeNode(all, tag), CatalogueTreeNode::kNoParent) << tag;
  EXPECT_EQ(all[FindTreeNode(all, "Ur All Privacy\\Plug-ins\\Tool")].Config, catalogue.Item(2));
  EXPECT_EQ(FindTreeNode(all, "Ur All Privacy\\Nothing"), CatalogueTreeNode::kNoParent);
  EXPECT_EQ(TagProblems(catalogue).size(), 6u);
}

}  // namespace
}  // namespace qm::testing
