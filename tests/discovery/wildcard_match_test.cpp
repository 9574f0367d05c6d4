#include "discovery/wildcard_match.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/error.h"

namespace qm::testing {
namespace {

/// Compiles `pattern` once and matches the names it must match and those it must not.
void ExpectMatches(const char* pattern, std::initializer_list<const char*> matching,
                   std::initializer_list<const char*> others = {}) {
  const WildcardPattern compiled(pattern);
  for (const char* name : matching) EXPECT_TRUE(compiled.Matches(name)) << name << " ~ " << pattern;
  for (const char* name : others) EXPECT_FALSE(compiled.Matches(name)) << name << " ~ " << pattern;
}

TEST(WildcardMatch, WholeNamesWithoutCase) {
  // Star, question mark and digit; the star also matches nothing.
  ExpectMatches("*.TMP", {"a.tmp", "B.Tmp", ".tmp"}, {"a.tmpx", "a.tm"});
  ExpectMatches("**", {"", "x"});
  ExpectMatches("a?c", {"abc", "a?c"}, {"ac", "abbc", ""});
  ExpectMatches("l########.LOG", {"L20261205.log"}, {"L2026120x.log", "L2026120.log"});
  // Backtracking over several stars; no prefix or infix matches.
  ExpectMatches("m*iss*ppi", {"mississippi"});
  ExpectMatches("a*b*c", {"aXbXbXc", "abc"}, {"aXbXbX"});
  ExpectMatches("*abd", {"abcabd"});
  ExpectMatches("cookie*.TXT", {"cookie.txt", "Cookie_old.txt"},
                {"cookie.txt1", "acookie.txt", "cookie.txt.bak"});
  // Lists, ranges (compared after upper-casing) and negation; specials lose their meaning inside a list.
  ExpectMatches("[abc]#", {"b1", "C9"}, {"d1", "bx"});
  ExpectMatches("[A-Z]", {"q", "Q"}, {"5"});
  ExpectMatches("[!a-z]", {"5"}, {"x", "X"});
  ExpectMatches("[a-]", {"-", "a"}, {"b"});
  ExpectMatches("[-a]", {"-"});
  ExpectMatches("[*][?]", {"*?"}, {"x?", "*x"});
  ExpectMatches("!a]", {"!a]"});
  ExpectMatches("a[]b", {"ab"}, {"axb"});  // an empty list stands for the empty text
  ExpectMatches("a[0-9x-z]z", {"a1z", "ayz"}, {"awz"});
  // Letters beyond ASCII: été / ÉTÉ, one accented letter is one character, Cyrillic да / ДА, and ÷ is not the
  // upper case of ×.
  ExpectMatches("\xC3\x89T\xC3\x89.TXT", {"\xC3\xA9t\xC3\xA9.txt"});
  ExpectMatches("?", {"\xC3\xA9"}, {""});
  ExpectMatches("\xD0\x94\xD0\x90", {"\xD0\xB4\xD0\xB0"});
  ExpectMatches("\xC3\x97", {}, {"\xC3\xB7"});
  EXPECT_EQ(UpperCodePoints("a\xC3\xBF"), std::u32string(U"A\u0178"));
  EXPECT_TRUE(WildcardMatch("Index.DAT", "index.dat"));
}

TEST(WildcardMatch, MalformedPatternsRaise) {
  for (const char* pattern : {"a[bc", "[z-a]", "["}) {
    try {
      WildcardPattern p(pattern);
      ADD_FAILURE() << pattern << " compiled";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), 93) << pattern;
    }
  }
}

}  // namespace
}  // namespace qm::testing
