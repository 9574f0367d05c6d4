#include "discovery/hold_match.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(HoldMatch, WholePathCaseInsensitiveNoWildcards) {
  const TextList holds{"C:\\Temp\\Keep.txt", "HKCU-Path\\Software\\App\\Kept", "C:\\Temp\\*.log"};
  const HoldMatcher m(true, holds);
  EXPECT_TRUE(m.IsHeld("c:\\temp\\KEEP.TXT"));
  EXPECT_TRUE(m.IsHeld("hkcu-path\\software\\app\\kept"));
  EXPECT_FALSE(m.IsHeld("C:\\Temp\\Keep.txt.bak"));
  EXPECT_FALSE(m.IsHeld("C:\\Temp\\Keep"));
  EXPECT_FALSE(m.IsHeld("C:\\Temp\\a.log"));  // a star in a hold is a plain character
  EXPECT_TRUE(m.IsHeld("C:\\Temp\\*.LOG"));
}

TEST(HoldMatch, HoldFlagOffHoldsNothing) {
  const TextList holds{"C:\\Temp\\Keep.txt"};
  EXPECT_FALSE(HoldMatcher(false, holds).IsHeld("C:\\Temp\\Keep.txt"));
  EXPECT_FALSE(HoldMatcher(true, TextList{}).IsHeld(""));
  // An empty hold entry holds only the empty path (a registry default value of an empty key path).
  EXPECT_TRUE(HoldMatcher(true, TextList{""}).IsHeld(""));
}

TEST(HoldMatch, AccentedLettersCompareWithoutCase) {
  const HoldMatcher m(true, TextList{"C:\\\xC3\x89t\xC3\xA9.txt"});  // C:\Été.txt
  EXPECT_TRUE(m.IsHeld("c:\\\xC3\xA9T\xC3\x89.TXT"));
}

}  // namespace
}  // namespace qm
