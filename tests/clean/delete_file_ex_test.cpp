#include "clean/delete_file_ex.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "clean/scratch_folder.h"
#include "platform/file_lock.h"

namespace qm {

using testing::PatternBytes;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(DeleteFileExTest, DeletesPlainAndReadOnlyFiles) {
  ScratchFolder folder("delete");
  std::string plain = folder / "plain.txt";
  WriteBytes(plain, PatternBytes(100));
  EXPECT_EQ(DeleteFileEx(plain, false, 1), kFileDeleted);
  EXPECT_FALSE(std::filesystem::exists(plain));

  std::string readOnly = folder / "readonly.txt";
  WriteBytes(readOnly, PatternBytes(100));
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  EXPECT_EQ(DeleteFileEx(readOnly, true, 1), kFileDeleted);
  EXPECT_FALSE(std::filesystem::exists(readOnly));

  // A file that is already gone is as erased as it gets.
  EXPECT_EQ(DeleteFileEx(folder / "vanished.txt", false, 1), kFileDeleted);
}

TEST(DeleteFileExTest, LockedFileIsOverwrittenWhenAllowed) {
  ScratchFolder folder("delete-locked");
  std::string path = folder / "index.dat";
  WriteBytes(path, PatternBytes(25000));
  {
    FileLock lock(path);
    EXPECT_EQ(DeleteFileEx(path, true, 3), kFileFilledBlank);
  }
  EXPECT_EQ(ReadBytes(path), std::string(25000, '\0'));

  std::string empty = folder / "empty.dat";
  WriteBytes(empty, "");
  {
    FileLock lock(empty);
    EXPECT_EQ(DeleteFileEx(empty, true, 3), kFileFilledBlank);
  }
  EXPECT_TRUE(std::filesystem::exists(empty));
  EXPECT_EQ(std::filesystem::file_size(empty), 0u);
}

TEST(DeleteFileExTest, LockedFileThatStaysIsNeverReportedDeleted) {
  ScratchFolder folder("delete-kept");
  std::string path = folder / "history.dat";
  WriteBytes(path, PatternBytes(25000));
  {
    FileLock lock(path);
    EXPECT_EQ(DeleteFileEx(path, false, 3), kFileNotErased);
  }
  EXPECT_EQ(ReadBytes(path), PatternBytes(25000));

  // Locked and read-only: where the overwrite cannot open the file it is not erased and keeps its contents;
  // where the forced delete already cleared the read-only mark (Windows) it is overwritten. Either way the
  // answer must say what is on the disk.
  std::string readOnly = folder / "readonly.dat";
  WriteBytes(readOnly, PatternBytes(300));
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  int result = 0;
  {
    FileLock lock(readOnly);
    result = DeleteFileEx(readOnly, true, 2);
  }
  ASSERT_NE(result, kFileDeleted);
  EXPECT_EQ(ReadBytes(readOnly), result == kFileFilledBlank ? std::string(300, '\0') : PatternBytes(300));
}

}  // namespace qm
