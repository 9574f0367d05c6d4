#include "ui/model/scheduler.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/lines.h"

namespace qm::testing {
namespace {

using ui::Scheduler;

/// "2026-03-04 10:00:05" as a local time.
LocalDateTime At(const std::string& text) {
  LocalDateTime t{};
  EXPECT_EQ(std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &t.Year, &t.Month, &t.Day, &t.Hour, &t.Minute, &t.Second), 6)
      << text;
  return t;
}

TEST(Scheduler, CountsMinuteBoundariesAndClearsWhenTheTimeOfTheScheduleHasCome) {
  for (const auto& [span, minutes] : FixtureCases("ui/minute_boundaries.txt")) {
    const Lines times = Split(span, " | ");
    EXPECT_EQ(std::to_string(ui::MinuteBoundariesBetween(At(times.at(0)), At(times.at(1)))), minutes) << span;
  }

  for (const auto& [tick, due] : FixtureCases("ui/schedule_ticks.txt")) {
    const Lines parts = Split(tick, " | ");
    SystemSettings settings;
    settings.ScheduleType = parts.at(0).substr(0, parts[0].find(' '));
    settings.ScheduleInterval = settings.ScheduleClock =
        static_cast<int16_t>(std::stoi(parts[0].substr(parts[0].find(' '))));
    Scheduler scheduler(At(parts.at(1)));
    if (parts.at(2) != "-") scheduler.MarkRun(At(parts[2]));
    EXPECT_EQ(scheduler.Due(settings, At(parts.at(3))) ? "due" : "not due", due) << tick;
  }
  EXPECT_EQ(Scheduler(LocalDateTime{2026, 3, 1, 0, 3, 0}).LastRun(), (LocalDateTime{2026, 2, 28, 0, 3, 0}));
}

}  // namespace
}  // namespace qm::testing
