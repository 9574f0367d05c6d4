#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "support/scratch_folder.h"
#include "platform/folder_handle.h"
#include "support/file_system_extras.h"
#include "support/test_engine.h"

namespace qm {
namespace {

using testing::PatternBytes;
using testing::ReadBytes;
using testing::ScratchFolder;
namespace fs = std::filesystem;

std::map<std::string, FolderEntry> EntriesOf(const FolderHandle& folder, bool withSizes = true) {
  std::map<std::string, FolderEntry> entries;
  for (FolderEntry& entry : folder.Read(withSizes)) entries[entry.Name] = entry;
  return entries;
}

int ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Source(), "FileSystem");
    return error.Number();
  }
  return 0;
}

bool Exists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

}  // namespace

TEST(FolderHandleTest, ReadsKindsSizesAndOwnersOfEntries) {
  ScratchFolder scratch("handle-read");
  scratch.Write("notes.txt", "hello");
  scratch.Write("empty", "");
  scratch.Write("sub/inner.dat", PatternBytes(70000));

  const FolderHandle folder = FolderHandle::Open(scratch.Path() + FileSystem::Separator());
  EXPECT_EQ(folder.Path(), scratch.Path());
  auto entries = EntriesOf(folder);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries.at("notes.txt").Kind, EntryKind::File);
  EXPECT_EQ(entries.at("notes.txt").Size, 5u);
  EXPECT_EQ(entries.at("empty").Size, 0u);
  EXPECT_EQ(entries.at("sub").Kind, EntryKind::Folder);
  EXPECT_NE(entries.at("sub").Id, entries.at("notes.txt").Id);
  for (const auto& [name, entry] : EntriesOf(folder, false)) {
    EXPECT_EQ(entry.Kind, entries.at(name).Kind) << name;
    EXPECT_EQ(entry.Id, entries.at(name).Id) << name;
  }
  EXPECT_EQ(folder.Find("notes.txt")->Size, 5u);
  EXPECT_EQ(folder.Find("sub")->Id, entries.at("sub").Id);
  EXPECT_FALSE(folder.Find("missing"));
  EXPECT_FALSE(folder.Find(".."));

  const FolderHandle sub = folder.OpenFolder(entries.at("sub"));
  EXPECT_EQ(sub.Path(), folder.PathOf("sub"));
  EXPECT_EQ(EntriesOf(sub).at("inner.dat").Size, 70000u);
  EXPECT_EQ(ErrorNumberOf([&] { folder.OpenFolder(entries.at("notes.txt")); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { FolderHandle::Open(scratch / "notes.txt"); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { FolderHandle::Open(scratch / "nowhere"); }), errors::kPathNotFound);

  // Sockets and FIFOs are special: a walk that removes every file and link of the folder leaves them.
  if (testing::MakeFifo(scratch / "fifo") && testing::MakeSocket(scratch / "socket")) {
    entries = EntriesOf(folder);
    EXPECT_EQ(entries.at("fifo").Kind, EntryKind::Special);
    EXPECT_EQ(entries.at("socket").Kind, EntryKind::Special);
    for (const auto& [name, entry] : entries) {
      if (entry.Kind == EntryKind::File || entry.Kind == EntryKind::Link) folder.RemoveFile(entry);
    }
    EXPECT_EQ(ErrorNumberOf([&] { folder.RemoveFile(entries.at("fifo")); }), errors::kPathFileAccess);
    EXPECT_FALSE(Exists(scratch / "notes.txt"));
    EXPECT_TRUE(Exists(scratch / "fifo"));
    EXPECT_TRUE(Exists(scratch / "socket"));
  }

  // In a folder like /tmp an entry of another user is foreign; elsewhere nobody's entry is.
  scratch.Write("shared/mine", "");
  scratch.Write("shared/theirs", "");
  scratch.Write("theirs", "");
  fs::permissions(scratch / "shared", fs::perms::all | fs::perms::sticky_bit);
  if (testing::GiveTo(scratch / "shared/theirs", 65534) && testing::GiveTo(scratch / "theirs", 65534)) {
    const FolderHandle shared = FolderHandle::Open(scratch / "shared");
    EXPECT_TRUE(EntriesOf(shared).at("theirs").Foreign);
    EXPECT_TRUE(shared.Find("theirs")->Foreign);
    EXPECT_FALSE(EntriesOf(shared, false).at("mine").Foreign);
    EXPECT_FALSE(folder.Find("theirs")->Foreign);
  }
}

TEST(FolderHandleTest, RemovesEntriesAndTellsWhyItCannot) {
  ScratchFolder scratch("handle-remove");
  scratch.Write("read-only.txt", "x");
  scratch.Write("full/inner.txt", "y");
  fs::permissions(scratch / "read-only.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const FolderHandle folder = FolderHandle::Open(scratch.Path());
  const auto entries = EntriesOf(folder);
  const FolderEntry& readOnly = entries.at("read-only.txt");
  const FolderEntry& full = entries.at("full");

  EXPECT_EQ(ErrorNumberOf([&] { folder.RemoveFile(readOnly, false); }), errors::kPermissionDenied);
  EXPECT_TRUE(Exists(scratch / "read-only.txt"));
  folder.RemoveFile(readOnly);
  EXPECT_FALSE(Exists(scratch / "read-only.txt"));
  EXPECT_EQ(ErrorNumberOf([&] { folder.RemoveFile(readOnly); }), errors::kFileNotFound);

  EXPECT_EQ(ErrorNumberOf([&] { folder.RemoveFolder(full); }), errors::kPermissionDenied);
  EXPECT_EQ(ErrorNumberOf([&] { folder.RemoveFile(full); }), errors::kPathFileAccess);
  {
    const FolderHandle inside = folder.OpenFolder(full);
    inside.RemoveFile(*inside.Find("inner.txt"));
  }
  folder.RemoveFolder(full);
  EXPECT_FALSE(Exists(scratch / "full"));
  EXPECT_EQ(ErrorNumberOf([&] { folder.RemoveFolder(full); }), errors::kPathNotFound);
}

TEST(FolderHandleTest, OverwriteWritesARegularFileInPlace) {
  ScratchFolder scratch("handle-overwrite");
  const std::string path = scratch.Write("data.bin", PatternBytes(30));
  scratch.Folder("sub");
  const FolderHandle folder = FolderHandle::Open(scratch.Path());

  FileOverwrite file = folder.Overwrite(*folder.Find("data.bin"));
  EXPECT_EQ(file.Size(), 30u);
  // Opening alone must not cut the file.
  EXPECT_EQ(ReadBytes(path), PatternBytes(30));
  EXPECT_EQ(file.DataRanges(), (std::vector<ByteRange>{{0, 30}}));
  file.Write("0123456789", 10);
  file.Seek(20);
  file.Write("ab", 2);
  file.Flush();
  file.Close();
  EXPECT_EQ(ReadBytes(path), "0123456789" + PatternBytes(30).substr(10, 10) + "ab" + PatternBytes(30).substr(22));

  EXPECT_EQ(ErrorNumberOf([&] { folder.Overwrite(FolderEntry{"missing.bin"}); }), errors::kFileNotFound);
  EXPECT_FALSE(Exists(scratch / "missing.bin"));
  EXPECT_EQ(ErrorNumberOf([&] { folder.Overwrite(*folder.Find("sub")); }), errors::kPermissionDenied);
}

// Entries swapped for links since they were read, links themselves and names that look like paths: nothing
// done through the folder reaches outside it.
TEST(FolderHandleTest, NoNameOrLinkLeadsOutOfTheFolder) {
  ScratchFolder scratch("handle-escape");
  const std::string keep = scratch.Write("outside/keep.txt", "keep");
  scratch.Write("item/sub/own.txt", "own");
  scratch.Write("item/file.txt", PatternBytes(10));
  const FolderHandle item = FolderHandle::Open(scratch / "item");
  const auto read = EntriesOf(item);

  fs::rename(scratch / "item/sub", scratch / "sub-away");
  fs::rename(scratch / "item/file.txt", scratch / "file-away");
  ASSERT_TRUE(testing::MakeSymbolicLink(scratch / "outside", scratch / "item/sub"));
  ASSERT_TRUE(testing::MakeSymbolicLink(keep, scratch / "item/file.txt"));
  EXPECT_EQ(ErrorNumberOf([&] { item.OpenFolder(read.at("sub")); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { item.RemoveFolder(read.at("sub")); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { item.Overwrite(read.at("file.txt")); }), errors::kPermissionDenied);
  EXPECT_EQ(ErrorNumberOf([&] { FolderHandle::Open(scratch / "item/sub"); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { FolderHandle::Open(scratch.Path("item/sub") + FileSystem::Separator()); }),
            errors::kPathNotFound);

  // Removing a link removes the link, never its target. Where the system opens a link's target instead
  // (Wine), the removal is refused. Wine shows a link to a file as that file: such a link is left out.
  auto links = EntriesOf(item);
  EXPECT_EQ(links.at("sub").Kind, EntryKind::Link);
  EXPECT_TRUE(links.at("sub").LinkToFolder);
  if (links.at("file.txt").Kind != EntryKind::Link) links.erase("file.txt");
  for (const auto& [name, link] : links) {
    const int number = ErrorNumberOf([&] { link.LinkToFolder ? item.RemoveFolder(link) : item.RemoveFile(link); });
    EXPECT_EQ(Exists(item.PathOf(name)), number != 0) << name;
    if (FileSystem::Separator() == '/') {
      EXPECT_EQ(number, 0) << name;
    } else if (number != 0) {
      EXPECT_EQ(number, errors::kPermissionDenied) << name;
    }
  }
  EXPECT_EQ(ReadBytes(keep), "keep");

  // A name holding a backslash is one entry of its folder; Windows has no such names.
  if (FileSystem::Separator() != '/') return;
  scratch.Write("item/..\\outside/odd.txt", "odd");
  const std::optional<FolderEntry> odd = item.Find("..\\outside");
  ASSERT_TRUE(odd);
  {
    const FolderHandle inside = item.OpenFolder(*odd);
    for (const FolderEntry& entry : inside.Read()) inside.RemoveFile(entry);
  }
  item.RemoveFolder(*odd);
  EXPECT_FALSE(item.Find("..\\outside"));
  EXPECT_EQ(ReadBytes(keep), "keep");
}

TEST(FolderHandleTest, TreesDeeperThanAnyPathAreReadAndRemoved) {
  testing::TestEngine t;
  const ScratchFolder& scratch = t.dir;
  // More levels than FolderHandle::kMaxOpen on Linux, built from the bottom up so that no path is long. The
  // whole path passes the system's limit: 4,096 bytes on Linux, 260 characters on Windows. (Wine removes
  // nothing whose Linux path passes 4,096 bytes: there the tree stays below that.)
  const bool posix = FileSystem::Separator() == '/';
  constexpr int kLevels = 70;
  const std::string name(posix ? 60 : 40, 'd');
  scratch.Write("level/leaf.txt", "leaf");
  for (int level = 1; level < kLevels; ++level) {
    fs::create_directory(scratch / "next");
    fs::rename(scratch / "level", scratch / ("next/" + name));
    fs::rename(scratch / "next", scratch / "level");
  }

  {
    FolderHandle folder = FolderHandle::Open(scratch / "level");
    for (int level = 1; level < kLevels; ++level) folder = folder.OpenFolder(*folder.Find(name));
    EXPECT_GT(folder.Path().size(), posix ? 4096u : 260u);
    ASSERT_TRUE(folder.Find("leaf.txt"));
    EXPECT_EQ(folder.Find("leaf.txt")->Size, 4u);
  }
  // A clear walks it down and back up, holding only the newest folders open; Windows removes a folder only
  // once nothing holds it open.
  t.LoadCatalogue("[Config]\nSoftware:Deep\nSelected:1\nLevels<>1<>0<>Folder><{dir}\\level\n");
  const RunTotals totals = t.Run(true);
  EXPECT_EQ(totals.Count, kLevels);
  EXPECT_EQ(totals.Failed, 0);
  EXPECT_TRUE(fs::is_empty(scratch / "level"));
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
  fs::rename(scratch / "top/middle", scratch / "moved");
  middle.Reopen(bottom);
  EXPECT_FALSE(middle.Released());
  EXPECT_TRUE(middle.Find("bottom"));
  EXPECT_EQ(ErrorNumberOf([&] { top.Reopen(middle); }), errors::kPathNotFound);
  EXPECT_TRUE(top.Released());
}

}  // namespace qm
