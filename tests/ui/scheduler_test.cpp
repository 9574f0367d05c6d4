#include "ui/model/scheduler.h"

#include <gtest/gtest.h>

#include <optional>

namespace qm::testing {
namespace {

using ui::MinuteBoundariesBetween;
using ui::Scheduler;

constexpr LocalDateTime At(int year, int month, int day, int hour, int minute, int second) {
  return {year, month, day, hour, minute, second};
}

TEST(Scheduler, MinuteBoundariesCountAcrossMonthsYearsAndLeapDays) {
  const std::tuple<LocalDateTime, LocalDateTime, int64_t> spans[] = {
      {At(2026, 3, 4, 10, 0, 59), At(2026, 3, 4, 10, 1, 0), 1},
      {At(2026, 3, 4, 10, 0, 0), At(2026, 3, 4, 10, 0, 59), 0},
      {At(2026, 1, 31, 23, 59, 30), At(2026, 2, 1, 0, 0, 10), 1},
      {At(2026, 12, 31, 23, 59, 0), At(2027, 1, 1, 0, 1, 0), 2},
      {At(2028, 2, 28, 23, 0, 0), At(2028, 3, 1, 0, 0, 0), 1500},
      {At(2026, 3, 4, 10, 1, 0), At(2026, 3, 4, 10, 0, 59), -1},
  };
  for (const auto& [from, to, minutes] : spans) {
    EXPECT_EQ(MinuteBoundariesBetween(from, to), minutes) << from.Month << "/" << from.Day << " " << from.Hour;
  }
}

TEST(Scheduler, IntervalAndDailyClearsComeWhenTheirTimeHasCome) {
  const struct {
    const char* type;
    int16_t value;  // the interval's minutes or the daily hour
    LocalDateTime start;
    std::optional<LocalDateTime> ranAt;  // the end of an earlier scheduled clear
    LocalDateTime now;
    bool due;
  } ticks[] = {
      // Interval 30 from 10:00:05: at once, then 30 minute boundaries after the end of that clear.
      {"interval", 30, At(2026, 3, 4, 10, 0, 5), {}, At(2026, 3, 4, 10, 0, 11), true},
      {"interval", 30, At(2026, 3, 4, 10, 0, 5), At(2026, 3, 4, 10, 0, 40), At(2026, 3, 4, 10, 29, 59), false},
      {"interval", 30, At(2026, 3, 4, 10, 0, 5), At(2026, 3, 4, 10, 0, 40), At(2026, 3, 4, 10, 30, 0), true},
      {"interval", 0, At(2026, 3, 4, 10, 0, 5), At(2026, 3, 4, 10, 0, 40), At(2026, 3, 4, 10, 0, 46), true},
      {"interval", 480, At(2026, 3, 31, 20, 0, 0), At(2026, 3, 31, 20, 0, 0), At(2026, 4, 1, 4, 0, 0), true},
      // Daily at 9: started at 9:05 it clears at the first tick, once; started at 9:11 the day is missed.
      {"daily", 9, At(2026, 3, 4, 9, 5, 0), {}, At(2026, 3, 4, 9, 5, 6), true},
      {"daily", 9, At(2026, 3, 4, 9, 5, 0), At(2026, 3, 4, 9, 5, 30), At(2026, 3, 4, 9, 6, 0), false},
      {"daily", 9, At(2026, 3, 4, 9, 11, 0), {}, At(2026, 3, 4, 9, 11, 6), false},
      {"daily", 9, At(2026, 3, 4, 8, 0, 0), {}, At(2026, 3, 4, 9, 9, 59), true},
      {"daily", 9, At(2026, 3, 4, 8, 0, 0), {}, At(2026, 3, 4, 9, 10, 0), false},
      {"daily", 9, At(2026, 3, 4, 8, 0, 0), {}, At(2026, 3, 4, 8, 59, 59), false},
      // A clear that ended just before the hour does not count for it; the next day has its own window.
      {"daily", 9, At(2026, 3, 4, 8, 0, 0), At(2026, 3, 4, 8, 59, 59), At(2026, 3, 4, 9, 0, 0), true},
      {"daily", 0, At(2026, 2, 28, 23, 0, 0), At(2026, 2, 28, 0, 1, 0), At(2026, 3, 1, 0, 3, 0), true},
      {"daily", 0, At(2026, 3, 1, 0, 3, 0), {}, At(2026, 3, 1, 0, 3, 6), true},
      {"none", 0, At(2026, 3, 4, 10, 0, 5), {}, At(2026, 3, 4, 10, 0, 11), false},
      {"Interval", 0, At(2026, 3, 4, 10, 0, 5), {}, At(2026, 3, 4, 10, 0, 11), false},
  };
  for (const auto& tick : ticks) {
    SystemSettings settings;
    settings.ScheduleType = tick.type;
    settings.ScheduleInterval = settings.ScheduleClock = tick.value;
    Scheduler scheduler(tick.start);
    if (tick.ranAt) scheduler.MarkRun(*tick.ranAt);
    EXPECT_EQ(scheduler.Due(settings, tick.now), tick.due)
        << tick.type << " " << tick.value << " at " << tick.now.Day << " " << tick.now.Hour << ":" << tick.now.Minute;
  }
  EXPECT_EQ(Scheduler(At(2026, 3, 1, 0, 3, 0)).LastRun(), At(2026, 2, 28, 0, 3, 0));
}

}  // namespace
}  // namespace qm::testing
