#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "support/lines.h"
#include "support/settings_keys.h"
#include "support/test_engine.h"
#include "support/window_driver.h"
#include "ui/main_window.h"
#include "ui/model/start_page_monitor.h"
#include "ui/resource_ids.h"
#include "ui/tray_icon.h"

namespace qm::testing {
namespace {

using ui::PromptAnswer;

constexpr char kCatalogue[] =
    "[Config]\nType:Root\nSoftware:Browser\nSelected:1\n"
    "Cookies<>1<>0<>File><{dir}\\cookies\nHistory<>1<>0<>Folder><{dir}\\history\n"
    "[Config]\nType:Plugins\nSoftware:Player\nSelected:1\nRecent<>1<>0<>File><{dir}\\player\n";

/// The main window on the catalogue above, over a scratch folder with six traces, answering from a script.
struct WindowBench {
  explicit WindowBench(const std::string& registryFixture = "", SystemSettings settings = {}) : t(registryFixture) {
    t.dir.Write("cookies/a.txt", std::string(100, 'a'));
    t.dir.Write("cookies/b.txt", std::string(200, 'b'));
    t.dir.Write("cookies/c.txt", std::string(300, 'c'));
    t.dir.Write("history/day/1.dat", std::string(1000, 'h'));
    t.dir.Write("player/list.m3u", std::string(50, 'p'));
    ui::MainWindowArgs args;
    args.engine = &t.engine;
    args.prompt = &prompt;
    args.clock = &t.clock;
    args.catalogueFile = WriteCatalogue(t.dir, kCatalogue);
    args.settings = settings;
    args.roots = kTestRoots;
    args.start = [](const std::string&, const std::string&) {};  // no program starts from a test
    args.quitWithWindow = false;
    window = std::make_unique<ui::MainWindow>(std::move(args));
  }

