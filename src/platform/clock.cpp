#include "platform/clock.h"

#include <chrono>

namespace qm {

LocalDateTime AddDays(const LocalDateTime& time, int days) {
  using namespace std::chrono;
  year_month_day date{year{time.Year}, month{static_cast<unsigned>(time.Month)},
                      day{static_cast<unsigned>(time.Day)}};
  year_month_day moved{sys_days{date} + std::chrono::days{days}};
  LocalDateTime result = time;
  result.Year = static_cast<int>(moved.year());
  result.Month = static_cast<int>(static_cast<unsigned>(moved.month()));
  result.Day = static_cast<int>(static_cast<unsigned>(moved.day()));
  return result;
}

}  // namespace qm
