#include "discovery/hold_match.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qm::testing {
namespace {

TEST(HoldMatch, WholePathWithoutCaseAndPatternsWhereAHoldHasStarsOrQuestionMarks) {
  // An absolute path of this platform, so the file form can normalise it.
  const std::string dir = std::filesystem::temp_directory_path().string();
  const HoldMatcher files(true, TextList{dir + "/sub\\\\.\\Keep.txt\\", dir + "/*.log", "\xC3\x89t\xC3\xA9.txt"},
                          HoldMatcher::Form::FilePath);
  const std::string sub = (std::filesystem::path(dir) / "sub").string();
  EXPECT_TRUE(files.IsHeld((std::filesystem::path(sub) / "KEEP.TXT").string()));
  EXPECT_FALSE(files.IsHeld((std::filesystem::path(sub) / "Keep.txt.bak").string()));
  EXPECT_FALSE(files.IsHeld(sub));
  // A star spans separators; the path a pattern spells is held too.
  EXPECT_TRUE(files.IsHeld((std::filesystem::path(dir) / "A.LOG").string()));
  EXPECT_TRUE(files.IsHeld((std::filesystem::path(sub) / "deep" / "b.log").string()));
  EXPECT_FALSE(files.IsHeld((std::filesystem::path(dir) / "a.log.txt").string()));
  EXPECT_TRUE(files.IsHeld((std::filesystem::path(dir) / "*.LOG").string()));
  // Without a star or question mark, "#" and "[" are letters of the name.
  EXPECT_TRUE(HoldMatcher(true, TextList{dir + "/[1]#.txt"}, HoldMatcher::Form::FilePath)
                  .IsHeld((std::filesystem::path(dir) / "[1]#.TXT").string()));
  // A hold that is no absolute path is compared as written; accented letters compare without case.
  EXPECT_TRUE(files.IsHeld("\xC3\xA9T\xC3\x89.TXT"));

  const HoldMatcher values(true, TextList{"Software\\App\\Kept", ""}, HoldMatcher::Form::AsWritten);
  EXPECT_TRUE(values.IsHeld("software\\APP\\kept"));
  EXPECT_FALSE(values.IsHeld("Software\\App\\Kept\\"));
  EXPECT_FALSE(values.IsHeld("Software/App/Kept"));
  EXPECT_TRUE(HoldMatcher(true, TextList{"Software\\App\\Keep\\*"}, HoldMatcher::Form::AsWritten)
                  .IsHeld("Software\\app\\keep\\sub\\v"));
  // An empty hold entry holds only the empty path (a registry default value of an empty key path).
  EXPECT_TRUE(values.IsHeld(""));

  EXPECT_FALSE(
      HoldMatcher(false, TextList{"Software\\App\\Kept"}, HoldMatcher::Form::AsWritten).IsHeld("Software\\App\\Kept"));
  EXPECT_FALSE(HoldMatcher(true, TextList{}, HoldMatcher::Form::AsWritten).IsHeld(""));
}

}  // namespace
}  // namespace qm::testing
