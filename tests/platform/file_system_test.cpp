#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "platform/folder_handle.h"
#include "support/file_system_extras.h"
#include "support/lines.h"
#include "support/scratch_folder.h"
#include "support/test_engine.h"

namespace qm {

namespace {

using namespace testing;
namespace stdfs = std::filesystem;

/// What `action` throws, checked for what every file-system error carries; number 0 when it throws nothing.
RuntimeError ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Source(), "FileSystem");
    EXPECT_EQ(IsPermissionDenied(error), error.Number() == errors::kPermissionDenied);
    return error;
  }
  return RuntimeError(0, "", "");
}

bool Exists(const std::string& path) { return stdfs::exists(stdfs::symlink_status(path)); }

std::map<std::string, FolderEntry> EntriesOf(const FolderHandle& folder, bool withSizes = true) {
  std::map<std::string, FolderEntry> entries;
  for (FolderEntry& entry : folder.Read(withSizes)) entries[entry.Name] = entry;
  return entries;
}

/// Removes everything in `folder` through folder handles, which no path length stops.
void Empty(const FolderHandle& folder) {
  for (const FolderEntry& entry : folder.Read(false)) {
    if (entry.Kind == EntryKind::Folder) {
      Empty(folder.OpenFolder(entry));
      folder.RemoveFolder(entry);
    } else {
      folder.RemoveFile(entry);
    }
  }
}

}  // namespace

TEST(FileSystemTest, FoldersListTheirEntriesKindsSizesAndOwnersAndNeverFollowALink) {
  ScratchFolder scratch("enum");
  FileSystem fs;
  const std::string notes = scratch.Write("notes.txt", "hello");
  scratch.Write("empty", "");
  scratch.Write("sub/inner.dat", PatternBytes(70000));

  const Folder folder = fs.GetFolder(scratch.Path());
  EXPECT_EQ(folder.Path, scratch.Path());
  EXPECT_EQ(folder.Name, stdfs::path(scratch.Path()).filename().string());
  Lines files;
  for (const File& file : folder.Files()) {
    files.push_back(file.Name + " " + std::to_string(file.Size) + " " + file.Path +
                    (file.Type.empty() ? "" : " typed"));
  }
  EXPECT_EQ(Sorted(files), (Lines{"empty 0 " + scratch / "empty" + " typed", "notes.txt 5 " + notes + " typed"}));
  const auto subFolders = folder.SubFolders();
  ASSERT_EQ(subFolders.size(), 1u);
  EXPECT_EQ(subFolders[0].Name, "sub");
  EXPECT_EQ(subFolders[0].Files().at(0).Size, 70000u);
  EXPECT_FALSE(fs.FolderExists(notes));
  EXPECT_FALSE(fs.FileExists(subFolders[0].Path));

  const FolderHandle handle = FolderHandle::Open(scratch.Path() + FileSystem::Separator());
  EXPECT_EQ(handle.Path(), scratch.Path());
  auto entries = EntriesOf(handle);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries.at("notes.txt").Kind, EntryKind::File);
  EXPECT_EQ(entries.at("notes.txt").Size, 5u);
  EXPECT_EQ(entries.at("empty").Size, 0u);
  EXPECT_EQ(entries.at("sub").Kind, EntryKind::Folder);
  EXPECT_NE(entries.at("sub").Id, entries.at("notes.txt").Id);
  for (const auto& [name, entry] : EntriesOf(handle, false)) {
    EXPECT_EQ(entry.Kind, entries.at(name).Kind) << name;
    EXPECT_EQ(entry.Id, entries.at(name).Id) << name;
  }
  EXPECT_EQ(handle.Find("notes.txt")->Size, 5u);
  EXPECT_EQ(handle.Find("sub")->Id, entries.at("sub").Id);
  EXPECT_FALSE(handle.Find("missing"));
  EXPECT_FALSE(handle.Find(".."));
  const FolderHandle sub = handle.OpenFolder(entries.at("sub"));
  EXPECT_EQ(sub.Path(), handle.PathOf("sub"));
  EXPECT_EQ(EntriesOf(sub).at("inner.dat").Size, 70000u);
  EXPECT_EQ(ErrorOf([&] { handle.OpenFolder(entries.at("notes.txt")); }).Number(), errors::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { FolderHandle::Open(notes); }).Number(), errors::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { FolderHandle::Open(scratch / "nowhere"); }).Number(), errors::kPathNotFound);

  // A link is an entry of its own, removed as itself, never what it points to (Wine shows a file link as the file).
  if (FileSystem::Separator() == '/') {
    const std::string fileLink = scratch / "links/file";
    const std::string folderLink = scratch / "links/folder";
    scratch.Folder("links");
    ASSERT_TRUE(testing::MakeSymbolicLink(notes, fileLink));
    ASSERT_TRUE(testing::MakeSymbolicLink(scratch / "sub", folderLink));
    const Folder links = fs.GetFolder(scratch / "links");
    EXPECT_TRUE(links.SubFolders().empty());
    EXPECT_EQ(links.Files().size(), 2u);
    EXPECT_FALSE(fs.FolderExists(folderLink));
    EXPECT_TRUE(fs.FileExists(fileLink));
    fs.RemoveFile(fileLink);
    EXPECT_FALSE(Exists(fileLink));
    EXPECT_EQ(ReadBytes(notes), "hello");
  }

  // Sockets and FIFOs are special, never removed as files; the special_entries walk case clears around them.
  if (testing::MakeFifo(scratch / "fifo") && testing::MakeSocket(scratch / "socket")) {
    entries = EntriesOf(handle);
    EXPECT_EQ(entries.at("socket").Kind, EntryKind::Special);
    EXPECT_EQ(ErrorOf([&] { handle.RemoveFile(entries.at("fifo")); }).Number(), errors::kPathFileAccess);
    EXPECT_TRUE(Exists(scratch / "fifo"));
  }

  // In a folder like /tmp an entry of another user is foreign; elsewhere nobody's entry is.
  scratch.Write("shared/mine", "");
  scratch.Write("shared/theirs", "");
  scratch.Write("theirs", "");
  stdfs::permissions(scratch / "shared", stdfs::perms::all | stdfs::perms::sticky_bit);
  if (testing::GiveTo(scratch / "shared/theirs", 65534) && testing::GiveTo(scratch / "theirs", 65534)) {
    const FolderHandle shared = FolderHandle::Open(scratch / "shared");
    EXPECT_TRUE(EntriesOf(shared).at("theirs").Foreign);
    EXPECT_TRUE(shared.Find("theirs")->Foreign);
    EXPECT_FALSE(EntriesOf(shared, false).at("mine").Foreign);
    EXPECT_FALSE(handle.Find("theirs")->Foreign);
  }
}

