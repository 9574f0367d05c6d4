#include "config/catalogue_tree.h"

#include <gtest/gtest.h>

#include "fake_walks.h"

namespace qm {
namespace {

using testing::MakeConfig;
using Lines = std::vector<std::string>;

Lines Tags(const std::vector<CatalogueTreeNode>& tree, const std::vector<std::size_t>& order) {
  Lines tags;
  for (std::size_t i : order) tags.push_back(tree[i].Tag);
  return tags;
}

TEST(CatalogueTree, TagsAreFullPathsOfSelectedConfigurationsAndItems) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", software_types::kRoot, true, {"Recent=1", "-Temp=1", "Run=1"}));
  catalogue.Add(MakeConfig("Hidden", software_types::kRoot, false, {"x=1"}));
  catalogue.Add(MakeConfig("Opera", software_types::kPlugins, true, {"Cache=1"}));
  catalogue.Add(MakeConfig("Mine", software_types::kCustoms, true, {"Cookies=1"}));
  catalogue.Add(MakeConfig("Vlc", software_types::kPlugins, true, {}));
  catalogue.Add(MakeConfig("Odd", 0, true, {"o=1"}));

  const auto tree = BuildCatalogueTree(catalogue);
  // Index order: groups are made where their first configuration comes.
  std::vector<std::size_t> created(tree.size());
  for (std::size_t i = 0; i < created.size(); ++i) created[i] = i;
  EXPECT_EQ(Tags(tree, created),
            (Lines{"Ur All Privacy", "Ur All Privacy\\Windows", "Ur All Privacy\\Windows\\Recent",
                   "Ur All Privacy\\Windows\\Run", "Ur All Privacy\\Plug-ins", "Ur All Privacy\\Plug-ins\\Opera",
                   "Ur All Privacy\\Plug-ins\\Opera\\Cache", "Ur All Privacy\\Customs",
                   "Ur All Privacy\\Customs\\Mine", "Ur All Privacy\\Customs\\Mine\\Cookies",
                   "Ur All Privacy\\Plug-ins\\Vlc", "Ur All Privacy\\Odd", "Ur All Privacy\\Odd\\o"}));
  // Display order: each node followed by its subtree.
  EXPECT_EQ(Tags(tree, DisplayOrder(tree)),
            (Lines{"Ur All Privacy", "Ur All Privacy\\Windows", "Ur All Privacy\\Windows\\Recent",
                   "Ur All Privacy\\Windows\\Run", "Ur All Privacy\\Plug-ins", "Ur All Privacy\\Plug-ins\\Opera",
                   "Ur All Privacy\\Plug-ins\\Opera\\Cache", "Ur All Privacy\\Plug-ins\\Vlc",
                   "Ur All Privacy\\Customs", "Ur All Privacy\\Customs\\Mine",
                   "Ur All Privacy\\Customs\\Mine\\Cookies", "Ur All Privacy\\Odd", "Ur All Privacy\\Odd\\o"}));

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
  EXPECT_EQ(tree[4].Children, (std::vector<std::size_t>{5, 10}));
}

TEST(CatalogueTree, AllAddsTheUnselectedOnes) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", software_types::kRoot, true, {"Recent=1", "-Temp=1"}));
  catalogue.Add(MakeConfig("Off", software_types::kCustoms, false, {"-x=1"}));
  EXPECT_EQ(Tags(BuildCatalogueTree(catalogue), {0, 1, 2}),
            (Lines{"Ur All Privacy", "Ur All Privacy\\Windows", "Ur All Privacy\\Windows\\Recent"}));
  EXPECT_EQ(BuildCatalogueTree(catalogue).size(), 3u);
  const auto all = BuildCatalogueTree(catalogue, true);
  EXPECT_EQ(Tags(all, DisplayOrder(all)),
            (Lines{"Ur All Privacy", "Ur All Privacy\\Windows", "Ur All Privacy\\Windows\\Recent",
                   "Ur All Privacy\\Windows\\Temp", "Ur All Privacy\\Customs", "Ur All Privacy\\Customs\\Off",
                   "Ur All Privacy\\Customs\\Off\\x"}));
  // An empty catalogue still has its root.
  EXPECT_EQ(Tags(BuildCatalogueTree(PrivacyConfigs()), {0}), (Lines{"Ur All Privacy"}));
  EXPECT_EQ(BuildCatalogueTree(PrivacyConfigs()).size(), 1u);
}

}  // namespace
}  // namespace qm
