#pragma once

#include <string>

namespace qm {

/// A moment of the local calendar, to the second.
struct LocalDateTime {
  int Year = 0;
  int Month = 0;   ///< 1 to 12
  int Day = 0;     ///< 1 to 31
  int Hour = 0;    ///< 0 to 23
  int Minute = 0;
  int Second = 0;

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

/// Where the time comes from: the system's local time in the program, a set time in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
};

/// The system's local date and time.
const Clock& SystemClock();

/// A clock that shows whatever time it was set to.
class ManualClock : public Clock {
 public:
  explicit ManualClock(LocalDateTime time) : time_(time) {}
  LocalDateTime Now() const override { return time_; }
  void Set(LocalDateTime time) { time_ = time; }

 private:
  LocalDateTime time_;
};

/// The same time of day `days` calendar days later (earlier when negative).
LocalDateTime AddDays(const LocalDateTime& time, int days);

/// The date and time as the platform's default date-to-text conversion writes it (short date, a blank, long
/// time): the user's locale on Windows; elsewhere the same form Windows gives for English (United States),
/// "12/5/2026 2:03:07 PM".
std::string GeneralDateText(const LocalDateTime& time);

}  // namespace qm
