#include "discovery/protected_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

TEST(ProtectedFolders, RootsRelativePathsTheFoldersAndTheirAncestorsButNothingBelowOrBeside) {
  const Lines folders = {"C:\\Users\\ann", "C:\\Windows\\system32", "C:\\Program Files", "/home/ann", ""};
  int paths = 0;
  for (const std::string& line : TextLines(ReadBytes(FixturePath("discovery/protected_folders.txt")))) {
    if (line.empty() || line[0] == '#') continue;
    const std::string path = line.substr(2) == "\"\"" ? "" : line.substr(2);
    EXPECT_EQ(IsProtectedFolder(path, folders), line[0] == '+') << path;
    ++paths;
  }
  EXPECT_EQ(paths, 43);
}

TEST(ProtectedFolders, ComparablePathUnifiesSeparatorsAndCase) {
  EXPECT_EQ(ComparablePath("c:\\a\\.\\b\\..\\c\\"), std::u32string(U"C:/A/C"));
  EXPECT_EQ(ComparablePath("/x//y/"), std::u32string(U"/X/Y"));
  EXPECT_EQ(ComparablePath("\\\\x\\y\\z"), std::u32string(U"//X/Y/Z"));  // a share differs from /x/y
  EXPECT_EQ(ComparablePath("../a"), std::u32string(U"../A"));
}

}  // namespace
}  // namespace qm::testing