TEST(FileSystemTest, FailuresCarryTheScriptingRuntimeNumbersAndTextStreamsWriteCrLf) {
  ScratchFolder scratch("errors");
  FileSystem fs;
  const std::string missing = scratch / "missing.txt";
  const std::string locked = scratch.Write("locked.txt", "x");
  stdfs::permissions(locked, stdfs::perms::owner_read);

  const RuntimeError notFound = ErrorOf([&] { fs.RemoveFile(missing); });
  EXPECT_EQ(notFound.Number(), errors::kFileNotFound);
  EXPECT_NE(notFound.Description().find(missing), std::string::npos) << notFound.Description();
  // ENOENT on Linux and ERROR_FILE_NOT_FOUND on Windows are both 2.
  EXPECT_EQ(notFound.LastPlatformError(), 2);
  EXPECT_EQ(ErrorOf([&] { fs.OpenTextFile(missing); }).Number(), errors::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.OpenTextFile(missing, IoMode::ForAppending, false); }).Number(), errors::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.CreateTextFile(scratch / "nowhere/x.txt"); }).Number(), errors::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.GetFolder(scratch / "nowhere"); }).Number(), errors::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.GetFolder(locked); }).Number(), errors::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.CreateFolder(scratch.Path()); }).Number(), errors::kFileAlreadyExists);
  EXPECT_EQ(ErrorOf([&] { fs.CreateTextFile(locked, false); }).Number(), errors::kFileAlreadyExists);
  EXPECT_EQ(ErrorOf([&] { fs.GetSpecialFolder(3); }).Number(), errors::kInvalidProcedureCall);
  EXPECT_FALSE(fs.FileExists(missing));
  // A read-only file goes only when forced.
  EXPECT_EQ(ErrorOf([&] { fs.RemoveFile(locked, false); }).Number(), errors::kPermissionDenied);
  EXPECT_TRUE(fs.FileExists(locked));
  fs.RemoveFile(locked, true);
  EXPECT_FALSE(fs.FileExists(locked));

  EXPECT_FALSE(IsPermissionDenied(RuntimeError(errors::kPermissionDenied, "RegKey", "not the file system's")));

  // Text streams split every kind of line break and write CR LF.
  const std::string mixed = scratch.Write("mixed.txt", "one\r\ntwo\nthree\rfour\r\n\r\ncaf\xE9\n\nlast");
  auto in = fs.OpenTextFile(mixed, IoMode::ForReading, false);
  std::vector<std::string> lines;
  while (!in->AtEndOfStream()) lines.push_back(in->ReadLine());
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "caf\xE9", "", "last"}));
  EXPECT_EQ(ErrorOf([&] { in->ReadLine(); }).Number(), errors::kInputPastEndOfFile);
  EXPECT_EQ(ErrorOf([&] { in->WriteLine("x"); }).Number(), errors::kBadFileMode);
  in->Close();

  // A CR LF split across the reader's 64 KiB blocks is still one line break.
  in = fs.OpenTextFile(scratch.Write("split.txt", std::string(65535, 'x') + "\r\ny\r"));
  EXPECT_EQ(in->ReadLine().size(), 65535u);
  EXPECT_EQ(in->ReadLine(), "y");
  EXPECT_TRUE(in->AtEndOfStream());
  in->Close();

  const std::string written = scratch / "written.txt";
  auto out = fs.CreateTextFile(written);
  out->WriteLine("first");
  out->WriteBlankLines(2);
  out->WriteLine("");
  out->WriteLine("caf\xE9");
  EXPECT_EQ(ErrorOf([&] { out->ReadLine(); }).Number(), errors::kBadFileMode);
  out->Close(true);
  EXPECT_EQ(ReadBytes(written), "first\r\n\r\n\r\n\r\ncaf\xE9\r\n");

  // Writing mode empties the file; an empty file is at its end at once.
  fs.OpenTextFile(written, IoMode::ForWriting, false)->Close();
  EXPECT_EQ(ReadBytes(written), "");
  EXPECT_TRUE(fs.OpenTextFile(written)->AtEndOfStream());

  // A stream dropped without Close still writes what it holds.
  fs.CreateTextFile(written)->WriteLine("kept");
  EXPECT_EQ(ReadBytes(written), "kept\r\n");
}

