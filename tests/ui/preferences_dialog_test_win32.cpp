#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/text_win32.h"
#include "support/preferences_catalogue.h"
#include "support/settings_keys.h"
#include "support/test_engine.h"
#include "support/window_driver.h"
#include "ui/preferences_dialog.h"
#include "ui/preferences_dialog_ids.h"

namespace qm::testing {
namespace {

using Lines = std::vector<std::string>;

std::function<void(HWND)> g_script;

// Runs the script once the dialog is shown; whatever the script leaves open is cancelled, so a failed check
// never leaves the test waiting.
void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", L"Preferences");
  if (!dialog || !IsWindowVisible(dialog) || !g_script) return;
  KillTimer(nullptr, timer);
  std::function<void(HWND)> script = std::move(g_script);
  script(dialog);
  if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

std::string Text(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text::Narrow(text);
}

void Click(HWND page, int id) { SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }

/// `count` check boxes from `first` on, `step` ids apart, as 1/0.
std::string Boxes(HWND page, int first, int count, int step = 1) {
  std::string boxes;
  for (int id = first; id < first + count * step; id += step) {
    boxes += SendDlgItemMessageW(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
  }
  return boxes;
}

/// A list page's caption, then each row as "text | description", " [x]" when ticked.
Lines ListPageLines(HWND page, int frame, int id) {
  HWND list = GetDlgItem(page, id);
  Lines lines{Text(GetDlgItem(page, frame))};
  const Lines rows = ListLines(list);
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    lines.push_back(rows[row].substr(0, rows[row].rfind(" | ")) + (ListView_GetCheckState(list, row) ? " [x]" : ""));
  }
  return lines;
}

/// Selects the tree node `text`; returns the page shown, checking that the heading reads `text`.
HWND SelectNode(HWND dialog, const std::string& text) {
  HWND tree = GetDlgItem(dialog, IDC_PREF_TREE);
  for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextVisible(tree, item)) {
    wchar_t buffer[128] = L"";
    TVITEMW info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = buffer;
    info.cchTextMax = 128;
    TreeView_GetItem(tree, &info);
    if (text::Narrow(buffer) == text) TreeView_SelectItem(tree, item);
  }
  EXPECT_EQ(Text(GetDlgItem(dialog, IDC_PREF_HEADING)), text);
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
    t.LoadCatalogue(kPreferencesCatalogue);
    args.catalogue = &t.engine.Catalogue();
    LoadSystemSettings(t.registry.Registry(), args.settings, SettingsKey::ReadOnly, kTestRoots);
    args.registry = &t.registry.Registry();
    args.roots = kTestRoots;
    args.catalogueFile = t.dir / "PrivacyConfig.dat";
    args.prompt = &prompt;
    args.openDetail = [this](HWND owner, PrivacyConfig& working) {
      details.push_back(Text(owner) + ": " + working.Software);
      detail(working);
      return true;
    };
  }

  ui::AppliedPreferences Open(std::function<void(HWND)> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 50, RunScript);
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
  Lines expected = TextLines(kPreferencesCatalogue);
  expected[4] = "Documents<>0<>0<>File><{dir}\\docs";
  expected[5] = "Search<>1<>0<>File><{dir}\\search";
  expected[7] += "<>C:\\two.txt";
  expected[10] = "Extra<>1<>0<>File><{dir}\\extra";
  expected[31] = "Selected:1";
  expected[32] = "History<>1<>0<>File><{dir}\\archiver";
  expected[37] = "Selected:1";
  expected.erase(expected.begin() + 21, expected.begin() + 27);  // Player
  bench.detail = [](PrivacyConfig& working) {
    if (working.Software != "Windows") return void(working.Selected = true);
    working.Items.Item(2)->Selected = working.Items.Item(7)->Selected = true;
    working.Items.Item(4)->HoldSettings.Add("C:\\two.txt");
  };
  Lines afterApply;

