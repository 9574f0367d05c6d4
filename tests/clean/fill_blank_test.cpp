#include "clean/fill_blank.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "clean/scratch_folder.h"

namespace qm {

using testing::PatternBytes;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(FillBlankTest, OverwritesEveryByteAndKeepsLengthAndName) {
  ScratchFolder folder("fill");
  // Two full blocks and a short remainder; exactly two blocks; less than one block.
  for (std::size_t size : {std::size_t{25000}, std::size_t{20000}, std::size_t{7}}) {
    std::string path = folder / ("index" + std::to_string(size) + ".dat");
    WriteBytes(path, PatternBytes(size));
    EXPECT_FALSE(FillBlank(path, 3)) << size;
    EXPECT_EQ(ReadBytes(path), std::string(size, '\0')) << size;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);
}

TEST(FillBlankTest, NoPassesAndEmptyFilesSucceedWithoutWriting) {
  ScratchFolder folder("fill-none");
  std::string full = folder / "full.dat";
  WriteBytes(full, PatternBytes(500));
  EXPECT_FALSE(FillBlank(full, 0));
  EXPECT_EQ(ReadBytes(full), PatternBytes(500));

  std::string empty = folder / "empty.dat";
  WriteBytes(empty, "");
  EXPECT_FALSE(FillBlank(empty, 2));
  EXPECT_EQ(std::filesystem::file_size(empty), 0u);
}

TEST(FillBlankTest, ReportsFailureForAFileItCannotOpen) {
  ScratchFolder folder("fill-fail");
  EXPECT_TRUE(FillBlank(folder / "missing.dat", 1));
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.dat"));
  EXPECT_TRUE(FillBlank(folder.Path(), 1));
}

}  // namespace qm
