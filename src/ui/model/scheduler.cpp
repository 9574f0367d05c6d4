#include "ui/model/scheduler.h"

#include <chrono>

namespace qm::ui {

namespace {

constexpr int kDailyWindowMinutes = 10;

/// Whole minutes from the calendar's epoch to the moment, its seconds dropped.
int64_t MinuteNumber(const LocalDateTime& time) {
  using namespace std::chrono;
  const year_month_day date{year{time.Year}, month{static_cast<unsigned>(time.Month)},
                            day{static_cast<unsigned>(time.Day)}};
  const int64_t days = sys_days{date}.time_since_epoch().count();
  return (days * 24 + time.Hour) * 60 + time.Minute;
}

}  // namespace

int64_t MinuteBoundariesBetween(const LocalDateTime& from, const LocalDateTime& to) {
  return MinuteNumber(to) - MinuteNumber(from);
}

bool Scheduler::Due(const SystemSettings& settings, const LocalDateTime& now) const {
  if (settings.ScheduleType == "interval") return MinuteBoundariesBetween(lastRun_, now) >= settings.ScheduleInterval;
  if (settings.ScheduleType != "daily") return false;
  LocalDateTime target = now;
  target.Hour = settings.ScheduleClock;
  target.Minute = 0;
  target.Second = 0;
  // The target has no seconds: a moment is at or after it when its minute is, and before it when its minute
  // is earlier.
  const int64_t sinceTarget = MinuteBoundariesBetween(target, now);
  return sinceTarget >= 0 && sinceTarget < kDailyWindowMinutes && MinuteBoundariesBetween(lastRun_, target) > 0;
}

}  // namespace qm::ui
