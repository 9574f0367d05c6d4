#include "discovery/protected_folders.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace qm::testing {
namespace {

TEST(ProtectedFolders, RootsRelativePathsTheFoldersAndTheirAncestorsButNothingBelowOrBeside) {
  // An empty entry (a folder this system lacks) protects nothing.
  const std::vector<std::string> folders = {"C:\\Users\\ann", "C:\\Windows\\system32", "C:\\Program Files",
                                            "/home/ann", ""};
  const auto expect = [&](bool protectedFolder, std::initializer_list<const char*> paths) {
    for (const char* path : paths) EXPECT_EQ(IsProtectedFolder(path, folders), protectedFolder) << path;
  };
  // Roots of drives, shares and the Linux tree, also reached by climbing.
  expect(true, {"/", "C:\\", "C:", "c:/", "\\", "//", "\\\\server\\share", "\\\\server\\share\\",
                "\\\\?\\C:\\", "\\\\?\\UNC\\server\\share", "C:\\Windows\\..", "/tmp/../"});
  // Paths that are not absolute.
  expect(true, {"", ".", "cache", "a\\..", "..\\x", "Users\\ann"});
  // The folders themselves however they are written, and their ancestors: emptying one empties them.
  expect(true, {"C:\\Users\\ann", "c:\\users\\ANN\\", "C:/Users/ann/.", "C:\\Users\\bob\\..\\ann",
                "C:\\WINDOWS\\System32\\", "c:/program files", "\\\\?\\C:\\Program Files", "/home//ann/"});
  expect(true, {"C:\\Users", "c:/users/", "C:\\Windows", "\\\\?\\C:\\WINDOWS", "/home"});
  // Below them and beside them.
  expect(false, {"C:\\Users\\ann\\Cookies", "C:\\Users\\ann\\AppData\\Local\\Temp", "C:\\Windows\\Temp",
                 "/home/ann/.cache", "\\\\server\\share\\cache", "C:\\Users\\anne", "C:\\Users\\an",
                 "C:\\Program Files (x86)", "C:\\Windows\\system", "D:\\Users", "/home/anne", "/tmp/x"});
}

TEST(ProtectedFolders, ComparablePathUnifiesSeparatorsAndCase) {
  EXPECT_EQ(ComparablePath("c:\\a\\.\\b\\..\\c\\"), std::u32string(U"C:/A/C"));
  EXPECT_EQ(ComparablePath("/x//y/"), std::u32string(U"/X/Y"));
  EXPECT_EQ(ComparablePath("\\\\x\\y\\z"), std::u32string(U"//X/Y/Z"));  // a share differs from /x/y
  EXPECT_EQ(ComparablePath("../a"), std::u32string(U"../A"));
}

}  // namespace
}  // namespace qm::testing
