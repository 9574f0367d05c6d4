#include "discovery/protected_folders.h"

#include <gtest/gtest.h>

#include "support/placeholder_folders.h"

namespace qm {
namespace {

TEST(ProtectedFolders, RootsAndTheFourSpecialFoldersInAnySpellingButNothingBelowOrBesideThem) {
  const SpecialFolders f = test::WindowsTestFolders();
  // Roots and paths that come to no folder at all, then the special folders however they are written.
  for (const char* path : {"C:\\", "C:", "c:/", "/", "//", "\\", "\\\\server\\share", "\\\\server\\share\\",
                           "\\\\?\\C:\\", "\\\\?\\UNC\\server\\share", "", ".", "a\\..", "C:\\Windows\\..",
                           "/tmp/../", "C:\\Users\\ann", "c:\\users\\ANN\\", "C:/Users/ann/.",
                           "C:\\Users\\bob\\..\\ann", "C:\\WINDOWS", "C:\\Windows\\System32\\",
                           "C:\\Program Files", "\\\\?\\C:\\Program Files"}) {
    EXPECT_TRUE(IsProtectedFolder(path, f)) << path;
  }
  for (const char* path :
       {"C:\\Users\\ann\\Cookies", "C:\\Windows\\Temp", "C:\\Users\\ann\\AppData\\Local\\Temp", "C:\\Users",
        "C:\\Program Files (x86)", "\\\\server\\share\\cache", "/tmp/x", "cache"}) {
    EXPECT_FALSE(IsProtectedFolder(path, f)) << path;
  }
  // An empty special folder (Linux has no Windows folder) protects nothing beyond the roots.
  SpecialFolders linux;
  linux.UserProfileDir = "/home/ann";
  EXPECT_TRUE(IsProtectedFolder("/home/ann/", linux));
  EXPECT_FALSE(IsProtectedFolder("/home/ann/.cache", linux));
}

TEST(ProtectedFolders, ComparablePathUnifiesSeparatorsAndCase) {
  EXPECT_EQ(ComparablePath("c:\\a\\.\\b\\..\\c\\"), std::u32string(U"C:/A/C"));
  EXPECT_EQ(ComparablePath("/x//y/"), std::u32string(U"/X/Y"));
  EXPECT_EQ(ComparablePath("\\\\x\\y\\z"), std::u32string(U"//X/Y/Z"));  // a share differs from /x/y
  EXPECT_EQ(ComparablePath("../a"), std::u32string(U"../A"));
}

}  // namespace
}  // namespace qm
