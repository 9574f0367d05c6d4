#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "clean/engine.h"
#include "platform/clock.h"
#include "settings/system_settings.h"
#include "ui/model/form_resize_control.h"
#include "ui/model/menu_texts.h"
#include "ui/model/privacy_tree.h"
#include "ui/model/prompt.h"
#include "ui/model/run_feed.h"
#include "ui/model/run_view.h"
#include "ui/model/scheduler.h"
#include "ui/skin_frame.h"
#include "ui/tray_icon.h"

namespace qm::ui {

/// What the main window works with, made by the program's start (or by a test).
struct MainWindowArgs {
  qm::Engine* engine = nullptr;  ///< required: the catalogue is loaded into it
  ui::Prompt* prompt = nullptr;  ///< required: every message box
  const Clock* clock = nullptr;  ///< required: the schedule's clock
  std::string catalogueFile;         ///< loaded at creation
  SystemSettings settings;          ///< as loaded at start; the window keeps them from then on
  SettingsRoots roots;               ///< where menu commands write settings
  /// Starts `program` ("notepad.exe") with a file as its argument, or, with no program, opens the file
  /// through the shell.
  std::function<void(const std::string& program, const std::string& argument)> start;
  bool quitWithWindow = true;  ///< the program ends when the window is destroyed
  bool show = true;          ///< shown at creation
};

/// The program's main window: the catalogue tree, the trace list, the status bar, Show and Clear, the
/// picture menus, the tray icon and the schedule timer, in its own skinned frame. Runs go on a thread of their
/// own; the window follows them through batches of events it posts itself.
class MainWindow {
 public:
  static constexpr wchar_t kClassName[] = L"QuillmereMainWindow";
  /// Sent to a running program by a second start: show yourself.
  static constexpr UINT kActivateMessage = WM_APP + 10;

  explicit MainWindow(MainWindowArgs args);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  /// True while no run is active.
  bool ProcessEnd() const { return !run_; }
  const PrivacyTree& Tree() const { return tree_; }
  HMENU Menus() const { return menus_; }
  const SystemSettings& Settings() const { return settings_; }
  const Scheduler& Schedule() const { return scheduler_; }

  /// Clears the selected node; `ask` asks first and offers the log afterwards. While a run is active and the
  /// clear button reads "Stop", asks the run to stop instead.
  void DoClear(bool ask);
  /// Selects the root and clears it without questions.
  void ScheduleClear();
  /// Rebuilds the tree from the catalogue in memory and empties every found value.
  void LoadTreeView();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleNotify(const NMHDR& header);
  void OnCommand(int id);
  void OnCreate();
  void OnSize(WPARAM kind);
  void OnClose();
  void OnTrayCallback(LPARAM mouseMessage);
  void OnTick();

  void CreateControls();
  void ApplyDpi(int dpi);
  void LayOut();
  void PaintFrame();
  /// The maximise button's tooltip names what it does now: "Maximize" or "Restore Down".
  void UpdateMaximiseTip(const ControlBounds& button);

  void StartRun(RunKind kind, bool ask, bool scheduled);
  void OnRunEvents();
  void OnRunDone();
  void ApplyEvents(const std::vector<RunEvent>& events);
  void DisplaySelected();
  void ShowResult(const RunTotals& totals);
  void SetCommandStates(RunKind run);

  void SyncTree();
  void SyncNode(std::size_t index);
  std::size_t SelectedNode() const;
  void SelectNode(std::size_t index);
  void SetStatus(const StatusPanels& panels);

  void PopUpMenu(POINT screen, HMENU submenu);
  void ShowPictureMenu(int title);
  void ShowTrayMenu();
  void RefreshActionsMenu();
  void ApplySetting(int id);
  bool RefuseDuringRun(const std::string& command, const std::string& caption);
  void ToggleShown();
  void CheckStartPage();
  void CheckSchedule();
  void ViewTodayLog();
  void WithTimerOff(const std::function<void()>& window);
  bool OpenDetail(HWND owner, PrivacyConfig& working);
  void OpenPreferences();
  void OpenAddPlugins();
  void OpenCustomList();
  void OpenHelp();

  void SplitterDown(POINT point);
  void SplitterMove(POINT point);
  void SplitterUp();
  bool Maximised() const;
  /// The work area of the window's monitor, in screen coordinates.
  RECT WorkArea() const;

  MainWindowArgs args_;
  Engine& engine_;
  Prompt& prompt_;
  SystemSettings settings_;
  Scheduler scheduler_;
  HWND hwnd_ = nullptr;
  HWND treeView_ = nullptr;
  HWND listView_ = nullptr;
  HWND status_ = nullptr;
  HWND showButton_ = nullptr;
  HWND clearButton_ = nullptr;
  HWND tooltip_ = nullptr;
  HMENU menus_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_ = 96;
  UINT taskbarCreated_ = 0;

  TrayIcon tray_;
  SkinFrame frame_;
  PrivacyTree tree_;
  std::vector<HTREEITEM> treeItems_;
  bool selecting_ = false;
  RunProgress progress_;
  std::shared_ptr<PrivacyValues> listed_;
  std::size_t listedRows_ = 0;
  StatusPanels panels_;
  FormResizeControl resize_;
  std::unique_ptr<ResizableForm> form_;

  struct ActiveRun;
  std::unique_ptr<ActiveRun> run_;
  bool monitorAsking_ = false;
  bool closing_ = false;
  int lastShowState_ = SW_SHOWNORMAL;
  int splitterLeft_ = 0;
  std::optional<int> splitterGrab_;
};

}  // namespace qm::ui
