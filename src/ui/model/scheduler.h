#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "settings/system_settings.h"

namespace qm::ui {

/// The minute boundaries passed between two moments, as a calendar difference counts them (10:00:59 to
/// 10:01:00 is one); negative when `to` is before `from`.
int64_t MinuteBoundariesBetween(const LocalDateTime& from, const LocalDateTime& to);

/// Decides on each timer tick whether the scheduled clear is due. The last run lives in memory only and
/// starts a day before the program started, so an interval schedule clears at the first tick.
class Scheduler {
 public:
  explicit Scheduler(const LocalDateTime& start) : lastRun_(AddDays(start, -1)) {}

  /// "interval": at least ScheduleInterval minute boundaries since the last run. "daily": now inside the 10
  /// minutes from ScheduleClock:00 today and the last run before that hour. Anything else: never.
  bool Due(const SystemSettings& settings, const LocalDateTime& now) const;

  /// A scheduled clear ended at `now`.
  void MarkRun(const LocalDateTime& now) { lastRun_ = now; }

  const LocalDateTime& LastRun() const { return lastRun_; }

 private:
  LocalDateTime lastRun_;
};

}  // namespace qm::ui
