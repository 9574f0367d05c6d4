#include "clean/file_trace_erase.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "clean/scratch_folder.h"
#include "platform/file_lock.h"

namespace qm {

using testing::PatternBytes;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

namespace {

PrivacyValue FileTrace(const std::string& path, const std::string& name) {
  PrivacyValue pv;
  pv.ValueType = kinds::kFile;
  pv.Path = path;
  pv.ValueName = name;
  pv.ValueStatus = status::kFound;
  return pv;
}

}  // namespace

TEST(FileTraceEraseTest, StatusSaysWhatHappenedToTheFile) {
  ScratchFolder folder("trace-erase");

  std::string free = folder / "free.tmp";
  WriteBytes(free, PatternBytes(100));
  PrivacyValue freeTrace = FileTrace(free, "free.tmp");
  EXPECT_EQ(EraseFileTrace(freeTrace, FillRule::kIndexDatOnly, 1), status::kErased);
  EXPECT_EQ(freeTrace.ValueStatus, status::kErased);
  EXPECT_FALSE(std::filesystem::exists(free));

  // A file in use named index.dat, in any letter case, is overwritten three times and stays.
  std::string index = folder / "INDEX.DAT";
  WriteBytes(index, PatternBytes(25000));
  PrivacyValue indexTrace = FileTrace(index, "INDEX.DAT");
  {
    FileLock lock(index);
    EXPECT_EQ(EraseFileTrace(indexTrace, FillRule::kIndexDatOnly, 3), status::kFilledBlank);
  }
  EXPECT_EQ(indexTrace.ValueStatus, status::kFilledBlank);
  EXPECT_EQ(ReadBytes(index), std::string(25000, '\0'));

  // The same file in use under another name is left as it is, and its trace says so.
  std::string other = folder / "history.dat";
  WriteBytes(other, PatternBytes(25000));
  PrivacyValue otherTrace = FileTrace(other, "history.dat");
  {
    FileLock lock(other);
    EXPECT_EQ(EraseFileTrace(otherTrace, FillRule::kIndexDatOnly, 3), status::kFailed);
  }
  EXPECT_EQ(otherTrace.ValueStatus, status::kFailed);
  EXPECT_EQ(ReadBytes(other), PatternBytes(25000));

  // The special-case parsers may overwrite any file.
  PrivacyValue parserTrace = FileTrace(other, "history.dat");
  {
    FileLock lock(other);
    EXPECT_EQ(EraseFileTrace(parserTrace, FillRule::kAlways, 1), status::kFilledBlank);
  }
  EXPECT_EQ(ReadBytes(other), std::string(25000, '\0'));
}

}  // namespace qm
