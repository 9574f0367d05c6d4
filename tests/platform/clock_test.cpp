#include "platform/clock.h"

#include <gtest/gtest.h>

namespace qm {

TEST(ClockTest, AddDaysCrossesMonthsYearsAndLeapDaysGeneralDateTextHoldsDateAndTimeAndTheSystemClockIsPlausible) {
  EXPECT_EQ(AddDays({2026, 12, 5, 14, 3, 7}, -3), (LocalDateTime{2026, 12, 2, 14, 3, 7}));
  EXPECT_EQ(AddDays({2027, 3, 1, 0, 0, 0}, -1), (LocalDateTime{2027, 2, 28, 0, 0, 0}));
  EXPECT_EQ(AddDays({2028, 3, 1, 0, 0, 0}, -1), (LocalDateTime{2028, 2, 29, 0, 0, 0}));
  EXPECT_EQ(AddDays({2026, 12, 31, 23, 59, 59}, 1), (LocalDateTime{2027, 1, 1, 23, 59, 59}));
  EXPECT_EQ(AddDays({2027, 1, 2, 1, 2, 3}, -5), (LocalDateTime{2026, 12, 28, 1, 2, 3}));

  std::string afternoon = GeneralDateText({2026, 12, 5, 14, 3, 7});
  EXPECT_NE(afternoon.find("2026"), std::string::npos) << afternoon;
  EXPECT_NE(afternoon.find("03"), std::string::npos) << afternoon;
  EXPECT_NE(afternoon.find("07"), std::string::npos) << afternoon;
  EXPECT_NE(GeneralDateText({2026, 12, 5, 2, 3, 7}), afternoon);
  EXPECT_NE(GeneralDateText({2026, 12, 6, 14, 3, 7}), afternoon);

  LocalDateTime now = SystemClock().Now();
  EXPECT_GE(now.Year, 2024);
  EXPECT_TRUE(now.Month >= 1 && now.Month <= 12 && now.Day >= 1 && now.Day <= 31 && now.Hour >= 0 && now.Hour <= 23)
      << now.Month << "/" << now.Day << " " << now.Hour;
}

}  // namespace qm
