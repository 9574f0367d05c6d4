#include "discovery/parsers/recycle_bin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "discovery/link_maker.h"
#include "discovery/parsers/parser_harness.h"
#include "platform/file_lock.h"
#include "support/trace_text.h"

namespace qm {

namespace {

using testing::Exists;
using testing::ParserHarness;
using testing::ScratchFolder;

const std::string kUser = "S-1-5-21-0-0-0-1000";

std::string FileTrace(const std::string& path, int32_t status) {
  return "4 " + std::to_string(status) + " " + path;
}
std::string Dir(const std::string& path, int32_t status) {
  return "5 " + std::to_string(status) + " " + path;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

/// The position of the trace of `path` in a list of "kind status path" lines; -1 when absent.
long PositionOf(const std::vector<std::string>& lines, const std::string& path) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() > path.size() &&
        lines[i].compare(lines[i].size() - path.size(), path.size(), path) == 0 &&
        lines[i][lines[i].size() - path.size() - 1] == ' ') {
      return static_cast<long>(i);
    }
  }
  return -1;
}

}  // namespace

TEST(RecycleBinFoldersTest, FixedDrivesInOrderPerUserBinsOnNtfsOnlyAndTheTrashLast) {
  RecycleBinPlaces places;
  places.Drives = {
      {"C:", 2, "NTFS"}, {"A:", 1, "FAT"}, {"D:", 2, "FAT32"}, {"E:", 3, "NTFS"}, {"F:", 4, "CDFS"}};
  places.TrashFolder = "T";
  const char s = FileSystem::Separator();
  auto join = [s](std::vector<std::string> parts) {
    std::string path = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) path += s + parts[i];
    return path;
  };
  std::vector<std::string> paths;
  std::vector<bool> removed;
  for (const RecycleBinFolder& bin : RecycleBinFolders(places, "S-1-5-21-7")) {
    paths.push_back(bin.Path);
    removed.push_back(bin.RemoveWhenEmptied);
  }
  EXPECT_EQ(paths,
            (std::vector<std::string>{join({"C:", "Recycler", "S-1-5-21-7"}),
                                      join({"C:", "$Recycle.Bin", "S-1-5-21-7"}), join({"C:", "Recycled"}),
                                      join({"D:", "Recycled"}), join({"T", "files"}), join({"T", "info"})}));
  EXPECT_EQ(removed, (std::vector<bool>{true, true, true, true, false, false}));

  // Without a user text the per-user paths would be every user's bins.
  paths.clear();
  for (const RecycleBinFolder& bin : RecycleBinFolders(places, "")) paths.push_back(bin.Path);
  EXPECT_EQ(paths, (std::vector<std::string>{join({"C:", "Recycled"}), join({"D:", "Recycled"}),
                                             join({"T", "files"}), join({"T", "info"})}));

  // This system's own places: Windows bins on the drives, or the freedesktop trash, never both.
  const RecycleBinPlaces system = RecycleBinPlaces::System();
  if (FileSystem::Separator() == '\\') {
    EXPECT_FALSE(system.Drives.empty());
    EXPECT_EQ(system.TrashFolder, "");
  } else {
    EXPECT_TRUE(system.Drives.empty());
    EXPECT_EQ(std::filesystem::path(system.TrashFolder).filename(), "Trash");
  }
}

TEST(ParseRecycleBinTest, NtfsDriveWalkedAtEveryLocationFatOnlyAtRecycledOtherDrivesNever) {
  ScratchFolder scratch("parse");
  const std::string ntfsBin = scratch.Write("n/Recycler/" + kUser + "/Dc1.txt", "one");
  const std::string vistaBin = scratch.Write("n/$Recycle.Bin/" + kUser + "/$R2.txt", "two!");
  const std::string ntfsRecycled = scratch.Write("n/Recycled/Dc3.txt", "three");
  const std::string otherUser = scratch.Write("n/Recycler/S-1-5-21-9/Dc9.txt", "theirs");
  const std::string otherVista = scratch.Write("n/$Recycle.Bin/S-1-5-21-9/$R9.txt", "theirs");
  const std::string fatUserBin = scratch.Write("f/Recycler/" + kUser + "/Dc4.txt", "fat");
  const std::string fatRecycled = scratch.Write("f/Recycled/Dc5.txt", "fat5");
  const std::string removable = scratch.Write("r/Recycled/Dc6.txt", "usb");
  RecycleBinPlaces places;
  places.Drives = {
      {scratch.Path("r"), 1, "NTFS"}, {scratch.Path("n"), 2, "NTFS"}, {scratch.Path("f"), 2, "FAT32"}};
  ParserHarness harness(places, kUser);

  std::shared_ptr<PrivacyValues> shown = harness.Call("ParseRecycleBin", false);
  ASSERT_TRUE(shown);
  const std::vector<std::string> found = {FileTrace(ntfsBin, 1), FileTrace(vistaBin, 1),
                                          FileTrace(ntfsRecycled, 1), FileTrace(fatRecycled, 1)};
  EXPECT_EQ(test::TraceTexts(shown), found);
  EXPECT_EQ(harness.reported, found);
  EXPECT_TRUE(harness.sameItem);
  EXPECT_EQ(shown->Item(2)->Size, 4);
  EXPECT_EQ(shown->Item(2)->ValueName, "$R2.txt");
  EXPECT_TRUE(Exists(ntfsBin) && Exists(vistaBin) && Exists(ntfsRecycled) && Exists(fatRecycled));

  std::shared_ptr<PrivacyValues> cleared = harness.Call("ParseRecycleBin", true);
  const std::vector<std::string> erased = {FileTrace(ntfsBin, 2), FileTrace(vistaBin, 2),
                                           FileTrace(ntfsRecycled, 2), FileTrace(fatRecycled, 2)};
  EXPECT_EQ(test::TraceTexts(cleared), erased);
  EXPECT_EQ(harness.reported, erased);
  // The emptied bins go; the other user's bins, the FAT drive's per-user folder and the removable drive stay.
  EXPECT_FALSE(Exists(scratch.Path("n/Recycler/" + kUser)));
  EXPECT_FALSE(Exists(scratch.Path("n/$Recycle.Bin/" + kUser)));
  EXPECT_FALSE(Exists(scratch.Path("n/Recycled")));
  EXPECT_FALSE(Exists(scratch.Path("f/Recycled")));
  EXPECT_TRUE(Exists(otherUser) && Exists(otherVista) && Exists(fatUserBin) && Exists(removable));

  EXPECT_EQ(harness.Call("ParseRecycleBin", true)->Count(), 0);
}

