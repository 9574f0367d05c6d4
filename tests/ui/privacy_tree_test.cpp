#include "ui/model/privacy_tree.h"

#include <gtest/gtest.h>

#include "support/case_tree.h"
#include "support/catalogue_builders.h"
#include "support/lines.h"
#include "support/raised_error.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

using ui::PrivacyTree;
using ui::RunMode;
using Indexes = std::vector<std::size_t>;

/// Hands a run's events to the tree, as the main window does.
struct TreeListener : RunListener {
  explicit TreeListener(PrivacyTree& t) : tree(t) {}
  void AppendValue(PrivacyItem& pi, PrivacyValue&) override { tree.OnAppendValue(pi); }
  void ParseItemFinish(PrivacyItem& pi, int64_t n) override { tree.OnParseItemFinish(pi, n); }
  void ParseConfigFinish(PrivacyConfig& pc, int64_t n) override { tree.OnParseConfigFinish(pc, n); }
  void ParseBySoftwareTypeFinish(SoftwareType type, int64_t n) override { tree.OnParseBySoftwareTypeFinish(type, n); }
  void ParseFinish(int64_t n) override { tree.OnParseFinish(n); }
  PrivacyTree& tree;
};

/// Each node as the window draws it: indented by its depth, its text, its two images without the "folder" they
/// begin with ("/open", "show/openshow"), then " B" when bold and " E" when expanded.
Lines Looks(const PrivacyTree& tree) {
  Lines looks;
  for (std::size_t i = 0; i < tree.size(); ++i) {
    std::string line = tree[i].Text + " " + tree[i].Image.substr(6) + "/" + tree[i].SelectedImage.substr(6);
    for (std::size_t up = tree[i].Node.Parent; up != PrivacyTree::kNone; up = tree[up].Node.Parent) line = "  " + line;
    looks.push_back(line + (tree[i].Bold ? " B" : "") + (tree[i].Expanded ? " E" : ""));
  }
  return looks;
}

TEST(PrivacyTree, ShowAndClearRunsCountAndPaintTheNodesTheyFinish) {
  TestEngine t;
  Sections c = ReadSections(FixturePath("ui/privacy_tree_runs.case"));
  CaseTree().Build(t.dir.Path(), c["files"]);
  t.LoadCatalogue(Joined(c["catalogue"]));
  PrivacyTree tree;
  tree.Load(t.engine.Catalogue());
  TreeListener listener(tree);
  tree.SetRunMode(RunMode::Show);
  t.Run(false, "Ur All Privacy", &listener);
  // A new run on the plug-ins after the root configuration Tool's texts were reset: the reset keeps images, and
  // the run changes only its own nodes.
  tree.TakeChanged();
  tree.ResetNodeText(4);
  tree.ResetNodeText(6);
  tree.SetRunMode(RunMode::Delete);
  t.Run(true, "Ur All Privacy\\Plug-ins", &listener);
  EXPECT_EQ(Joined(Looks(tree)), Joined(c["tree"]));
  EXPECT_EQ(tree.TakeChanged(), (Indexes{4, 5, 6, 7, 8}));
}

TEST(PrivacyTree, EventsFindTheirOwnNodesAndChangeOnlyWhatDiffers) {
  auto plugin = MakeConfig("Tool", SoftwareType::Plugins, {MakeItem("Tool", "Files", PrivacyItemType::File, {})});
  auto root = MakeConfig("Tool", SoftwareType::Root, {MakeItem("Tool", "Files", PrivacyItemType::File, {})});
  auto unselected = root->Items.Add(MakeItem("Tool", "Off", PrivacyItemType::File, {}));
  unselected->Selected = false;
  PrivacyConfigs catalogue;
  catalogue.Add(plugin);
  catalogue.Add(root);
  PrivacyTree tree;
  tree.Load(catalogue);
  // Nodes: root, Plug-ins, Tool, Files, Tool, Files. The first whose tag is one of the three, in index order.
  const std::tuple<const char*, const char*, std::size_t> finds[] = {{"Tool", "", 2},
                                                                     {"Tool", "Files", 3},
                                                                     {"Plug-ins", "", 1},
                                                                     {"Tool", "Off", PrivacyTree::kNone},
                                                                     {"tool", "", PrivacyTree::kNone}};
  for (const auto& [software, title, node] : finds) EXPECT_EQ(tree.FindPrivacyNode(software, title), node) << software;

  EXPECT_EQ(tree.TakeChanged().size(), 6u);
  tree.OnAppendValue(*root->Items.Item(1));
  EXPECT_EQ(tree.TakeChanged(), (Indexes{4, 5}));
  tree.OnAppendValue(*root->Items.Item(1));
  EXPECT_EQ(tree.TakeChanged(), Indexes{});
  tree.OnAppendValue(*plugin->Items.Item(1));
  EXPECT_EQ(tree.TakeChanged(), (Indexes{1, 2, 3}));
  // A display pass sets counts and keeps the images.
  tree.OnParseItemFinish(*root->Items.Item(1), -1);
  tree.OnParseConfigFinish(*root, 0);
  EXPECT_EQ(Looks(tree)[4] + " |" + Looks(tree)[5], "  Tool(0) /open E |    Files /open");
  EXPECT_EQ(RaisedError([&] { tree.OnAppendValue(*unselected); }), "100|SUP|Don't find the nodeItem");
  EXPECT_EQ(RaisedError([&] { tree.OnParseItemFinish(*unselected, 1); }), "100|SUP|Don't find the nodeItem");
  EXPECT_EQ(RaisedError([&] { tree.OnParseConfigFinish(*MakeConfig("Tool", SoftwareType::Root, {}), 1); }),
            "100|SUP|Don't find the nodeConfig");
  EXPECT_EQ(tree.TakeChanged(), (Indexes{4, 5}));

  // Loading again starts afresh, in the display mode; with root configurations only there is no group node.
  tree.SetRunMode(RunMode::Show);
  catalogue.Remove(1);
  tree.Load(catalogue);
  tree.OnParseConfigFinish(*root, 2);
  EXPECT_EQ(Looks(tree), (Lines{"Ur All Privacy /open B E", "  Tool(2) /open", "    Files /open"}));
  EXPECT_EQ(tree.TakeChanged(), (Indexes{0, 1, 2}));
}

}  // namespace
}  // namespace qm::testing
