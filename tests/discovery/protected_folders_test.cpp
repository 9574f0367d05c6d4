#include "discovery/protected_folders.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

SpecialFolders Folders() {
  SpecialFolders f;
  f.UserProfileDir = "C:\\Users\\ann";
  f.AppDataDir = "C:\\Users\\ann\\AppData\\Roaming";
  f.WindowsDir = "C:\\Windows";
  f.SystemDir = "C:\\Windows\\system32";
  f.TemporaryDir = "C:\\Users\\ann\\AppData\\Local\\Temp";
  f.ProgramFilesDir = "C:\\Program Files";
  return f;
}

TEST(ProtectedFolders, RootsAndEmptyRelativePathsFindNothing) {
  const SpecialFolders f = Folders();
  for (const char* root : {"C:\\", "C:", "c:/", "/", "//", "\\", "\\\\server\\share", "\\\\server\\share\\",
                           "\\\\?\\C:\\", "\\\\?\\UNC\\server\\share", "", ".", "a\\..", "C:\\Windows\\..",
                           "/tmp/../"}) {
    EXPECT_TRUE(IsProtectedFolder(root, f)) << root;
  }
}

TEST(ProtectedFolders, TheFourSpecialFoldersInAnySpelling) {
  const SpecialFolders f = Folders();
  for (const char* path : {"C:\\Users\\ann", "c:\\users\\ANN\\", "C:/Users/ann/.", "C:\\Users\\bob\\..\\ann",
                           "C:\\WINDOWS", "C:\\Windows\\System32\\", "C:\\Program Files",
                           "\\\\?\\C:\\Program Files"}) {
    EXPECT_TRUE(IsProtectedFolder(path, f)) << path;
  }
}

TEST(ProtectedFolders, FoldersBelowOrBesideThemAreWalked) {
  const SpecialFolders f = Folders();
  for (const char* path : {"C:\\Users\\ann\\Cookies", "C:\\Windows\\Temp", "C:\\Users\\ann\\AppData\\Local\\Temp",
                           "C:\\Users", "C:\\Program Files (x86)", "\\\\server\\share\\cache", "/tmp/x",
                           "cache"}) {
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