TEST(ParseRecycleBinTest, TreeEmptiedBottomUpLockedFileKeepsItsFolderAndItsParents) {
  ScratchFolder scratch("parse");
  const std::string bin = scratch.Path("d/Recycled");
  const std::string top = scratch.Write("d/Recycled/top.txt", "t");
  const std::string d1 = scratch.Path("d/Recycled/D1");
  const std::string f1 = scratch.Write("d/Recycled/D1/f1.txt", "f1");
  const std::string d2 = scratch.Path("d/Recycled/D1/D2");
  const std::string locked = scratch.Write("d/Recycled/D1/D2/locked.txt", "in use");
  const std::string d3 = scratch.Path("d/Recycled/D3");
  const std::string d4 = scratch.Path("d/Recycled/D3/D4");
  const std::string f4 = scratch.Write("d/Recycled/D3/D4/f4.txt", "f4");
  RecycleBinPlaces places;
  places.Drives = {{scratch.Path("d"), 2, "FAT32"}};
  ParserHarness harness(places, kUser);

  const std::vector<std::string> shown = test::TraceTexts(harness.Call("ParseRecycleBin", false));
  EXPECT_EQ(Sorted(shown), Sorted({Dir(d1, 1), Dir(d3, 1), FileTrace(top, 1), Dir(d2, 1), FileTrace(f1, 1),
                                   FileTrace(locked, 1), Dir(d4, 1), FileTrace(f4, 1)}));
  // Depth first: a folder's sub-folders, then its files, then each sub-folder's contents.
  EXPECT_LT(PositionOf(shown, d3), PositionOf(shown, top));
  EXPECT_LT(PositionOf(shown, top), PositionOf(shown, d2));
  EXPECT_LT(PositionOf(shown, d2), PositionOf(shown, f1));
  EXPECT_LT(PositionOf(shown, f1), PositionOf(shown, locked));
  EXPECT_LT(PositionOf(shown, d4), PositionOf(shown, f4));

  std::vector<std::string> cleared;
  {
    FileLock lock(locked);
    cleared = test::TraceTexts(harness.Call("ParseRecycleBin", true));
  }
  // Folders are reported as deleted when found; the ones that had to stay say so at the end.
  EXPECT_EQ(Sorted(cleared), Sorted({Dir(d1, -1), Dir(d3, 2), FileTrace(top, 2), Dir(d2, -1),
                                     FileTrace(f1, 2), FileTrace(locked, -1), Dir(d4, 2), FileTrace(f4, 2)}));
  EXPECT_EQ(Sorted(harness.reported),
            Sorted({Dir(d1, 2), Dir(d3, 2), FileTrace(top, 2), Dir(d2, 2), FileTrace(f1, 2),
                    FileTrace(locked, -1), Dir(d4, 2), FileTrace(f4, 2)}));
  EXPECT_EQ(testing::ReadBytes(locked), "in use");
  EXPECT_TRUE(Exists(d2) && Exists(d1) && Exists(bin));
  EXPECT_FALSE(Exists(top) || Exists(f1) || Exists(d3) || Exists(f4));

  // Once the file is free the rest goes, the bin with it.
  EXPECT_EQ(test::TraceTexts(harness.Call("ParseRecycleBin", true)),
            (std::vector<std::string>{Dir(d1, 2), Dir(d2, 2), FileTrace(locked, 2)}));
  EXPECT_FALSE(Exists(bin));
}

