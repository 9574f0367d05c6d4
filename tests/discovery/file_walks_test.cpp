#include "discovery/file_walks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "clean/scratch_folder.h"
#include "discovery/walk_harness.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"

namespace qm {
namespace {

using testing::Finals;
using testing::ScratchFolder;
using testing::WalkHarness;
using testing::WriteBytes;
namespace fs = std::filesystem;

std::string Join(const std::string& folder, const std::string& name) { return FileSystem::Join(folder, name); }

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(FileWalks, FileItemMatchesThePatternInTheFolderOnly) {
  ScratchFolder dir("fw-pattern");
  WriteBytes(dir / "a.tmp", "12345");
  WriteBytes(dir / "B.Tmp", "1");
  WriteBytes(dir / "a.tmpx", "1");
  fs::create_directory(dir / "sub");
  WriteBytes(Join(dir / "sub", "c.tmp"), "1");

  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kFile, {dir.Path(), "*.TMP"});
  auto shown = h.Run(*item, false);
  EXPECT_EQ(shown.finishCount, 2);
  EXPECT_EQ(Sorted(Finals(shown)), Sorted({"4 1 " + (dir / "a.tmp"), "4 1 " + (dir / "B.Tmp")}));
  for (const auto& pv : *shown.values) EXPECT_EQ(pv->Size, pv->ValueName == "a.tmp" ? 5 : 1);
  EXPECT_TRUE(fs::exists(dir / "a.tmp"));

  auto cleared = h.Run(*item, true);
  EXPECT_EQ(Sorted(Finals(cleared)), Sorted({"4 2 " + (dir / "a.tmp"), "4 2 " + (dir / "B.Tmp")}));
  // Files are recorded as found and logged so; the erase sets the final status afterwards.
  EXPECT_EQ(Sorted(h.log.lines), Sorted({"Find " + (dir / "a.tmp"), "Find " + (dir / "B.Tmp"),
                                         "Find " + (dir / "a.tmp"), "Find " + (dir / "B.Tmp")}));
  EXPECT_FALSE(fs::exists(dir / "a.tmp"));
  EXPECT_FALSE(fs::exists(dir / "B.Tmp"));
  EXPECT_TRUE(fs::exists(dir / "a.tmpx"));
  EXPECT_TRUE(fs::exists(Join(dir / "sub", "c.tmp")));
  EXPECT_EQ(h.Run(*item, true).finishCount, 0);  // a second clear finds nothing
}

TEST(FileWalks, FileItemWithoutPatternOrOnOneFile) {
  ScratchFolder dir("fw-nopattern");
  WriteBytes(dir / "x.dat", "1");
  WriteBytes(dir / "y", "22");
  fs::create_directory(dir / "sub");
  WriteBytes(Join(dir / "sub", "z"), "1");

  WalkHarness h;
  auto all = WalkHarness::Item(item_types::kFile, {dir.Path()});
  EXPECT_EQ(Sorted(Finals(h.Run(*all, false))), Sorted({"4 1 " + (dir / "x.dat"), "4 1 " + (dir / "y")}));

  auto one = WalkHarness::Item(item_types::kFile, {dir / "y", "nomatch"});  // no pattern test for one file
  EXPECT_EQ(Finals(h.Run(*one, true)), std::vector<std::string>{"4 2 " + (dir / "y")});
  EXPECT_FALSE(fs::exists(dir / "y"));

  auto missing = WalkHarness::Item(item_types::kFile, {dir / "nothing-here"});
  const auto none = h.Run(*missing, true);
  EXPECT_EQ(none.finishCount, 0);
  ASSERT_TRUE(none.values);

  // A pattern that cannot be read matches nothing rather than everything.
  auto broken = WalkHarness::Item(item_types::kFile, {dir.Path(), "[x"});
  EXPECT_EQ(h.Run(*broken, true).finishCount, 0);
  EXPECT_TRUE(fs::exists(dir / "x.dat"));
}

TEST(FileWalks, FolderItemReportsDepthFirstAndErasesFilesBeforeFolders) {
  ScratchFolder dir("fw-folder");
  const std::string sub = dir / "sub";
  const std::string inner = Join(sub, "inner");
  fs::create_directories(inner);
  WriteBytes(dir / "t.txt", "top");
  WriteBytes(Join(sub, "s.txt"), "s");
  WriteBytes(Join(inner, "deep.txt"), "deep");

  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kFolder, {dir.Path()});
  const auto shown = h.Run(*item, false);
  const std::vector<std::string> order = {"5 1 " + sub, "4 1 " + (dir / "t.txt"), "5 1 " + inner,
                                          "4 1 " + Join(sub, "s.txt"), "4 1 " + Join(inner, "deep.txt")};
  EXPECT_EQ(shown.reported, order);
  EXPECT_EQ(Finals(shown), order);
  EXPECT_EQ(shown.finishCount, 5);

  h.log.lines.clear();
  const auto cleared = h.Run(*item, true);
  EXPECT_EQ(cleared.reported, (std::vector<std::string>{"5 2 " + sub, "4 2 " + (dir / "t.txt"), "5 2 " + inner,
                                                         "4 2 " + Join(sub, "s.txt"),
                                                         "4 2 " + Join(inner, "deep.txt")}));
  EXPECT_EQ(h.log.lines, (std::vector<std::string>{"Delete " + sub, "Find " + (dir / "t.txt"), "Delete " + inner,
                                                   "Find " + Join(sub, "s.txt"), "Find " + Join(inner, "deep.txt")}));
  EXPECT_TRUE(fs::is_directory(dir.Path()));  // the item's own folder stays
  EXPECT_TRUE(fs::is_empty(dir.Path()));
  EXPECT_EQ(h.Run(*item, true).finishCount, 0);
}