TEST(FileSystemTest, PathsLongerThan260CharactersWorkAndReplaceSwapsInTheNewFile) {
  ScratchFolder scratch("long");
  FileSystem fs;
  std::string folder = scratch.Path();
  for (int depth = 0; depth < 5; ++depth) {
    folder = FileSystem::Join(folder, std::string(60, 'd') + std::to_string(depth));
    fs.CreateFolder(folder);
  }
  const std::string file = FileSystem::Join(folder, std::string(40, 'f') + ".txt");
  ASSERT_GT(file.size(), 300u);
  fs.CreateTextFile(file)->WriteLine("deep");
  EXPECT_TRUE(fs.FileExists(file));
  EXPECT_TRUE(fs.FolderExists(folder));
  EXPECT_EQ(fs.FileSize(file), 6u);
  EXPECT_EQ(fs.OpenTextFile(file)->ReadLine(), "deep");
  const auto files = fs.GetFolder(folder).Files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].Path + " " + std::to_string(files[0].Size), file + " 6");
  stdfs::permissions(file, stdfs::perms::owner_read);
  fs.RemoveFile(file, true);
  EXPECT_FALSE(fs.FileExists(file));
  // std::filesystem cannot walk a path this long on Windows: the folders go through folder handles.
  Empty(FolderHandle::Open(scratch.Path()));
  EXPECT_TRUE(stdfs::is_empty(scratch.Path()));

  // Replace swaps in the new file even over a read-only target.
  const std::string target = scratch.Write("PrivacyConfig.dat", "old");
  const std::string fresh = scratch.Write("PrivacyConfig.dat.tmp", "new contents");
  stdfs::permissions(target, stdfs::perms::owner_read);

  fs.Replace(fresh, target);
  EXPECT_EQ(ReadBytes(target), "new contents");
  EXPECT_FALSE(fs.FileExists(fresh));
  EXPECT_EQ(fs.GetFolder(scratch.Path()).Files().size(), 1u);

  // A failed replacement leaves the old file as it was.
  EXPECT_NE(ErrorOf([&] { fs.Replace(scratch / "gone.tmp", target); }).Number(), 0);
  EXPECT_EQ(ReadBytes(target), "new contents");
  // The new file shares nothing with the name it came from.
  WriteBytes(fresh, "other");
  EXPECT_EQ(ReadBytes(target), "new contents");
}

