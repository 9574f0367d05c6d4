#include "settings/numeric_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace qm::testing {
namespace {

TEST(NumericTextTest, RecognisesTheNumberForms) {
  for (const char* text : {"12", " 12 ", "-5", "+7", "1.5", ".5", "1,000", "1e3", "2D2", "&H1f", "&O17", "&17"}) {
    EXPECT_TRUE(IsNumericText(text)) << text;
  }
  for (const char* text :
       {"", " ", "abc", "12abc", "1.2.3", "1e", "-", ".", "&H", "&H1g", "&8", "0-5", "0+5", "0 12", "weekly"}) {
    EXPECT_FALSE(IsNumericText(text)) << text;
  }
  EXPECT_DOUBLE_EQ(*TextToNumber("1,000.25"), 1000.25);
  EXPECT_DOUBLE_EQ(*TextToNumber("&H1F"), 31);
  EXPECT_DOUBLE_EQ(*TextToNumber("-2.5e1"), -25);
}

TEST(NumericTextTest, ConvertsToIntegersRoundingHalvesToEven) {
  const std::pair<const char*, std::optional<int16_t>> shorts[] = {
      {"0480", 480}, {"01.5", 2}, {"02.5", 2}, {"03.5", 4}, {"032767", 32767}, {"032768", {}}, {"0-5", {}}};
  for (const auto& [text, number] : shorts) EXPECT_EQ(TextToInt16(text), number) << text;
  const std::pair<const char*, std::optional<int32_t>> longs[] = {
      {"-1", -1}, {"2147483647", 2147483647}, {"2147483648", {}}, {"1e400", {}}};
  for (const auto& [text, number] : longs) EXPECT_EQ(TextToInt32(text), number) << text;
}

}  // namespace
}  // namespace qm::testing
