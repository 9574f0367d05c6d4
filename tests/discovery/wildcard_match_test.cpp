#include "discovery/wildcard_match.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/error.h"
#include "support/raised_error.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

TEST(WildcardMatch, WholeNamesWithoutCase) {
  int patterns = 0;
  for (const std::string& line : TextLines(ReadBytes(FixturePath("discovery/wildcards.txt")))) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string pattern;
    words >> pattern;
    const WildcardPattern compiled(pattern);
    // The names before "|" match, those after it do not.
    bool matching = true;
    for (std::string name; words >> name;) {
      if (name == "|") {
        matching = false;
      } else {
        EXPECT_EQ(compiled.Matches(name == "\"\"" ? "" : name), matching) << name << " ~ " << pattern;
      }
    }
    ++patterns;
  }
  EXPECT_EQ(patterns, 21);
  EXPECT_EQ(UpperCodePoints("a\xC3\xBF"), std::u32string(U"A\u0178"));
  EXPECT_TRUE(WildcardMatch("Index.DAT", "index.dat"));
}

TEST(WildcardMatch, MalformedPatternsRaise) {
  for (const char* pattern : {"a[bc", "[z-a]", "["}) {
    EXPECT_TRUE(RaisedError([&] { WildcardPattern{pattern}; }).starts_with("93|")) << pattern;
  }
}

}  // namespace
}  // namespace qm::testing