TEST(FileSystemTest, DrivesAndSpecialFolders) {
  FileSystem fs;
  const auto drives = fs.Drives();
  ASSERT_FALSE(drives.empty());
  bool fixed = false;
  for (const Drive& drive : drives) {
    SCOPED_TRACE(drive.Path);
    EXPECT_FALSE(drive.Path.empty());
    // Wine's Z: root is itself a link to "/", so the check follows links here.
    EXPECT_TRUE(stdfs::is_directory(stdfs::path(drive.Path + FileSystem::Separator())));
    EXPECT_TRUE(drive.DriveType != 2 || !drive.FileSystem.empty());
    fixed = fixed || drive.DriveType == 2;
  }
  EXPECT_TRUE(fixed);

  // Linux has no Windows and no system folder; a folder that is there exists and ends in no separator.
  EXPECT_EQ(fs.GetSpecialFolder(0).empty(), fs.GetSpecialFolder(1).empty());
  for (int which : {0, 1, 2}) {
    const std::string folder = fs.GetSpecialFolder(which);
    if (folder.empty()) continue;
    EXPECT_TRUE(fs.FolderExists(folder)) << folder;
    EXPECT_NE(folder.back(), FileSystem::Separator()) << folder;
  }
}

TEST(FolderHandleTest, RemovesAndOverwritesEntriesTellsWhyItCannotAndNeverLeadsOutOfTheFolder) {
  ScratchFolder scratch("handle-remove");
  const std::string readOnlyPath = scratch.Write("read-only.txt", "x");
  const std::string data = scratch.Write("data.bin", PatternBytes(30));
  scratch.Write("full/inner.txt", "y");
  stdfs::permissions(readOnlyPath, stdfs::perms::owner_read);
  const FolderHandle folder = FolderHandle::Open(scratch.Path());
  const auto entries = EntriesOf(folder);
  const FolderEntry& readOnly = entries.at("read-only.txt");
  const FolderEntry& full = entries.at("full");

  EXPECT_EQ(ErrorOf([&] { folder.RemoveFile(readOnly, false); }).Number(), errors::kPermissionDenied);
  EXPECT_TRUE(Exists(readOnlyPath));
  folder.RemoveFile(readOnly);
  EXPECT_FALSE(Exists(readOnlyPath));
  EXPECT_EQ(ErrorOf([&] { folder.RemoveFile(readOnly); }).Number(), errors::kFileNotFound);

  EXPECT_EQ(ErrorOf([&] { folder.RemoveFolder(full); }).Number(), errors::kPermissionDenied);
  EXPECT_EQ(ErrorOf([&] { folder.RemoveFile(full); }).Number(), errors::kPathFileAccess);
  EXPECT_EQ(ErrorOf([&] { folder.Overwrite(full); }).Number(), errors::kPermissionDenied);
  {
    const FolderHandle inside = folder.OpenFolder(full);
    inside.RemoveFile(*inside.Find("inner.txt"));
  }
  folder.RemoveFolder(full);
  EXPECT_FALSE(Exists(scratch / "full"));
  EXPECT_EQ(ErrorOf([&] { folder.RemoveFolder(full); }).Number(), errors::kPathNotFound);

  // Overwritten in place from where it is sought to (FillBlankTest blanks whole files); opening must not cut it.
  FileOverwrite file = folder.Overwrite(entries.at("data.bin"));
  EXPECT_EQ(ReadBytes(data), PatternBytes(30));
  EXPECT_EQ(file.DataRanges(), (std::vector<ByteRange>{{0, 30}}));
  file.Seek(20);
  file.Write("ab", 2);
  file.Close();
  EXPECT_EQ(ReadBytes(data), PatternBytes(30).substr(0, 20) + "ab" + PatternBytes(30).substr(22));
  EXPECT_EQ(ErrorOf([&] { folder.Overwrite(FolderEntry{"missing.bin"}); }).Number(), errors::kFileNotFound);
  EXPECT_FALSE(Exists(scratch / "missing.bin"));

  // Entries swapped for links since they were read, and links themselves, never lead out of the folder.
  const std::string keep = scratch.Write("outside/keep.txt", "keep");
  scratch.Write("item/sub/own.txt", "own");
  scratch.Write("item/file.txt", PatternBytes(10));
  const FolderHandle item = FolderHandle::Open(scratch / "item");
  const auto read = EntriesOf(item);

  stdfs::rename(scratch / "item/sub", scratch / "sub-away");
  stdfs::rename(scratch / "item/file.txt", scratch / "file-away");
  ASSERT_TRUE(testing::MakeSymbolicLink(scratch / "outside", scratch / "item/sub"));
  ASSERT_TRUE(testing::MakeSymbolicLink(keep, scratch / "item/file.txt"));
  EXPECT_EQ(ErrorOf([&] { item.OpenFolder(read.at("sub")); }).Number(), errors::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { item.RemoveFolder(read.at("sub")); }).Number(), errors::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { item.Overwrite(read.at("file.txt")); }).Number(), errors::kPermissionDenied);
  EXPECT_EQ(ErrorOf([&] { FolderHandle::Open(scratch / "item/sub"); }).Number(), errors::kPathNotFound);

  // Removing a link removes the link, never its target. Where the system opens a link's target instead
  // (Wine), the removal is refused. Wine shows a link to a file as that file: such a link is left out.
  auto links = EntriesOf(item);
  EXPECT_EQ(links.at("sub").Kind, EntryKind::Link);
  EXPECT_TRUE(links.at("sub").LinkToFolder);
  if (links.at("file.txt").Kind != EntryKind::Link) links.erase("file.txt");
  for (const auto& [name, link] : links) {
    const int number = ErrorOf([&] { link.LinkToFolder ? item.RemoveFolder(link) : item.RemoveFile(link); }).Number();
    EXPECT_EQ(Exists(item.PathOf(name)), number != 0) << name;
    EXPECT_TRUE(number == 0 || (FileSystem::Separator() == '\\' && number == errors::kPermissionDenied)) << name;
  }
  EXPECT_EQ(ReadBytes(keep), "keep");
}

