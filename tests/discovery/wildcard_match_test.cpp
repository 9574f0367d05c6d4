#include "discovery/wildcard_match.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace qm {
namespace {

TEST(WildcardMatch, StarQuestionAndDigit) {
  EXPECT_TRUE(WildcardMatch("a.tmp", "*.TMP"));
  EXPECT_TRUE(WildcardMatch("B.Tmp", "*.TMP"));
  EXPECT_FALSE(WildcardMatch("a.tmpx", "*.TMP"));
  EXPECT_TRUE(WildcardMatch(".tmp", "*.tmp"));  // the star also matches nothing
  EXPECT_TRUE(WildcardMatch("", "*"));
  EXPECT_TRUE(WildcardMatch("", "**"));
  EXPECT_FALSE(WildcardMatch("", "?"));
  EXPECT_TRUE(WildcardMatch("abc", "a?c"));
  EXPECT_FALSE(WildcardMatch("ac", "a?c"));
  EXPECT_TRUE(WildcardMatch("L20261205.log", "l########.LOG"));
  EXPECT_FALSE(WildcardMatch("L2026120x.log", "l########.log"));
  EXPECT_FALSE(WildcardMatch("L2026120.log", "l########.log"));
  // Backtracking over several stars.
  EXPECT_TRUE(WildcardMatch("mississippi", "m*iss*ppi"));
  EXPECT_TRUE(WildcardMatch("aXbXbXc", "a*b*c"));
  EXPECT_FALSE(WildcardMatch("aXbXbX", "a*b*c"));
  EXPECT_TRUE(WildcardMatch("abcabd", "*abd"));
  // The whole name must match: no prefix or infix matches.
  EXPECT_FALSE(WildcardMatch("cookie.txt.bak", "cookie.txt"));
  EXPECT_FALSE(WildcardMatch("my cookie.txt", "cookie.txt"));
}

TEST(WildcardMatch, ListsRangesAndNegation) {
  EXPECT_TRUE(WildcardMatch("b1", "[abc]#"));
  EXPECT_FALSE(WildcardMatch("d1", "[abc]#"));
  EXPECT_TRUE(WildcardMatch("q", "[A-Z]"));  // case-insensitive, ranges after upper-casing
  EXPECT_TRUE(WildcardMatch("Q", "[a-z]"));
  EXPECT_FALSE(WildcardMatch("5", "[a-z]"));
  EXPECT_TRUE(WildcardMatch("5", "[!a-z]"));
  EXPECT_FALSE(WildcardMatch("x", "[!a-z]"));
  EXPECT_TRUE(WildcardMatch("-", "[a-]"));  // a trailing dash is itself
  EXPECT_TRUE(WildcardMatch("-", "[-a]"));
  EXPECT_TRUE(WildcardMatch("*", "[*]"));  // specials lose their meaning inside a list
  EXPECT_FALSE(WildcardMatch("x", "[*]"));
  EXPECT_TRUE(WildcardMatch("?", "[?]"));
  EXPECT_TRUE(WildcardMatch("!", "!"));  // "!" outside a list is itself
  EXPECT_TRUE(WildcardMatch("a]", "a]"));
  EXPECT_TRUE(WildcardMatch("ab", "a[]b"));  // an empty list stands for the empty text
  EXPECT_TRUE(WildcardMatch("a1z", "a[0-9x-z]z"));
  EXPECT_TRUE(WildcardMatch("ayz", "a[0-9x-z]z"));
  EXPECT_FALSE(WildcardMatch("awz", "a[0-9x-z]z"));
}

TEST(WildcardMatch, CaseAndNonAsciiLetters) {
  EXPECT_TRUE(WildcardMatch("Index.DAT", "index.dat"));
  EXPECT_TRUE(WildcardMatch("\xC3\xA9t\xC3\xA9.txt", "\xC3\x89T\xC3\x89.TXT"));  // été / ÉTÉ
  EXPECT_TRUE(WildcardMatch("\xC3\xA9", "?"));  // one accented letter is one character
  EXPECT_TRUE(WildcardMatch("\xD0\xB4\xD0\xB0", "\xD0\x94\xD0\x90"));  // Cyrillic да / ДА
  EXPECT_FALSE(WildcardMatch("\xC3\xB7", "\xC3\x97"));  // ÷ is not the upper case of ×
  EXPECT_EQ(UpperCodePoints("a\xC3\xBF"), std::u32string(U"A\u0178"));
}

TEST(WildcardMatch, MalformedPatternsRaise) {
  EXPECT_THROW(WildcardPattern("a[bc"), RuntimeError);
  EXPECT_THROW(WildcardPattern("[z-a]"), RuntimeError);
  try {
    WildcardPattern p("[");
    FAIL() << "an unclosed list must raise";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 93);
  }
}

TEST(WildcardMatch, CompiledPatternServesManyNames) {
  const WildcardPattern p("cookie*.TXT");
  EXPECT_TRUE(p.Matches("cookie.txt"));
  EXPECT_TRUE(p.Matches("Cookie_old.txt"));
  EXPECT_FALSE(p.Matches("cookie.txt1"));
  EXPECT_FALSE(p.Matches("acookie.txt"));
}

}  // namespace
}  // namespace qm