TEST(ParseRecycleBinTest, LinkInsideTheBinIsErasedAsALinkAndItsTargetSurvives) {
  ScratchFolder scratch("parse");
  const std::string targetFile = scratch.Write("outside/precious.txt", "keep me");
  const std::string targetFolder = scratch.Folder("outside/folder");
  const std::string inTarget = scratch.Write("outside/folder/inner.txt", "keep me too");
  const std::string bin = scratch.Folder("d/Recycled");
  const std::string folderLink = scratch.Path("d/Recycled/folder-link");
  if (!testing::MakeSymbolicLink(targetFolder, folderLink) ||
      FileSystem().KindOf(folderLink) != EntryKind::Link) {
    GTEST_SKIP() << "no symbolic links can be made here";
  }
  std::vector<std::string> links = {folderLink};
  // Wine shows a Linux link to a file as a plain file (and deleting it deletes its target): only where
  // links to files are links is one made.
  const std::string fileLink = scratch.Path("d/Recycled/file-link");
  if (FileSystem::Separator() == '/') {
    ASSERT_TRUE(testing::MakeSymbolicLink(targetFile, fileLink));
    links.push_back(fileLink);
  }
  RecycleBinPlaces places;
  places.Drives = {{scratch.Path("d"), 2, "NTFS"}};
  ParserHarness harness(places, kUser);

  std::vector<std::string> found;
  for (const std::string& link : links) found.push_back(FileTrace(link, 1));
  EXPECT_EQ(Sorted(test::TraceTexts(harness.Call("ParseRecycleBin", false))), Sorted(found));

  const std::vector<std::string> cleared = test::TraceTexts(harness.Call("ParseRecycleBin", true));
  // Under Wine the platform cannot open a Linux link as a link, so it refuses to delete it rather than reach
  // the target: the trace then says the erase failed. Natively every link goes.
  std::vector<std::string> expected;
  for (const std::string& link : links) expected.push_back(FileTrace(link, Exists(link) ? -1 : 2));
  EXPECT_EQ(Sorted(cleared), Sorted(expected));
  if (FileSystem::Separator() == '/') {
    EXPECT_FALSE(Exists(fileLink) || Exists(folderLink) || Exists(bin));
  }
  EXPECT_EQ(testing::ReadBytes(targetFile), "keep me");
  EXPECT_EQ(testing::ReadBytes(inTarget), "keep me too");

  // A bin that is itself a link is not walked at all.
  const std::string linkedBin = scratch.Path("e/Recycled");
  scratch.Folder("e");
  ASSERT_TRUE(testing::MakeSymbolicLink(targetFolder, linkedBin));
  RecycleBinPlaces linkedPlaces;
  linkedPlaces.Drives = {{scratch.Path("e"), 2, "NTFS"}};
  ParserHarness linkedHarness(linkedPlaces, kUser);
  EXPECT_EQ(linkedHarness.Call("ParseRecycleBin", true)->Count(), 0);
  EXPECT_TRUE(Exists(linkedBin));
  EXPECT_EQ(testing::ReadBytes(inTarget), "keep me too");
}

TEST(ParseRecycleBinTest, TrashFilesAndInfoAreEmptiedAndKept) {
  ScratchFolder scratch("parse");
  const std::string doc = scratch.Write("Trash/files/doc.txt", "doc");
  const std::string dir = scratch.Path("Trash/files/dir");
  const std::string inner = scratch.Write("Trash/files/dir/inner.txt", "inner");
  const std::string docInfo =
      scratch.Write("Trash/info/doc.txt.trashinfo", "[Trash Info]\nPath=/home/u/doc.txt\n");
  const std::string dirInfo = scratch.Write("Trash/info/dir.trashinfo", "[Trash Info]\nPath=/home/u/dir\n");
  RecycleBinPlaces places;
  places.TrashFolder = scratch.Path("Trash");
  ParserHarness harness(places, kUser);

  const std::vector<std::string> cleared = test::TraceTexts(harness.Call("ParseRecycleBin", true));
  EXPECT_EQ(Sorted(cleared), Sorted({Dir(dir, 2), FileTrace(doc, 2), FileTrace(inner, 2),
                                     FileTrace(docInfo, 2), FileTrace(dirInfo, 2)}));
  // The files folder comes before the info folder.
  EXPECT_LT(PositionOf(cleared, inner), PositionOf(cleared, docInfo));
  EXPECT_TRUE(std::filesystem::is_empty(scratch.Path("Trash/files")));
  EXPECT_TRUE(std::filesystem::is_empty(scratch.Path("Trash/info")));
}

TEST(ParseRecycleBinTest, StopRequestedBeforeTheFirstTraceFindsNothing) {
  ScratchFolder scratch("parse");
  const std::string file = scratch.Write("n/Recycled/a.txt", "a");
  RecycleBinPlaces places;
  places.Drives = {{scratch.Path("n"), 2, "NTFS"}};
  ParserHarness harness(places, kUser);
  StopRequested = true;
  std::shared_ptr<PrivacyValues> values = harness.Call("ParseRecycleBin", true);
  ASSERT_TRUE(values);
  EXPECT_EQ(values->Count(), 0);
  EXPECT_TRUE(harness.reported.empty());
  EXPECT_TRUE(Exists(file));
}

}  // namespace qm
