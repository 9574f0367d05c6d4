#include <gtest/gtest.h>

#include <filesystem>

#include "support/catalogue_builders.h"
#include "support/lines.h"
#include "support/preview_driver.h"
#include "support/test_engine.h"
#include "ui/privacy_detail_dialog.h"
#include "ui/privacy_detail_dialog_ids.h"

namespace qm::testing {
namespace {

/// A configuration whose first item keeps the hold of one of its three files, over a scratch folder, and a
/// working copy of it as the Preferences dialog hands one over.
struct DetailBench {
  DetailBench() {
    for (const char* name : {"a.txt", "b.txt", "old.txt"}) t.dir.Write(std::string("cookies/") + name, "cookie");
    t.dir.Write("history/day/1.dat", "h");
    t.LoadCatalogue(
        "[Config]\nType:Root\nSoftware:Browser\nSelected:1\n"
        "Cookies<>1<>1<>File><{dir}\\cookies><{dir}\\cookies\\old.txt\nHistory<>1<>0<>Folder><{dir}\\history\n");
    working = t.engine.Catalogue().Item(1)->Clone();
  }

  bool Show(std::function<void(HWND)> script, int32_t displayMaxRows = 0) {
    WhenDialogOpens("Privacy Detail", std::move(script));
    return ui::ShowPrivacyDetailDialog(nullptr, {*working, t.engine, prompt, displayMaxRows});
  }

  std::string Cookie(const std::string& name) const { return t.dir / ("cookies/" + name); }
  /// A list row of a cookie file with its icon: 7 "file", 8 "filelock".
  std::string Row(const std::string& name, int icon) const {
    return name + " | " + Cookie(name) + " | " + std::to_string(icon);
  }
  /// The working copy's ticks, as TreeChecks reads a tree's, and its first item's holds.
  std::string Ticks() const {
    return std::string(working->Selected ? "1:" : "0:") + (working->Items.Item(1)->Selected ? "1" : "0") +
           (working->Items.Item(2)->Selected ? "1" : "0");
  }
  Lines Held() const { return Entries(working->Items.Item(1)->HoldSettings); }

  TestEngine t;
  std::shared_ptr<PrivacyConfig> working;
  ScriptedPrompt prompt;
};

TEST(PrivacyDetailDialog, PreviewsTicksAndHoldsAndOkWritesThemBack) {
  DetailBench bench;
  const bool accepted = bench.Show([&](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
    HWND holdList = GetDlgItem(dialog, IDC_DETAIL_HOLD_LIST);
    EXPECT_FALSE(IsWindowVisible(holdList));
    Preview(dialog);
    EXPECT_EQ(TreeLines(PreviewTree(dialog)),
              (Lines{"Browser(5) [1 3] *", "  Cookies(3) --- ( Holding ) [1 3]", "  History(2) [1 3]"}));
    EXPECT_EQ(StatusTexts(GetDlgItem(dialog, IDC_PREVIEW_STATUS)), (Lines{"Browser", "5", "0.02 K", ""}));

    // The item that keeps holds shows them below what its search kept.
    SelectNode(dialog, 1);
    EXPECT_TRUE(IsWindowVisible(holdList));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_DETAIL_DESCRIPTION)), "Description:\r\n            Browser\\Cookies");
    EXPECT_EQ(Sorted(ListLines(list)), (Lines{bench.Row("a.txt", 7), bench.Row("b.txt", 7), bench.Row("old.txt", 8)}));
    EXPECT_EQ(ListLines(holdList), Lines{bench.Row("old.txt", 8)});
    // Holding all three twice adds each new path once; unholding the old one leaves the two.
    SelectRows(list, {0, 1, 2});
    Press(dialog, IDC_DETAIL_HOLD);
    Press(dialog, IDC_DETAIL_HOLD);
    SelectRows(holdList, {0});
    Press(dialog, IDC_DETAIL_UNHOLD);
    EXPECT_EQ(Sorted(ListLines(holdList)), (Lines{bench.Row("a.txt", 8), bench.Row("b.txt", 8)}));

    const std::pair<std::size_t, const char*> clicks[] = {{2, "1:10"}, {1, "0:00"}, {0, "1:11"}, {2, "1:10"}};
    for (const auto& [node, checks] : clicks) {
      ClickCheckBox(PreviewTree(dialog), TreeItems(PreviewTree(dialog))[node]);
      EXPECT_EQ(TreeChecks(PreviewTree(dialog)), checks) << node;
    }
    EXPECT_EQ(bench.Ticks(), "1:11");
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(accepted);
  EXPECT_EQ(bench.Ticks(), "1:10");
  EXPECT_EQ(Sorted(bench.Held()), (Lines{bench.Cookie("a.txt"), bench.Cookie("b.txt")}));
  EXPECT_TRUE(bench.prompt.asked.empty());
  EXPECT_TRUE(std::filesystem::exists(bench.Cookie("a.txt")));
}

TEST(PrivacyDetailDialog, RefusesToCloseWhileSearchingAndCancelWritesNothing) {
  DetailBench bench;
  bench.t.engine.Settings.EnableFileLogging = true;
  const bool accepted = bench.Show(
      [&](HWND dialog) {
        // With no node selected there is nothing to preview.
        TreeView_SelectItem(PreviewTree(dialog), nullptr);
        Press(dialog, IDC_PREVIEW_BUTTON);
        SelectNode(dialog, 0);
        CancelWhileSearching(dialog, bench.prompt);
        Preview(dialog);
        EXPECT_EQ(ListLines(GetDlgItem(dialog, IDC_PREVIEW_LIST)).size(), 1u);
        EXPECT_EQ(StatusTexts(GetDlgItem(dialog, IDC_PREVIEW_STATUS))[1], "5");
        SelectNode(dialog, 1);
        SelectRows(GetDlgItem(dialog, IDC_PREVIEW_LIST), {0});
        Press(dialog, IDC_DETAIL_HOLD);
        ClickCheckBox(PreviewTree(dialog), TreeItems(PreviewTree(dialog))[0]);
        EXPECT_EQ(TreeChecks(PreviewTree(dialog)), "0:00");
        Press(dialog, IDCANCEL);
      },
      1);
  EXPECT_FALSE(accepted);
  EXPECT_EQ(bench.prompt.asked, (Lines{"Privacy Detail|Please check which you want to preview! ",
                                       "Privacy Detail|Please stop current processing, then close the window."}));
  EXPECT_EQ(bench.Ticks(), "1:11");
  EXPECT_EQ(bench.Held(), Lines{bench.Cookie("old.txt")});
  // A preview writes no log, and leaves the logging setting as it found it.
  EXPECT_FALSE(std::filesystem::exists(bench.t.dir / "logs"));
  EXPECT_TRUE(bench.t.engine.Settings.EnableFileLogging);
}

}  // namespace
}  // namespace qm::testing