TEST(FolderHandleTest, TreesDeeperThanAnyPathAreReadAndRemoved) {
  testing::TestEngine t;
  const ScratchFolder& scratch = t.dir;
  // More levels than FolderHandle::kMaxOpen on Linux, built from the bottom up so that no path is long, and a whole
  // path past the limit: 4,096 bytes on Linux, 260 characters on Windows (Wine removes nothing past 4,096 bytes).
  const bool posix = FileSystem::Separator() == '/';
  constexpr int kLevels = 70;
  const std::string name(posix ? 60 : 40, 'd');
  scratch.Write("level/leaf.txt", "leaf");
  for (int level = 1; level < kLevels; ++level) {
    stdfs::create_directory(scratch / "next");
    stdfs::rename(scratch / "level", scratch / ("next/" + name));
    stdfs::rename(scratch / "next", scratch / "level");
  }

  {
    FolderHandle folder = FolderHandle::Open(scratch / "level");
    for (int level = 1; level < kLevels; ++level) folder = folder.OpenFolder(*folder.Find(name));
    EXPECT_GT(folder.Path().size(), posix ? 4096u : 260u);
    ASSERT_TRUE(folder.Find("leaf.txt"));
    EXPECT_EQ(folder.Find("leaf.txt")->Size, 4u);
  }
  // A clear walks it down and back up holding only the newest folders open (Windows removes only unheld folders).
  t.LoadCatalogue("[Config]\nSoftware:Deep\nSelected:1\nLevels<>1<>0<>Folder><{dir}\\level\n");
  const RunTotals totals = t.Run(true);
  EXPECT_EQ(totals.Count, kLevels);
  EXPECT_EQ(totals.Failed, 0);
  EXPECT_TRUE(stdfs::is_empty(scratch / "level"));
}

TEST(FolderHandleTest, AReleasedFolderReopensOnlyAsTheSameFolder) {
  if (FolderHandle::kMaxOpen == SIZE_MAX) GTEST_SKIP() << "this system never releases a folder";
  ScratchFolder scratch("handle-reopen");
  scratch.Folder("top/middle/bottom");
  FolderHandle top = FolderHandle::Open(scratch / "top");
  FolderHandle middle = top.OpenFolder(*top.Find("middle"));
  const FolderHandle bottom = middle.OpenFolder(*middle.Find("bottom"));
  top.Release();
  middle.Release();
  EXPECT_TRUE(top.Released());
  stdfs::rename(scratch / "top/middle", scratch / "moved");
  middle.Reopen(bottom);
  EXPECT_FALSE(middle.Released());
  EXPECT_TRUE(middle.Find("bottom"));
  EXPECT_EQ(ErrorOf([&] { top.Reopen(middle); }).Number(), errors::kPathNotFound);
  EXPECT_TRUE(top.Released());
}

}  // namespace qm
