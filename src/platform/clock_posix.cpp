#include "platform/clock.h"

#include <cstdio>
#include <ctime>

namespace qm {

namespace {

class LocalClock : public Clock {
 public:
  LocalDateTime Now() const override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
  }
};

}  // namespace

const Clock& SystemClock() {
  static const LocalClock clock;
  return clock;
}

std::string GeneralDateText(const LocalDateTime& time) {
  int hour12 = time.Hour % 12 == 0 ? 12 : time.Hour % 12;
  char text[64];
  std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", time.Month, time.Day, time.Year, hour12,
                time.Minute, time.Second, time.Hour < 12 ? "AM" : "PM");
  return text;
}

}  // namespace qm
