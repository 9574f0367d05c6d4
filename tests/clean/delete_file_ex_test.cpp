#include "clean/delete_file_ex.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/file_lock.h"
#include "support/scratch_folder.h"

namespace qm::testing {
namespace {
namespace fs = std::filesystem;

TEST(DeleteFileExTest, ResultSaysWhatIsLeftOnTheDisk) {
  ScratchFolder scratch("delete");
  WriteBytes(scratch / "plain.txt", PatternBytes(100));
  WriteBytes(scratch / "read-only.txt", PatternBytes(100));
  fs::permissions(scratch / "read-only.txt", fs::perms::owner_read);
  WriteBytes(scratch / "vanished.txt", "");
  const FolderHandle folder = FolderHandle::Open(scratch.Path());
  const FolderEntry vanished = *folder.Find("vanished.txt");
  fs::remove(scratch / "vanished.txt");

  EXPECT_EQ(DeleteFileEx(folder, *folder.Find("plain.txt"), false, 1), kFileDeleted);
  EXPECT_EQ(DeleteFileEx(folder, *folder.Find("read-only.txt"), true, 1), kFileDeleted);
  EXPECT_EQ(DeleteFileEx(folder, vanished, true, 1), kFileDeleted);
  EXPECT_TRUE(folder.Read().empty());

  // In use (the walk case locked_files shows that alone) and read-only: where the overwrite cannot open the
  // file it is not erased and keeps its contents; where the forced delete already cleared the read-only mark
  // (Windows) it is overwritten.
  WriteBytes(scratch / "locked.dat", PatternBytes(300));
  fs::permissions(scratch / "locked.dat", fs::perms::owner_read);
  int result = 0;
  {
    FileLock lock(scratch / "locked.dat");
    result = DeleteFileEx(folder, *folder.Find("locked.dat"), true, 2);
  }
  ASSERT_NE(result, kFileDeleted);
  EXPECT_EQ(ReadBytes(scratch / "locked.dat"), result == kFileFilledBlank ? std::string(300, '\0') : PatternBytes(300));
}

TEST(DeleteFileExTest, SparseFileInUseIsFilledWithoutFillingItsHoles) {
  ScratchFolder scratch("delete-sparse");
  const std::string path = scratch / "index.dat";
  constexpr uint64_t kSize = uint64_t{64} << 20;
  WriteBytes(path, "");
  fs::resize_file(path, kSize);
  {
    std::fstream islands(fs::path(path), std::ios::in | std::ios::out | std::ios::binary);
    islands.seekp(1 << 20);
    islands.write("island one", 10);
    islands.seekp(40000000);
    islands.write("island two", 10);
  }
  const FolderHandle folder = FolderHandle::Open(scratch.Path());
  const FolderEntry entry = *folder.Find("index.dat");
  const std::vector<ByteRange> ranges = folder.Overwrite(entry).DataRanges();
  if (ranges == std::vector<ByteRange>{{0, kSize}}) {
    GTEST_SKIP() << "this system shows no holes in a file that has them (Wine shows none)";
  }
  EXPECT_EQ(ranges.size(), 2u);
  {
    FileLock lock(path);
    EXPECT_EQ(DeleteFileEx(folder, entry, true, 2), kFileFilledBlank);
  }
  EXPECT_EQ(fs::file_size(path), kSize);
  EXPECT_EQ(ReadBytes(path).find_first_not_of('\0'), std::string::npos);
  EXPECT_EQ(folder.Overwrite(entry).DataRanges(), ranges) << "the holes are still holes";
}

}  // namespace
}  // namespace qm::testing
