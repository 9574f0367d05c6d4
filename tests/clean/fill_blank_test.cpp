#include "clean/fill_blank.h"

#include <gtest/gtest.h>

#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

TEST(FillBlankTest, OverwritesEveryByteAndKeepsLengthAndName) {
  ScratchFolder scratch("fill");
  const FolderHandle folder = FolderHandle::Open(scratch.Path());
  // Two full blocks and a short remainder; exactly two blocks; less than one block; nothing.
  for (std::size_t size : {std::size_t{25000}, std::size_t{20000}, std::size_t{7}, std::size_t{0}}) {
    const std::string name = "index" + std::to_string(size) + ".dat";
    WriteBytes(scratch / name, PatternBytes(size));
    EXPECT_FALSE(FillBlank(folder, *folder.Find(name), 3)) << size;
    EXPECT_EQ(ReadBytes(scratch / name), std::string(size, '\0')) << size;
  }
  EXPECT_EQ(folder.Read().size(), 4u);

  // No passes write nothing; what is no file or is gone cannot be filled.
  WriteBytes(scratch / "full.dat", PatternBytes(500));
  EXPECT_FALSE(FillBlank(folder, *folder.Find("full.dat"), 0));
  EXPECT_EQ(ReadBytes(scratch / "full.dat"), PatternBytes(500));
  EXPECT_TRUE(FillBlank(folder, FolderEntry{"missing.dat"}, 1));
  EXPECT_FALSE(folder.Find("missing.dat"));
  scratch.Folder("sub");
  EXPECT_TRUE(FillBlank(folder, *folder.Find("sub"), 1));
}

}  // namespace
}  // namespace qm::testing
