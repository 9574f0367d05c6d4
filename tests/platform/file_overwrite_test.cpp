#include "platform/file_overwrite.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "clean/scratch_folder.h"
#include "platform/error.h"

namespace qm {

using testing::PatternBytes;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(FileOverwriteTest, WritesInPlaceWithoutTruncating) {
  ScratchFolder folder("overwrite");
  std::string path = folder / "data.bin";
  WriteBytes(path, PatternBytes(30));

  FileOverwrite file(path);
  EXPECT_EQ(file.Size(), 30u);
  // Opening alone must not cut the file: it still holds its old bytes.
  EXPECT_EQ(ReadBytes(path), PatternBytes(30));
  file.Write("0123456789", 10);
  file.Write("ab", 2);
  file.Flush();
  file.Close();

  EXPECT_EQ(ReadBytes(path), "0123456789ab" + PatternBytes(30).substr(12));
}

TEST(FileOverwriteTest, RefusesWhatItMustNotCreateOrFollow) {
  ScratchFolder folder("overwrite-refuse");
  try {
    FileOverwrite missing(folder / "missing.bin");
    ADD_FAILURE() << "a missing file was opened";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kFileNotFound);
    EXPECT_EQ(error.Source(), "FileOverwrite");
    EXPECT_EQ(error.LastPlatformError(), 2);  // ENOENT on Linux, ERROR_FILE_NOT_FOUND on Windows
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.bin"));

  EXPECT_THROW(FileOverwrite(folder.Path()), RuntimeError);

  // A link is erased by removing it: overwriting would destroy the file it points to.
  std::string target = folder / "target.bin";
  WriteBytes(target, PatternBytes(20));
  std::error_code linkError;
  std::filesystem::create_symlink(target, folder / "link.bin", linkError);
  if (!linkError) {
    try {
      FileOverwrite link(folder / "link.bin");
      ADD_FAILURE() << "a link was opened";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), errors::kPermissionDenied);
    }
    EXPECT_EQ(ReadBytes(target), PatternBytes(20));
  }
}

}  // namespace qm
