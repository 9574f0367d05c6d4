#include "ui/model/menu_texts.h"

#include <gtest/gtest.h>

namespace qm::testing {
namespace {

using namespace ui;

std::string Mark(bool checked) { return checked ? "[x]" : "[ ]"; }

TEST(MenuTexts, ScheduleItemsNameTheirIntervalAndHourAndARunTurnsItsButtonIntoStop) {
  const std::pair<int16_t, const char*> intervals[] = {{15, "15 Minutes"}, {30, "30 Minutes"}, {60, "1 Hour"},
                                                       {120, "2 Hours"},   {240, "4 Hours"},   {480, "8 Hours"},
                                                       {45, "8 Hours"},    {0, "8 Hours"}};
  for (const auto& [minutes, text] : intervals) {
    EXPECT_EQ(ScheduleIntervalCaption(minutes), std::string("Clear once every ") + text) << minutes;
  }
  for (const auto& [hour, text] : {std::pair{7, "07:00"}, {23, "23:00"}, {0, "00:00"}}) {
    EXPECT_EQ(ScheduleDailyCaption(hour), std::string("Clear daily at ") + text);
  }

  // Each mark follows its own setting; the tray names the window's state.
  const std::tuple<SystemSettings, const char*, const char*> menus[] = {
      {{true, false, true, "", "", "interval", 60, 7, 1, false, 1, 1000},
       "[x][ ][x][ ] Clear once every 1 Hour [x] Clear daily at 07:00 [ ]",
       "Hide Quillmere [x] Clear once every 1 Hour [x] Clear daily at 07:00 [ ]"},
      {{false, true, false, "", "", "daily", 45, 23, 1, true, 1, 1000},
       "[ ][x][ ][x] Clear once every 8 Hours [ ] Clear daily at 23:00 [x]",
       "Show Quillmere [ ] Clear once every 8 Hours [ ] Clear daily at 23:00 [x]"},
      {{false, false, false, "", "", "none", 15, 0, 1, false, 1, 1000},
       "[ ][ ][ ][ ] Clear once every 15 Minutes [ ] Clear daily at 00:00 [ ]",
       "Hide Quillmere [ ] Clear once every 15 Minutes [ ] Clear daily at 00:00 [ ]"},
  };
  bool minimised = false;
  for (const auto& [settings, actions, tray] : menus) {
    const ActionsMenuState a = ActionsMenuFor(settings);
    EXPECT_EQ(Mark(a.RunOnStartup) + Mark(a.TurnOffAutoComplete) + Mark(a.EnableMonitor) + Mark(a.FileLogging) + " " +
                  a.IntervalCaption + " " + Mark(a.IntervalChecked) + " " + a.DailyCaption + " " + Mark(a.DailyChecked),
              actions);
    const TrayMenuState t = TrayMenuFor(settings, minimised);
    EXPECT_EQ(t.ShowHideCaption + " " + Mark(t.Monitor) + " " + t.IntervalCaption + " " + Mark(t.IntervalChecked) +
                  " " + t.DailyCaption + " " + Mark(t.DailyChecked),
              tray);
    minimised = !minimised;
  }

  // Caption and "+" for enabled or "-" for disabled: Show, Clear, Clear Now; logging, catalogue, timer.
  const std::pair<RunKind, const char*> runs[] = {
      {RunKind::None, "Show+ Clear+ Clear Now+ logging+ catalogue+ timer+"},
      {RunKind::Show, "Stop+ Clear- Clear Now- logging- catalogue- timer-"},
      {RunKind::Clear, "Show- Stop+ Stop- logging- catalogue- timer-"},
  };
  const auto on = [](bool enabled) { return enabled ? "+ " : "- "; };
  for (const auto& [run, expected] : runs) {
    const CommandStates s = CommandStatesFor(run);
    EXPECT_EQ(s.ShowCaption + on(s.ShowEnabled) + s.ClearCaption + on(s.ClearEnabled) + s.ClearNowCaption +
                  on(s.ClearNowEnabled) + "logging" + on(s.FileLoggingEnabled) + "catalogue" +
                  on(s.CatalogueCommandsEnabled) + "timer" + (s.TimerOn ? "+" : "-"),
              expected);
  }
}

}  // namespace
}  // namespace qm::testing
