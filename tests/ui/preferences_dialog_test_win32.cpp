#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "support/lines.h"
#include "support/preferences_catalogue.h"
#include "support/settings_keys.h"
#include "support/test_engine.h"
#include "support/window_driver.h"
#include "ui/preferences_dialog.h"
#include "ui/preferences_dialog_ids.h"

namespace qm::testing {
namespace {

/// `count` check boxes from `first` on, `step` ids apart, as 1/0.
std::string Boxes(HWND page, int first, int count, int step = 1) {
  std::string boxes;
  for (int id = first; id < first + count * step; id += step) {
    boxes += SendDlgItemMessageW(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
  }
  return boxes;
}

/// A list page's caption, then its rows.
Lines ListPage(HWND page, int frame, int id) {
  Lines lines = ListLines(GetDlgItem(page, id));
  lines.insert(lines.begin(), WindowText(GetDlgItem(page, frame)));
  return lines;
}

/// Selects the tree node `text`; returns the page shown, checking that the heading reads `text`.
HWND SelectNode(HWND dialog, const std::string& text) {
  // Every node is shown (Privacy opens expanded): the lines and the visible nodes go in step.
  HWND tree = GetDlgItem(dialog, IDC_PREF_TREE);
  const Lines lines = TreeLines(tree);
  for (std::size_t node = 0; node < lines.size(); ++node) {
    if (lines[node].find(text + " [") != std::string::npos) TreeView_SelectItem(tree, TreeItems(tree)[node]);
  }
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_PREF_HEADING)), text);
  HWND shown = nullptr;
  for (int page = IDD_PREF_GENERAL; page <= IDD_PREF_ADVANCE; ++page) {
    if (IsWindowVisible(GetDlgItem(dialog, page))) {
      EXPECT_EQ(std::exchange(shown, GetDlgItem(dialog, page)), nullptr);
    }
  }
  return shown;
}

/// Preferences on the test catalogue and the settings of the registry fixture; the Privacy Detail window is a
/// function that records its owner and configuration and changes the copy as `detail` says.
struct PreferencesBench {
  PreferencesBench() : t("ui/settings_keys.reg") {
    t.LoadCatalogue(Joined(PreferencesCatalogue()));
    args.catalogue = &t.engine.Catalogue();
    LoadSystemSettings(t.registry.Registry(), args.settings, SettingsKey::ReadOnly, kTestRoots);
    args.registry = &t.registry.Registry();
    args.roots = kTestRoots;
    args.catalogueFile = t.dir / "PrivacyConfig.dat";
    args.prompt = &prompt;
    args.openDetail = [this](HWND owner, PrivacyConfig& working) {
      details.push_back(WindowText(owner) + ": " + working.Software);
      detail(working);
      return true;
    };
  }

  ui::AppliedPreferences Open(std::function<void(HWND)> script) {
    WhenDialogOpens("Preferences", std::move(script));
    return ui::ShowPreferencesDialog(nullptr, args);
  }
  Lines File() const { return CatalogueFileLines(args.catalogueFile, t.dir); }
  Lines Settings() { return KeyValues(t.registry, kSettingsKeyPath); }

  TestEngine t;
  ScriptedPrompt prompt;
  ui::PreferencesArgs args;
  std::function<void(PrivacyConfig&)> detail;
  Lines details;
};