TEST(FileWalks, HeldFileKeepsItsFolderWhichThenSaysItWasNotErased) {
  ScratchFolder dir("fw-hold");
  const std::string keep = dir / "keep";
  fs::create_directories(keep);
  fs::create_directories(dir / "empty");
  WriteBytes(Join(keep, "held.txt"), "mine");
  WriteBytes(Join(keep, "other.txt"), "x");
  std::string heldUpper = Join(keep, "HELD.TXT");

  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kFolder, {dir.Path()}, {heldUpper});
  const auto cleared = h.Run(*item, true);
  const auto finals = Finals(cleared);
  EXPECT_NE(std::find(finals.begin(), finals.end(), "4 4 " + Join(keep, "held.txt")), finals.end());
  EXPECT_NE(std::find(finals.begin(), finals.end(), "4 2 " + Join(keep, "other.txt")), finals.end());
  EXPECT_NE(std::find(finals.begin(), finals.end(), "5 2 " + (dir / "empty")), finals.end());
  EXPECT_NE(std::find(finals.begin(), finals.end(), "5 -1 " + keep), finals.end());
  EXPECT_EQ(testing::ReadBytes(Join(keep, "held.txt")), "mine");
  EXPECT_FALSE(fs::exists(Join(keep, "other.txt")));
  EXPECT_FALSE(fs::exists(dir / "empty"));
  // The folder was logged as deleted when found, then once more as not erased.
  EXPECT_NE(std::find(h.log.lines.begin(), h.log.lines.end(), "Delete " + keep), h.log.lines.end());
  EXPECT_EQ(h.log.lines.back(), "Unknown " + keep);
  EXPECT_NE(std::find(h.log.lines.begin(), h.log.lines.end(), "Keep locked " + Join(keep, "held.txt")),
            h.log.lines.end());

  // Without the hold flag the same file goes.
  auto unheld = WalkHarness::Item(item_types::kFolder, {dir.Path()});
  h.Run(*unheld, true);
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(FileWalks, FailedFileEraseIsReportedAndLogged) {
  ScratchFolder dir("fw-locked");
  const std::string box = dir / "box";
  fs::create_directories(box);
  WriteBytes(Join(box, "busy.txt"), "in use");
  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kFolder, {dir.Path()});
  {
    FileLock lock(Join(box, "busy.txt"));
    const auto cleared = h.Run(*item, true);
    EXPECT_EQ(Finals(cleared), (std::vector<std::string>{"5 -1 " + box, "4 -1 " + Join(box, "busy.txt")}));
  }
  EXPECT_EQ(testing::ReadBytes(Join(box, "busy.txt")), "in use");
  EXPECT_EQ(h.log.lines, (std::vector<std::string>{"Delete " + box, "Find " + Join(box, "busy.txt"),
                                                   "Unknown " + Join(box, "busy.txt"), "Unknown " + box}));
}

TEST(FileWalks, StopEndsTheWalkAtTheNextTraceAndKeepsWhatWasFound) {
  ScratchFolder dir("fw-stop");
  for (const char* name : {"a", "b", "c"}) {
    fs::create_directories(dir / name);
    WriteBytes(Join(dir / name, "f.txt"), name);
  }
  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kFolder, {dir.Path()});
  const auto stopped = h.Run(*item, true, 2);
  EXPECT_EQ(stopped.finishCount, 2);
  EXPECT_EQ(item->ValueCount(), 2);
  int left = 0;
  for (const char* name : {"a", "b", "c"}) left += fs::exists(Join(dir / name, "f.txt")) ? 1 : 0;
  EXPECT_EQ(left, 3);  // only folders were reached, and none was emptied
  // The two folders recorded as deleted are still there, and say so.
  for (const auto& pv : *stopped.values) EXPECT_EQ(pv->ValueStatus, status::kFailed) << pv->Path;
}

TEST(FileWalks, FolderItemOnARootOrAProtectedFolderFindsNothing) {
  ScratchFolder dir("fw-protected");
  WriteBytes(dir / "precious.txt", "1");
  WalkHarness h;
  h.protectedFolders.UserProfileDir = dir.Path();
  auto profile = WalkHarness::Item(item_types::kFolder, {dir.Path()});
  EXPECT_EQ(h.Run(*profile, true).finishCount, 0);
  EXPECT_TRUE(fs::exists(dir / "precious.txt"));

  const std::string root = fs::path(dir.Path()).root_path().string();
  auto rootItem = WalkHarness::Item(item_types::kFolder, {root});
  EXPECT_EQ(h.Run(*rootItem, false).finishCount, 0);
  auto empty = WalkHarness::Item(item_types::kFolder, {""});
  EXPECT_EQ(h.Run(*empty, false).finishCount, 0);
}

TEST(FileWalks, FilesOverTwoGibibytesKeepTheirSize) {
  ScratchFolder dir("fw-big");
  WriteBytes(dir / "big.iso", "");
  fs::resize_file(dir / "big.iso", 3ull << 30);  // sparse: no 3 GiB are written
  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kFile, {dir.Path()});
  const auto shown = h.Run(*item, false);
  ASSERT_EQ(shown.finishCount, 1);
  EXPECT_EQ(shown.values->Item(1)->Size, int64_t{3} << 30);
  h.Run(*item, true);
  EXPECT_FALSE(fs::exists(dir / "big.iso"));
}

}  // namespace
}  // namespace qm
