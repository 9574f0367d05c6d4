#include "ui/model/config_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/catalogue_builders.h"
#include "support/lines.h"
#include "support/test_engine.h"
#include "ui/model/preview_pass.h"

namespace qm::testing {
namespace {

using ui::ConfigTree;

/// Each node as "text [image/selected image]", then " x" when ticked and " B" when bold.
Lines Looks(const ConfigTree& tree) {
  Lines looks;
  for (std::size_t i = 0; i < tree.size(); ++i) {
    looks.push_back(tree[i].Text + " [" + tree[i].Image + "/" + tree[i].SelectedImage + "]" +
                    (tree[i].Checked ? " x" : "") + (tree[i].Bold ? " B" : ""));
  }
  return looks;
}

std::string Panels(const ui::StatusPanels& p) { return p.Where + "|" + p.Count + "|" + p.Size + "|" + p.Row; }

/// The ticks: the root's, a colon, then each item's.
std::string Ticks(const ConfigTree& tree) {
  std::string ticks = tree[0].Checked ? "1:" : "0:";
  for (std::size_t i = 1; i < tree.size(); ++i) ticks += tree[i].Checked ? "1" : "0";
  return ticks;
}

constexpr char kCatalogue[] =
    "[Config]\nType:Root\nSoftware:Browser\nSelected:1\n"
    "Cookies<>1<>1<>File><{dir}\\cookies><{dir}\\cookies\\b.txt\n"
    "History<>0<>0<>Folder><{dir}\\history\nCookies<>1<>0<>File><{dir}\\cache\n";

/// The catalogue above over a scratch folder with five traces, and a working copy of its configuration.
struct PreviewBench {
  PreviewBench() {
    t.dir.Write("cookies/a.txt", std::string(1000, 'a'));
    t.dir.Write("cookies/b.txt", std::string(234567, 'b'));
    t.dir.Write("history/day/1.dat", "h");
    t.dir.Write("cache/c.bin", std::string(1000000, 'c'));
    t.LoadCatalogue(kCatalogue);  // it warns of the repeated title, which the tree tells apart
    config = t.engine.Catalogue().Item(1)->Clone();
    tree.Load(*config);
  }

  /// A pass of `node` as the windows run it, its events applied to the tree; returns the totals.
  RunTotals Pass(std::size_t node, bool search) {
    ui::PreviewFeed feed([] {});
    ui::PreviewProgress progress(tree, search);
    const RunTarget target = ui::PreviewTarget(config, tree, node);
    if (search) tree.ResetNodeText(node);
    const RunTotals totals = search ? t.engine.Run(target, ui::kPreviewRun, &feed) : ui::DisplayKept(target, feed);
    progress.Apply(feed.Take(), feed.LatestValue());
    panels = progress.Panels();
    return totals;
  }

  TestEngine t;
  std::shared_ptr<PrivacyConfig> config;
  ConfigTree tree;
  ui::StatusPanels panels;
};

TEST(ConfigTree, TicksPropagateBetweenTheRootAndItsItems) {
  PreviewBench bench;
  ConfigTree& tree = bench.tree;
  EXPECT_EQ(Looks(tree), (Lines{"Browser [folder/folderopen] x B", "Cookies --- ( Holding ) [folder/folderopen] x",
                                "History [folder/folderopen]", "Cookies [folder/folderopen] x"}));
  EXPECT_EQ(tree.Tag(0), "Browser");
  EXPECT_EQ(tree.Tag(2), "Browser\\History");
  const std::tuple<std::size_t, bool, const char*> clicks[] = {
      {1, false, "1:001"}, {3, false, "0:000"}, {2, true, "1:010"},
      {0, false, "0:000"}, {0, true, "1:111"},  {2, false, "1:101"},
  };
  for (const auto& [node, checked, ticks] : clicks) {
    tree.Check(node, checked);
    EXPECT_EQ(Ticks(tree), ticks) << node << " " << checked;
  }
  tree.Check(0, false);
  tree.CheckRoot();
  EXPECT_EQ(Ticks(tree), "1:000");
}

TEST(ConfigTree, APreviewCountsEveryItemTickedOrNotErasesNothingAndHearsOnlyItsOwnObjects) {
  PreviewBench bench;
  // Before any search the display pass has nothing kept: counts of -1 leave the plain texts.
  bench.Pass(0, false);
  EXPECT_EQ(bench.tree[0].Text, "Browser");
  EXPECT_EQ(bench.tree[2].Text, "History");

  const RunTotals totals = bench.Pass(0, true);
  EXPECT_EQ(
      Looks(bench.tree),
      (Lines{"Browser(5) [foldershow/folderopenshow] x B", "Cookies(2) --- ( Holding ) [foldershow/folderopenshow] x",
             "History(2) [foldershow/folderopenshow]", "Cookies(1) [foldershow/folderopenshow] x"}));
  EXPECT_EQ(Panels(ui::FinishedPanels(totals)), "Browser|5|1,235.57 K|");
  // The running panels end on the last item, whose finish empties the value panel.
  EXPECT_EQ(Panels(bench.panels), "Browser\\Cookies|5|1,235.57 K|");
  EXPECT_TRUE(std::filesystem::exists(bench.t.dir / "cache/c.bin"));
  EXPECT_TRUE(std::filesystem::exists(bench.t.dir / "history/day/1.dat"));

  // An item's display pass lists what the search kept, even when the disk has changed since; a search of it
  // resets and recounts only its own node, and the second "Cookies" is told apart from the first.
  bench.t.dir.Write("cache/d.bin", "d");
  EXPECT_EQ(bench.Pass(3, false).Count, 1);
  EXPECT_EQ(Panels(ui::FinishedPanels(bench.Pass(3, true))), "Browser\\Cookies|2|1,000.00 K|");
  EXPECT_EQ(bench.tree[3].Text, "Cookies(2)");
  EXPECT_EQ(bench.tree[1].Text, "Cookies(2) --- ( Holding )");
  bench.tree.ResetNodeText(0);
  EXPECT_EQ(bench.tree[1].Text, "Cookies --- ( Holding )");
  EXPECT_EQ(bench.tree[0].Text, "Browser");

  // Events of objects the tree does not hold change nothing.
  const Lines before = Looks(bench.tree);
  const auto stranger = MakeItem("Browser", "Cookies", PrivacyItemType::File, {});
  bench.tree.OnAppendValue(*stranger);
  bench.tree.OnParseItemFinish(*stranger, 3, true);
  bench.tree.OnParseConfigFinish(*MakeConfig("Browser", SoftwareType::Root, {}), 3, true);
  EXPECT_EQ(Looks(bench.tree), before);
}

TEST(PreviewPass, ListIconsFollowTheKindAndTheStatus) {
  for (const auto& [trace, expected] : FixtureCases("ui/preview_rows.txt")) {
    const auto kind = static_cast<TraceKind>(std::stoi(trace));
    const auto status = static_cast<TraceStatus>(std::stoi(trace.substr(trace.find(' '))));
    const ui::ListRow row = ui::PreviewRowOf({"C:\\t\\x", "x", 0, kind, "v", 0, status});
    EXPECT_EQ(std::string(row.Icon) + "|" + row.Path, expected) << trace;
  }
}

}  // namespace
}  // namespace qm::testing
