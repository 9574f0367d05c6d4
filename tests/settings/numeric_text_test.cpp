#include "settings/numeric_text.h"

#include <gtest/gtest.h>

namespace qm::testing {
namespace {

TEST(NumericTextTest, RecognisesTheNumberForms) {
  for (const char* text :
       {"12", " 12 ", "-5", "+7", "1.5", ".5", "1,000", "1e3", "2D2", "&H1f", "&O17", "&17"}) {
    EXPECT_TRUE(IsNumericText(text)) << text;
  }
  for (const char* text : {"", " ", "abc", "12abc", "1.2.3", "1e", "-", ".", "&H", "&H1g", "&8", "0-5", "0+5",
                           "0 12", "weekly"}) {
    EXPECT_FALSE(IsNumericText(text)) << text;
  }
  EXPECT_DOUBLE_EQ(*TextToNumber("1,000.25"), 1000.25);
  EXPECT_DOUBLE_EQ(*TextToNumber("&H1F"), 31);
  EXPECT_DOUBLE_EQ(*TextToNumber("-2.5e1"), -25);
}

TEST(NumericTextTest, ConvertsToIntegersRoundingHalvesToEven) {
  EXPECT_EQ(TextToInt16("0480"), 480);
  EXPECT_EQ(TextToInt16("01.5"), 2);
  EXPECT_EQ(TextToInt16("02.5"), 2);
  EXPECT_EQ(TextToInt16("03.5"), 4);
  EXPECT_EQ(TextToInt16("032767"), 32767);
  EXPECT_FALSE(TextToInt16("032768").has_value());
  EXPECT_FALSE(TextToInt16("0-5").has_value());
  EXPECT_EQ(TextToInt32("-1"), -1);
  EXPECT_EQ(TextToInt32("2147483647"), 2147483647);
  EXPECT_FALSE(TextToInt32("2147483648").has_value());
  EXPECT_FALSE(TextToInt32("1e400").has_value());
}

}  // namespace
}  // namespace qm::testing