  ui::AppliedPreferences applied = bench.Open([&](HWND dialog) {
    // General: "Apply to IE" writes the trimmed texts at once.
    HWND general = SelectNode(dialog, "General");
    Click(general, IDC_GENE_RUN_ON_STARTUP);
    SetDlgItemTextW(general, IDC_GENE_HOME_PAGE, L" http://mine.example/ ");
    SetDlgItemTextW(general, IDC_GENE_WINDOW_TITLE, L"Mine");
    Click(general, IDC_GENE_APPLY_TO_IE);
    EXPECT_EQ(KeyValues(bench.t.registry, kBrowserMainKeyPath),
              (Lines{"Search Page=http://search.example/", "Start Page=http://mine.example/", "Window Title=Mine"}));
    // Advance: the stored daily schedule, the first start's interval of 6 shown as "8 Hours"; interval wins.
    HWND advance = SelectNode(dialog, "Advance");
    EXPECT_EQ(Text(GetDlgItem(advance, IDC_ADVA_INTERVAL_LIST)) + Text(GetDlgItem(advance, IDC_ADVA_CLOCK_LIST)) +
                  Boxes(advance, IDC_ADVA_SCHEDULE_INTERVAL, 2, 2),
              "8 Hours12:0001");
    Click(advance, IDC_ADVA_SCHEDULE_INTERVAL);
    EXPECT_EQ(Boxes(advance, IDC_ADVA_SCHEDULE_INTERVAL, 2, 2), "10");
    SendDlgItemMessageW(advance, IDC_ADVA_INTERVAL_LIST, CB_SETCURSEL, 3, 0);
    SendDlgItemMessageW(advance, IDC_ADVA_DISPLAY_MAX_ROWS, CB_SETCURSEL, 5, 0);
    // Windows: a box off, then "Advance..." opens the detail on the copy, whose ticks come back.
    HWND windows = SelectNode(dialog, "Windows");
    EXPECT_EQ(Boxes(windows, IDC_WINS_CHECK_FIRST, 6), "101101");
    Click(windows, IDC_WINS_CHECK_FIRST);
    Click(windows, IDC_WINS_ADVANCE);
    EXPECT_EQ(Boxes(windows, IDC_WINS_CHECK_FIRST, 6), "011101");
    // Plug-ins: a tick, and a highlighted row deleted after the question.
    HWND plugins = SelectNode(dialog, "Plug-ins");
    EXPECT_EQ(ListPageLines(plugins, IDC_PLUG_FRAME, IDC_PLUG_LIST),
              (Lines{"Plug-ins Settings(2)", "Player | Media player [x]", "Archiver | Packs files"}));
    ListView_SetCheckState(GetDlgItem(plugins, IDC_PLUG_LIST), 1, TRUE);
    ListView_SetItemState(GetDlgItem(plugins, IDC_PLUG_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    bench.prompt.answers = {ui::PromptAnswer::Yes};
    Click(plugins, IDC_PLUG_DELETE);
    EXPECT_EQ(bench.prompt.asked, (Lines{"Preferences|All highlight software items will be delete, continue?\r\n\r\n"
                                         "Recommend: Don't delete any software item, you can uncheck those are not "
                                         "installed in your pc."}));
    EXPECT_EQ(ListPageLines(plugins, IDC_PLUG_FRAME, IDC_PLUG_LIST),
              (Lines{"Plug-ins Settings(1)", "Archiver | Packs files [x]"}));
    // Customs: "Detail" on the highlighted row; the row takes the copy's choice.
    HWND customs = SelectNode(dialog, "Customs");
    ListView_SetItemState(GetDlgItem(customs, IDC_CUST_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    Click(customs, IDC_CUST_DETAIL);
    EXPECT_EQ(ListPageLines(customs, IDC_CUST_FRAME, IDC_CUST_LIST),
              (Lines{"Customs Settings(1)", "Notes | My notes [x]"}));

    // Nothing is written before "Apply"; changes after it are dropped by "Cancel".
    EXPECT_EQ(bench.File(), original);
    EXPECT_EQ(bench.Settings(), (Lines{"Schedule Type=daily"}));
    Click(dialog, IDC_PREF_APPLY);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(bench.File(), expected);
    afterApply = bench.Settings();
    Click(SelectNode(dialog, "Advance"), IDC_ADVA_DEFAULT);
    Click(dialog, IDCANCEL);
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
    Click(SelectNode(dialog, "Advance"), IDC_ADVA_DEFAULT);
    Click(dialog, IDOK);
    EXPECT_TRUE(IsWindowVisible(dialog));
    failedOk = bench.Settings();
    EXPECT_FALSE(std::filesystem::exists(bench.args.catalogueFile));
    std::filesystem::remove(blocker);
    Click(dialog, IDOK);
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
