#pragma once

#include <cstdint>
#include <string>

#include "settings/system_settings.h"

namespace qm::ui {

/// The schedule interval as the menus name it: 15 "15 Minutes", 30 "30 Minutes", 60 "1 Hour", 120 "2 Hours",
/// 240 "4 Hours", any other number of minutes "8 Hours".
std::string IntervalText(int16_t minutes);

/// "Clear once every " + the interval text.
std::string ScheduleIntervalCaption(int16_t minutes);

/// "Clear daily at " + the hour in two digits + ":00".
std::string ScheduleDailyCaption(int16_t hour);

/// The tray menu's first item: "Show Quillmere" while the window is minimised, "Hide Quillmere" otherwise.
std::string ShowHideCaption(bool minimised);

/// The check marks and captions of the Actions menu as the settings give them, refreshed before it opens.
struct ActionsMenuState {
  bool RunOnStartup = false;
  bool TurnOffAutoComplete = false;
  bool EnableMonitor = false;
  bool FileLogging = false;
  std::string IntervalCaption;
  bool IntervalChecked = false;
  std::string DailyCaption;
  bool DailyChecked = false;
};
ActionsMenuState ActionsMenuFor(const SystemSettings& settings);

/// The tray menu's captions and the marks it refreshes before it opens (its logging mark is not among them).
struct TrayMenuState {
  std::string ShowHideCaption;
  bool Monitor = false;
  std::string IntervalCaption;
  bool IntervalChecked = false;
  std::string DailyCaption;
  bool DailyChecked = false;
};
TrayMenuState TrayMenuFor(const SystemSettings& settings, bool minimised);

/// Which kind of run is active, if any.
enum class RunKind { None, Show, Clear };

/// Captions and enabled states of the buttons and menu items that a run changes, and whether the schedule
/// timer runs: the idle state for RunKind::None, the busy state of a show or a clear otherwise.
struct CommandStates {
  std::string ShowCaption;  ///< the show button and the Actions menu's Show: "Show" or "Stop"
  bool ShowEnabled = true;
  std::string ClearCaption;  ///< the clear button and the Actions menu's Clear: "Clear" or "Stop"
  bool ClearEnabled = true;
  std::string ClearNowCaption;  ///< the tray's "Clear Now", "Stop" during a clear
  bool ClearNowEnabled = true;
  bool FileLoggingEnabled = true;        ///< both logging items
  bool CatalogueCommandsEnabled = true;  ///< Reload Config, Preferences, Add Plugins, Add Custom
  bool TimerOn = true;
};
CommandStates CommandStatesFor(RunKind run);

}  // namespace qm::ui