  HWND Control(int id) const { return GetDlgItem(window->Handle(), id); }
  void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
  void Command(int id) { SendMessageW(window->Handle(), WM_COMMAND, id, 0); }
  void Tick() { SendMessageW(window->Handle(), WM_TIMER, 1, 0); }
  void Select(HTREEITEM item) {
    SendMessageW(Control(IDC_TREE), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  /// The first item of the first configuration: "Cookies".
  HTREEITEM CookiesNode() const {
    HWND tree = Control(IDC_TREE);
    return TreeView_GetChild(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
  }
  bool Finish() {
    return PumpUntil([this] { return window->ProcessEnd(); });
  }
  Lines Tree() const { return TreeLines(Control(IDC_TREE)); }
  Lines List() const { return ListLines(Control(IDC_LIST)); }
  Lines Status() const { return StatusTexts(Control(IDC_STATUS)); }

  TestEngine t;
  ScriptedPrompt prompt;
  std::unique_ptr<ui::MainWindow> window;
};

// Image indexes of the image list: folder 0, foldershow 1, folderopen 2, folderopenshow 3, folderopendelete 4,
// folderdelete 6, file 7, filedelete 9.
TEST(MainWindow, ShowsAndClearsThroughTheTreeTheListAndTheStatusBar) {
  WindowBench bench;
  EXPECT_EQ(bench.Tree(), (Lines{"Ur All Privacy [0 2] *", "  Browser [0 2]", "    Cookies [0 2]", "    History [0 2]",
                                 "  Plug-ins [0 2]", "    Player [0 2]", "      Recent [0 2]"}));

  bench.Click(IDC_SHOW);
  EXPECT_FALSE(bench.window->ProcessEnd());
  ASSERT_TRUE(bench.Finish());
  EXPECT_EQ(bench.Tree(),
            (Lines{"Ur All Privacy(6) [1 3] *", "  Browser(5) [1 3]", "    Cookies(3) [1 3]", "    History(2) [1 3]",
                   "  Plug-ins(1) [1 3]", "    Player(1) [1 3]", "      Recent(1) [1 3]"}));
  const std::string cookies = bench.t.dir / "cookies";
  const Lines listed = bench.List();
  ASSERT_EQ(listed.size(), 6u);
  EXPECT_NE(std::find(listed.begin(), listed.end(), "a.txt | " + cookies + "\\a.txt | 7"), listed.end());
  EXPECT_EQ(bench.Status(), (Lines{"ALL", "6", "1.65 K", ""}));

  // Another node lists what the show found for it, without searching again.
  bench.t.dir.Write("cookies/d.txt", "new");
  bench.Select(bench.CookiesNode());
  EXPECT_EQ(bench.List().size(), 3u);
  EXPECT_EQ(bench.Status(), (Lines{"Browser\\Cookies", "3", "0.60 K", ""}));

  // Clear asks first; No leaves everything, Yes clears the selected item only.
  bench.Click(IDC_CLEAR);
  EXPECT_TRUE(bench.window->ProcessEnd());
  EXPECT_EQ(bench.prompt.asked,
            Lines{"Quillmere|Are you sure to clear the privacy item \"Cookies(3)\" and its all subitems?"});
  EXPECT_TRUE(std::filesystem::exists(cookies + "\\a.txt"));
  bench.prompt.answers = {PromptAnswer::Yes};
  bench.Click(IDC_CLEAR);
  ASSERT_TRUE(bench.Finish());
  EXPECT_TRUE(std::filesystem::is_empty(cookies));
  EXPECT_TRUE(std::filesystem::exists(bench.t.dir / "history/day/1.dat"));
  const Lines cleared = bench.List();
  ASSERT_EQ(cleared.size(), 4u);
  for (const std::string& row : cleared) EXPECT_TRUE(row.ends_with(" | 9")) << row;
  EXPECT_EQ(bench.Tree()[2], "    Cookies(4) [6 4]");
  EXPECT_EQ(bench.Status()[0], "Browser\\Cookies");
  EXPECT_EQ(bench.Status()[1], "4");
}

TEST(MainWindow, ARunHoldsTheOtherCommandsTheToolsWindowsAndTheClose) {
  WindowBench bench;
  HWND hwnd = bench.window->Handle();
  HMENU menus = bench.window->Menus();
  const std::pair<int, const char*> tools[] = {{IDM_PREFERENCE, "Preferences"},
                                               {IDM_ST_PREFERENCES, "Preferences"},
                                               {IDM_ADD_PLUGINS, "Plugins Adding"},
                                               {IDM_ADD_CUSTOM, "Custom Settings"}};
  for (const auto& [id, caption] : tools) {
    bool opened = false;
    WhenDialogOpens(caption, [&opened](HWND dialog) {
      opened = true;
      Press(dialog, IDCANCEL);
    });
    bench.Command(id);
    EXPECT_TRUE(opened) << caption;
  }

  // The run's end reaches the window only through its messages: until they run, the run is active, and the
  // tray's Preferences and the close are refused; the refusal's message box presses Stop.
  bench.prompt.answers = {PromptAnswer::Yes};
  bench.Click(IDC_CLEAR);
  const auto states = [&] {
    return Lines{
        WindowText(bench.Control(IDC_CLEAR)),   IsWindowEnabled(bench.Control(IDC_SHOW)) ? "show on" : "show off",
        MenuItemText(menus, IDM_CLEAR),         MenuItemText(menus, IDM_SHOW),
        MenuItemText(menus, IDM_ST_CLEAR_NOW),  MenuItemText(menus, IDM_FILE_LOGGING),
        MenuItemText(menus, IDM_RELOAD_CONFIG), MenuItemText(menus, IDM_PREFERENCE),
        MenuItemText(menus, IDM_ADD_CUSTOM)};
  };
  const Lines during = states();
  bench.Command(IDM_ST_PREFERENCES);
  bench.prompt.onAsk = [&] { bench.Click(IDC_CLEAR); };
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(bench.Finish());
  bench.prompt.onAsk = nullptr;
  EXPECT_EQ(during, (Lines{"Stop", "show off", "Stop", "&Show (off)", "Stop (off)", "&Enable File Logging (off)",
                           "&Reload Config (off)", "&Preferences... (off)", "Add &Custom... (off)"}));
  EXPECT_EQ(states(), (Lines{"Clear", "show on", "&Clear", "&Show", "Clear Now", "&Enable File Logging",
                             "&Reload Config", "&Preferences...", "Add &Custom..."}));
  EXPECT_EQ(bench.prompt.asked,
            (Lines{"Quillmere|Are you sure to clear the privacy item \"Ur All Privacy\" and its all subitems?",
                   "Preferences|Please stop current processing, then click Preferences menu item.",
                   "Quillmere|Please stop current processing, then exit the program."}));

  // A left click hides the window into the tray and brings it back; a right click's menu names the state.
  for (const char* expected : {"Show Quillmere", "Hide Quillmere"}) {
    SendMessageW(hwnd, ui::TrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, expected[0] == 'H');
    std::string caption;
    WhileMenuOpen([&] { caption = MenuItemText(menus, IDM_ST_SHOW_HIDE); });
    SendMessageW(hwnd, ui::TrayIcon::kCallbackMessage, 0, WM_RBUTTONUP);
    EXPECT_EQ(caption, expected);
  }
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(MainWindow, TheTimerAsksAboutTheStartPageOnceAndClearsOnSchedule) {
  SystemSettings settings;
  settings.MonitorStartPage = true;
  settings.StartPage = "http://home.example/";
  settings.ScheduleType = "interval";
  settings.ScheduleInterval = 30;
  WindowBench bench("ui/settings_keys.reg", settings);
  bench.Select(bench.CookiesNode());
  bench.prompt.answers = {PromptAnswer::Yes};

  // The first tick: the monitor's question (Yes puts the stored values back), then the scheduled clear of the
  // whole catalogue, a day after the start's last run.
  bench.Tick();
  const ui::BrowserPages hijacked{"http://hijack.example/", "Hijacked Browser"};
  EXPECT_EQ(bench.prompt.asked, Lines{"Monitor Message|" + ui::MonitorQuestion(settings, hijacked).value_or("")});
  EXPECT_EQ(KeyValues(bench.t.registry, kBrowserMainKeyPath),
            (Lines{"Search Page=http://search.example/", "Start Page=http://home.example/"}));
  EXPECT_FALSE(bench.window->ProcessEnd());
  ASSERT_TRUE(bench.Finish());
  EXPECT_EQ(TreeView_GetSelection(bench.Control(IDC_TREE)), TreeView_GetRoot(bench.Control(IDC_TREE)));
  EXPECT_FALSE(std::filesystem::exists(bench.t.dir / "player/list.m3u"));
  EXPECT_EQ(bench.window->Schedule().LastRun(), bench.t.clock.Now());

  // 29 minute boundaries later nothing happens and the monitor stays quiet; at 30 the next clear starts.
  const LocalDateTime cleared = bench.t.clock.Now();
  bench.t.clock.Set({cleared.Year, cleared.Month, cleared.Day, cleared.Hour, cleared.Minute + 29, 59});
  bench.Tick();
  EXPECT_TRUE(bench.window->ProcessEnd());
  bench.t.clock.Set({cleared.Year, cleared.Month, cleared.Day, cleared.Hour, cleared.Minute + 30, 0});
  bench.Tick();
  EXPECT_FALSE(bench.window->ProcessEnd());
  ASSERT_TRUE(bench.Finish());
  EXPECT_EQ(bench.prompt.asked.size(), 1u);

  // The tray's daily item unchecks interval in both menus and stores the type; the start-up item the Run value.
  bench.Command(IDM_ST_SCHEDULE_DAILY);
  HMENU menus = bench.window->Menus();
  EXPECT_EQ(MenuItemText(menus, IDM_SCHEDULE_DAILY), "Schedule in &Daily Mode [x]");
  EXPECT_EQ(MenuItemText(menus, IDM_SCHEDULE_INTERVAL), "Schedule in &Interval Mode");
  EXPECT_EQ(bench.window->Settings().ScheduleType, "daily");
  bench.Command(IDM_RUN_ON_STARTUP);
  const Lines settingsKey = KeyValues(bench.t.registry, kSettingsKeyPath);
  EXPECT_NE(std::find(settingsKey.begin(), settingsKey.end(), "Schedule Type=daily"), settingsKey.end());
  EXPECT_NE(std::find(settingsKey.begin(), settingsKey.end(), "Run On Startup Windows=true"), settingsKey.end());
  const Lines run = KeyValues(bench.t.registry, kRunKey);
  ASSERT_EQ(run.size(), 2u);
  EXPECT_TRUE(run[1].starts_with("Quillmere=") && run[1].ends_with("\\Quillmere.exe")) << run[1];
}

TEST(MainWindow, ListsAtMostDisplayMaxRowsAndComesBackFromTheTrayMaximised) {
  SystemSettings settings;
  settings.DisplayMaxRows = 2;
  WindowBench bench("", settings);
  bench.Click(IDC_SHOW);
  ASSERT_TRUE(bench.Finish());
  EXPECT_EQ(bench.List().size(), 2u);
  EXPECT_EQ(bench.Status(), (Lines{"ALL", "6", "1.65 K", ""}));

  HWND hwnd = bench.window->Handle();
  ShowWindow(hwnd, SW_MAXIMIZE);
  // Maximised, the frameless window covers its monitor's work area.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT maximised{};
  GetWindowRect(hwnd, &maximised);
  EXPECT_TRUE(EqualRect(&maximised, &monitor.rcWork))
      << maximised.left << "," << maximised.top << "," << maximised.right << "," << maximised.bottom << " / "
      << monitor.rcWork.right << "," << monitor.rcWork.bottom;
  SendMessageW(hwnd, ui::TrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  SendMessageW(hwnd, ui::TrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(IsZoomed(hwnd));
}

}  // namespace
}  // namespace qm::testing
