#include "platform/shell.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"

namespace qm {

TEST(ShellTest, FoldersOfTheUserAndOfTheRunningProgram) {
  const std::string profile = shell::SpecialFolderPath(shell::kCsidlProfile);
  ASSERT_FALSE(profile.empty());
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(profile))) << profile;
  EXPECT_NE(profile.back(), FileSystem::Separator());
  const std::string appData = shell::SpecialFolderPath(shell::kCsidlLocalAppData);
  ASSERT_FALSE(appData.empty());
  EXPECT_NE(appData.back(), FileSystem::Separator());
  // Linux has no program-files folder; where there is one, it is a real folder.
  const std::string programFiles = shell::SpecialFolderPath(shell::kCsidlProgramFiles);
  if (!programFiles.empty()) {
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(programFiles))) << programFiles;
  }
  EXPECT_EQ(shell::SpecialFolderPath(-1), "");

  const std::string folder = shell::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), FileSystem::Separator());
  FileSystem fs;
  EXPECT_TRUE(fs.FileExists(FileSystem::Join(folder, "quillmere_tests")) ||
              fs.FileExists(FileSystem::Join(folder, "quillmere_tests.exe")))
      << folder;
}

}  // namespace qm
