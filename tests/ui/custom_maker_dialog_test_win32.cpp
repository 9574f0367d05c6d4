#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "support/catalogue_builders.h"
#include "support/lines.h"
#include "support/preview_driver.h"
#include "support/test_engine.h"
#include "ui/custom_maker_dialog.h"
#include "ui/custom_maker_dialog_ids.h"

namespace qm::testing {
namespace {

using ui::PromptAnswer;

/// Two files in a scratch "cache" folder, and the Custom Item dialog played by a script: each opening takes
/// the next title, and its OK makes the item a File item of that title over the cache folder; an empty title
/// is Cancel.
struct MakerBench {
  MakerBench() {
    t.dir.Write("cache/x.bin", std::string(1500, 'x'));
    t.dir.Write("cache/y.bin", std::string(500, 'y'));
  }

  bool Show(PrivacyConfig& config, std::function<void(HWND)> script) {
    WhenDialogOpens("Custom Privacy", std::move(script));
    const auto openItem = [this](HWND, PrivacyItem& item, bool isNew) {
      itemCalls.push_back(isNew ? "new" : "edit " + item.Title);
      const std::string title = titles.front();
      titles.pop_front();
      if (title.empty()) return false;
      item.Title = title;
      item.ItemType = PrivacyItemType::File;
      item.SeekSettings = TextList{t.dir.Path("cache")};
      item.FileLine = title + "<>0<>0<>File><C:\\cache";
      return true;
    };
    return ui::ShowCustomMakerDialog(nullptr, {config, t.engine, prompt, 0, openItem});
  }

  TestEngine t;
  ScriptedPrompt prompt;
  std::deque<std::string> titles;
  Lines itemCalls;
};

TEST(CustomMakerDialog, MakesANewConfigurationFromTheItemsTheItemDialogDefines) {
  MakerBench bench;
  bench.titles = {"Cache", "Temp", "", "Cache files"};
  PrivacyConfig fresh;
  fresh.Selected = true;
  const bool accepted = bench.Show(fresh, [&](HWND dialog) {
    HWND tree = PreviewTree(dialog);
    HWND name = GetDlgItem(dialog, IDC_MAKER_NAME);
    // The first item names a configuration that has no name yet.
    Press(dialog, IDC_MAKER_ADD);
    EXPECT_EQ(WindowText(name), "Cache");
    EXPECT_EQ(TreeChecks(tree), "1:1");
    EXPECT_EQ(SelectedNode(dialog), 1u);
    SendMessageW(GetDlgItem(dialog, IDC_PREVIEW_BUTTON), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_MAKER_ADD)));
    ASSERT_TRUE(PumpUntil([&] { return PreviewEnded(dialog); }));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_MAKER_ADD)));
    EXPECT_EQ(TreeLines(tree), (Lines{"Cache [0 2] *", "  Cache(2) [1 3]"}));
    EXPECT_EQ(StatusTexts(GetDlgItem(dialog, IDC_PREVIEW_STATUS)), (Lines{"Cache\\Cache", "2", "2.00 K", ""}));

    SetText(name, "Browser");
    Press(dialog, IDC_MAKER_ADD);
    EXPECT_EQ(WindowText(name), "Browser");
    SelectNode(dialog, 0);  // lists and counts what the items kept
    Press(dialog, IDC_MAKER_DELETE);
    SelectNode(dialog, 2);
    bench.prompt.answers = {PromptAnswer::Yes};
    Press(dialog, IDC_MAKER_DELETE);
    Press(dialog, IDC_MAKER_ADD);
    EXPECT_EQ(TreeLines(tree), (Lines{"Browser(2) [0 2] *", "  Cache(2) [1 3]"}));
    // Detail on the root edits the first item.
    SelectNode(dialog, 0);
    Press(dialog, IDC_MAKER_DETAIL);
    EXPECT_EQ(SelectedNode(dialog), 1u);
    EXPECT_EQ(TreeLines(tree)[1], "  Cache files [1 3]");
    ClickCheckBox(tree, TreeItems(tree)[1]);
    EXPECT_EQ(TreeChecks(tree), "0:0");
    SetText(GetDlgItem(dialog, IDC_MAKER_DESCRIPTION), "mine");
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(accepted);
  EXPECT_EQ(bench.itemCalls, (Lines{"new", "new", "new", "edit Cache"}));
  EXPECT_EQ(bench.prompt.asked, (Lines{"Custom Maker|Root Item can't be deleted!",
                                       "Custom Maker|The highlight Privacy Item will be deleted, continue?"}));
  EXPECT_EQ(Entries(fresh.FileLines), (Lines{"[Config]", "Type:Customs", "Software:Browser", "Description:mine",
                                             "Selected:0", "Version:1", "Cache files<>0<>0<>File><C:\\cache"}));
  ASSERT_EQ(fresh.Items.Count(), 1);
  EXPECT_EQ(fresh.Items.Item(1)->Software, "Browser");
  EXPECT_FALSE(fresh.Items.Item(1)->Selected);
  EXPECT_TRUE(std::filesystem::exists(bench.t.dir / "cache/x.bin"));
}

TEST(CustomMakerDialog, RefusesWhatItMustAndCancelLeavesTheConfiguration) {
  MakerBench bench;
  bench.t.LoadCatalogue(
      "[Config]\nType:Customs\nSoftware:Player\nDescription:My player\nSelected:1\nVersion:3\n"
      "List<>1<>0<>File><{dir}\\cache\n");
  const std::shared_ptr<PrivacyConfig> player = bench.t.engine.Catalogue().Item(1)->Clone();
  bench.titles = {""};
  const bool accepted = bench.Show(*player, [&](HWND dialog) {
    HWND tree = PreviewTree(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_MAKER_DESCRIPTION)), "My player");
    SetText(GetDlgItem(dialog, IDC_MAKER_NAME), "  ");
    Press(dialog, IDOK);
    SetText(GetDlgItem(dialog, IDC_MAKER_NAME), "Player");
    // A double click on the tree is Detail.
    RECT label{};
    TreeView_GetItemRect(tree, TreeItems(tree)[1], &label, TRUE);
    SendMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(label.left + 2, (label.top + label.bottom) / 2));
    bench.prompt.answers = {PromptAnswer::Yes};
    Press(dialog, IDC_MAKER_DELETE);
    EXPECT_EQ(TreeLines(tree), Lines{"Player [0 2] *"});
    Press(dialog, IDC_MAKER_DETAIL);
    Press(dialog, IDOK);  // asks whether to keep a configuration without items: No
    CancelWhileSearching(dialog, bench.prompt);
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(accepted);
  EXPECT_EQ(bench.itemCalls, Lines{"edit List"});
  EXPECT_EQ(bench.prompt.asked, (Lines{"Custom Maker|Software's name is null.",
                                       "Custom Maker|The highlight Privacy Item will be deleted, continue?",
                                       "Custom Maker|Not any privacy item exists.",
                                       "Custom Maker|Software's privacy item is empty, continue?",
                                       "Custom Maker|Please stop current processing, then close the window."}));
  EXPECT_EQ(player->Items.Count(), 1);
  EXPECT_EQ(player->FileLines.Count(), 7);
}

}  // namespace
}  // namespace qm::testing