TEST(PreferencesDialog, ApplyAndOkWriteSettingsAndCatalogueAndCancelWritesNothingMore) {
  PreferencesBench bench;
  const Lines original = bench.File();
  const Lines expected = FixtureLines("ui/preferences_applied.txt");
  bench.detail = [](PrivacyConfig& working) {
    if (working.Software != "Windows") return void(working.Selected = true);
    working.Items.Item(2)->Selected = working.Items.Item(7)->Selected = true;
    working.Items.Item(4)->HoldSettings.Add("C:\\two.txt");
  };
  Lines afterApply;

  ui::AppliedPreferences applied = bench.Open([&](HWND dialog) {
    // General: "Apply to IE" writes the trimmed texts at once.
    HWND general = SelectNode(dialog, "General");
    Press(general, IDC_GENE_RUN_ON_STARTUP);
    SetDlgItemTextW(general, IDC_GENE_HOME_PAGE, L" http://mine.example/ ");
    SetDlgItemTextW(general, IDC_GENE_WINDOW_TITLE, L"Mine");
    Press(general, IDC_GENE_APPLY_TO_IE);
    EXPECT_EQ(KeyValues(bench.t.registry, kBrowserMainKeyPath),
              (Lines{"Search Page=http://search.example/", "Start Page=http://mine.example/", "Window Title=Mine"}));
    // Advance: the stored daily schedule, the first start's interval of 6 shown as "8 Hours"; interval wins.
    HWND advance = SelectNode(dialog, "Advance");
    EXPECT_EQ(WindowText(GetDlgItem(advance, IDC_ADVA_INTERVAL_LIST)) +
                  WindowText(GetDlgItem(advance, IDC_ADVA_CLOCK_LIST)) +
                  Boxes(advance, IDC_ADVA_SCHEDULE_INTERVAL, 2, 2),
              "8 Hours12:0001");
    Press(advance, IDC_ADVA_SCHEDULE_INTERVAL);
    EXPECT_EQ(Boxes(advance, IDC_ADVA_SCHEDULE_INTERVAL, 2, 2), "10");
    SendDlgItemMessageW(advance, IDC_ADVA_INTERVAL_LIST, CB_SETCURSEL, 3, 0);
    SendDlgItemMessageW(advance, IDC_ADVA_DISPLAY_MAX_ROWS, CB_SETCURSEL, 5, 0);
    // Windows: a box off, then "Advance..." opens the detail on the copy, whose ticks come back.
    HWND windows = SelectNode(dialog, "Windows");
    EXPECT_EQ(Boxes(windows, IDC_WINS_CHECK_FIRST, 6), "101101");
    Press(windows, IDC_WINS_CHECK_FIRST);
    Press(windows, IDC_WINS_ADVANCE);
    EXPECT_EQ(Boxes(windows, IDC_WINS_CHECK_FIRST, 6), "011101");
    // Plug-ins: a tick, and a highlighted row deleted after the question.
    HWND plugins = SelectNode(dialog, "Plug-ins");
    EXPECT_EQ(ListPage(plugins, IDC_PLUG_FRAME, IDC_PLUG_LIST),
              (Lines{"Plug-ins Settings(2)", "Player | Media player [x]", "Archiver | Packs files"}));
    ListView_SetCheckState(GetDlgItem(plugins, IDC_PLUG_LIST), 1, TRUE);
    ListView_SetItemState(GetDlgItem(plugins, IDC_PLUG_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    bench.prompt.answers = {ui::PromptAnswer::Yes};
    Press(plugins, IDC_PLUG_DELETE);
    EXPECT_EQ(bench.prompt.asked, (Lines{"Preferences|All highlight software items will be delete, continue?\r\n\r\n"
                                         "Recommend: Don't delete any software item, you can uncheck those are not "
                                         "installed in your pc."}));
    EXPECT_EQ(ListPage(plugins, IDC_PLUG_FRAME, IDC_PLUG_LIST),
              (Lines{"Plug-ins Settings(1)", "Archiver | Packs files [x]"}));
    // Customs: "Detail" on the highlighted row; the row takes the copy's choice.
    HWND customs = SelectNode(dialog, "Customs");
    ListView_SetItemState(GetDlgItem(customs, IDC_CUST_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    Press(customs, IDC_CUST_DETAIL);
    EXPECT_EQ(ListPage(customs, IDC_CUST_FRAME, IDC_CUST_LIST), (Lines{"Customs Settings(1)", "Notes | My notes [x]"}));

    // Nothing is written before "Apply"; changes after it are dropped by "Cancel".
    EXPECT_EQ(bench.File(), original);
    EXPECT_EQ(bench.Settings(), (Lines{"Schedule Type=daily"}));
    Press(dialog, IDC_PREF_APPLY);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(bench.File(), expected);
    afterApply = bench.Settings();
    Press(SelectNode(dialog, "Advance"), IDC_ADVA_DEFAULT);
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(bench.details, (Lines{"Preferences: Windows", "Preferences: Notes"}));
  EXPECT_EQ(afterApply,
            (Lines{"Display Max Rows=0", "Enable File Logging=false", "Keep Log Days=1", "Monitor Start Page=false",
                   "Run On Startup Windows=true", "Schedule Clock=12", "Schedule Interval=120",
                   "Schedule Type=interval", "Security Fill Times=1", "Start Page= http://mine.example/ ",
                   "Turn Off Forms AutoComplete=false", "Window Title=Mine"}));
  EXPECT_EQ(bench.Settings(), afterApply);
  EXPECT_EQ(bench.File(), expected);
  ASSERT_TRUE(applied.Settings && applied.Catalogue);
  EXPECT_EQ(applied.Settings->ScheduleInterval, 120);

  // Opened again on what was applied: a catalogue file that cannot be replaced is reported and OK stays open,
  // the settings written before it; once it can be, OK writes the same catalogue again and closes.
  bench.args.settings = *applied.Settings;
  bench.args.catalogue = applied.Catalogue.get();
  bench.prompt.asked.clear();
  const std::string blocker = bench.t.dir.Folder("PrivacyConfig.dat.tmp");
  std::filesystem::remove(bench.args.catalogueFile);
  Lines failedOk;
  applied = bench.Open([&](HWND dialog) {
    EXPECT_EQ(Boxes(SelectNode(dialog, "Internet Explorer"), IDC_INET_CHECK_FIRST, 6), "110101");
    Press(SelectNode(dialog, "Advance"), IDC_ADVA_DEFAULT);
    Press(dialog, IDOK);
    EXPECT_TRUE(IsWindowVisible(dialog));
    failedOk = bench.Settings();
    EXPECT_FALSE(std::filesystem::exists(bench.args.catalogueFile));
    std::filesystem::remove(blocker);
    Press(dialog, IDOK);
  });
  ASSERT_EQ(bench.prompt.asked.size(), 1u);
  EXPECT_TRUE(bench.prompt.asked[0].starts_with("Preferences|The catalogue cannot be saved.\r\n"))
      << bench.prompt.asked[0];
  ASSERT_TRUE(applied.Settings && applied.Catalogue);
  EXPECT_EQ(applied.Settings->ScheduleType + " " + std::to_string(applied.Settings->ScheduleClock), "none 11");
  EXPECT_NE(failedOk, afterApply);
  EXPECT_EQ(bench.Settings(), failedOk);
  EXPECT_EQ(bench.File(), expected);
}

}  // namespace
}  // namespace qm::testing
