#include "ui/model/menu_texts.h"

#include <cstdio>

namespace qm::ui {

std::string IntervalText(int16_t minutes) {
  switch (minutes) {
    case 15: return "15 Minutes";
    case 30: return "30 Minutes";
    case 60: return "1 Hour";
    case 120: return "2 Hours";
    case 240: return "4 Hours";
    default: return "8 Hours";
  }
}

std::string ScheduleIntervalCaption(int16_t minutes) { return "Clear once every " + IntervalText(minutes); }

std::string ScheduleDailyCaption(int16_t hour) {
  char twoDigits[8];
  std::snprintf(twoDigits, sizeof twoDigits, "%02d", static_cast<int>(hour));
  return std::string("Clear daily at ") + twoDigits + ":00";
}

std::string ShowHideCaption(bool minimised) { return minimised ? "Show Quillmere" : "Hide Quillmere"; }

ActionsMenuState ActionsMenuFor(const SystemSettings& settings) {
  ActionsMenuState state;
  state.RunOnStartup = settings.RunOnStartupWindows;
  state.TurnOffAutoComplete = settings.TurnOffFormsAutoComplete;
  state.EnableMonitor = settings.MonitorStartPage;
  state.FileLogging = settings.EnableFileLogging;
  state.IntervalCaption = ScheduleIntervalCaption(settings.ScheduleInterval);
  state.IntervalChecked = settings.ScheduleType == "interval";
  state.DailyCaption = ScheduleDailyCaption(settings.ScheduleClock);
  state.DailyChecked = settings.ScheduleType == "daily";
  return state;
}

TrayMenuState TrayMenuFor(const SystemSettings& settings, bool minimised) {
  const ActionsMenuState actions = ActionsMenuFor(settings);
  TrayMenuState state;
  state.ShowHideCaption = ShowHideCaption(minimised);
  state.Monitor = actions.EnableMonitor;
  state.IntervalCaption = actions.IntervalCaption;
  state.IntervalChecked = actions.IntervalChecked;
  state.DailyCaption = actions.DailyCaption;
  state.DailyChecked = actions.DailyChecked;
  return state;
}

CommandStates CommandStatesFor(RunKind run) {
  CommandStates states{.ShowCaption = "Show", .ClearCaption = "Clear", .ClearNowCaption = "Clear Now"};
  if (run == RunKind::None) return states;
  // The running kind's own button becomes its Stop; everything else that could start a run or change the
  // catalogue or the settings waits for the end.
  if (run == RunKind::Show) {
    states.ShowCaption = "Stop";
    states.ClearEnabled = false;
  } else {
    states.ClearCaption = "Stop";
    states.ShowEnabled = false;
    states.ClearNowCaption = "Stop";
  }
  states.ClearNowEnabled = false;
  states.FileLoggingEnabled = false;
  states.CatalogueCommandsEnabled = false;
  states.TimerOn = false;
  return states;
}

}  // namespace qm::ui
