#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "clean/scratch_folder.h"

namespace qm {

namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

std::map<std::string, FolderEntry> EntriesOf(const FileSystem& fs, const std::string& folder) {
  std::map<std::string, FolderEntry> entries;
  fs.ForEachEntry(folder, [&](const FolderEntry& entry) { entries[entry.Name] = entry; });
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

void MakeReadOnly(const std::string& path) {
  std::filesystem::permissions(std::filesystem::path(path),
                               std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
}

/// Makes a symbolic link where the system can; false where it cannot (Wine answers success but makes none).
bool MakeLink(const FileSystem& fs, const std::string& target, const std::string& link, bool toFolder) {
  std::error_code error;
  if (toFolder) {
    std::filesystem::create_directory_symlink(target, link, error);
  } else {
    std::filesystem::create_symlink(target, link, error);
  }
  if (error) return false;
  try {
    return fs.KindOf(link) == EntryKind::Link;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace

TEST(FileSystemTest, EnumerationReportsKindsAndSizesOfFilesAndFolders) {
  ScratchFolder scratch("enum");
  FileSystem fs;
  const std::string root = scratch.Path();
  WriteBytes(FileSystem::Join(root, "notes.txt"), "hello");
  WriteBytes(FileSystem::Join(root, "empty"), "");
  fs.CreateFolder(FileSystem::Join(root, "sub"));
  WriteBytes(FileSystem::Join(FileSystem::Join(root, "sub"), "inner.dat"), std::string(70000, 'x'));

  const auto entries = EntriesOf(fs, root);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries.at("notes.txt").Kind, EntryKind::File);
  EXPECT_EQ(entries.at("notes.txt").Size, 5u);
  EXPECT_EQ(entries.at("notes.txt").Path, FileSystem::Join(root, "notes.txt"));
  EXPECT_EQ(entries.at("empty").Size, 0u);
  EXPECT_EQ(entries.at("sub").Kind, EntryKind::Folder);
  EXPECT_EQ(entries.at("sub").Size, 0u);

  const Folder folder = fs.GetFolder(root);
  EXPECT_EQ(folder.Path, root);
  EXPECT_EQ(folder.Name, std::filesystem::path(root).filename().string());
  auto files = folder.Files();
  std::sort(files.begin(), files.end(), [](const File& a, const File& b) { return a.Name < b.Name; });
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1].Name, "notes.txt");
  EXPECT_EQ(files[1].Size, 5u);
  EXPECT_FALSE(files[1].Type.empty());
  const auto subFolders = folder.SubFolders();
  ASSERT_EQ(subFolders.size(), 1u);
  EXPECT_EQ(subFolders[0].Name, "sub");
  EXPECT_EQ(subFolders[0].Files().at(0).Size, 70000u);

  const File file = fs.GetFile(FileSystem::Join(root, "notes.txt"));
  EXPECT_EQ(file.Name, "notes.txt");
  EXPECT_EQ(file.Size, 5u);
  EXPECT_EQ(file.Type, files[1].Type);
  EXPECT_TRUE(fs.FileExists(file.Path));
  EXPECT_FALSE(fs.FolderExists(file.Path));
  EXPECT_TRUE(fs.FolderExists(subFolders[0].Path));
  EXPECT_FALSE(fs.FileExists(subFolders[0].Path));
  EXPECT_EQ(fs.KindOf(file.Path), EntryKind::File);
  EXPECT_EQ(fs.KindOf(subFolders[0].Path), EntryKind::Folder);

  // Catalogue paths use backslashes; they reach the same file on every build.
  EXPECT_TRUE(fs.FileExists(root + "\\sub\\inner.dat"));
  EXPECT_EQ(fs.GetFile(root + "\\sub\\inner.dat").Size, 70000u);

  // Without sizes the kinds are the same.
  fs.ForEachEntry(root, [&](const FolderEntry& entry) { EXPECT_EQ(entry.Kind, entries.at(entry.Name).Kind); }, false);
}

TEST(FileSystemTest, LinksAreEntriesOfTheirOwnAndNeverFollowed) {
  ScratchFolder scratch("links");
  FileSystem fs;
  const std::string root = scratch.Path();
  const std::string target = FileSystem::Join(root, "target");
  fs.CreateFolder(target);
  WriteBytes(FileSystem::Join(target, "keep.txt"), "precious");
  const std::string walked = FileSystem::Join(root, "walked");
  fs.CreateFolder(walked);
  const std::string fileLink = FileSystem::Join(walked, "file-link");
  const std::string folderLink = FileSystem::Join(walked, "folder-link");
  if (!MakeLink(fs, FileSystem::Join(target, "keep.txt"), fileLink, false) ||
      !MakeLink(fs, target, folderLink, true)) {
    GTEST_SKIP() << "this system cannot create symbolic links from a test (Wine's CreateSymbolicLinkW makes none)";
  }

  const auto entries = EntriesOf(fs, walked);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.at("file-link").Kind, EntryKind::Link);
  EXPECT_FALSE(entries.at("file-link").LinkToFolder);
  EXPECT_EQ(entries.at("folder-link").Kind, EntryKind::Link);
  EXPECT_TRUE(entries.at("folder-link").LinkToFolder);
  EXPECT_EQ(entries.at("folder-link").Size, 0u);

  const Folder folder = fs.GetFolder(walked);
  EXPECT_TRUE(folder.SubFolders().empty());
  EXPECT_EQ(folder.Files().size(), 2u);
  EXPECT_FALSE(fs.FolderExists(folderLink));
  EXPECT_TRUE(fs.FileExists(fileLink));
  EXPECT_EQ(ErrorNumberOf([&] { fs.ForEachEntry(folderLink, [](const FolderEntry&) {}); }), errors::kPathNotFound);

  // Deleting a folder link removes the link, never what it points to; so does deleting the folder holding links.
  fs.DeleteFile(folderLink);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(folderLink)));
  fs.DeleteFolder(walked);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(walked)));
  EXPECT_EQ(ReadBytes(FileSystem::Join(target, "keep.txt")), "precious");

  // A folder link given to DeleteFolder is removed as a link too.
  const std::string again = FileSystem::Join(root, "again");
  ASSERT_TRUE(MakeLink(fs, target, again, true));
  fs.DeleteFolder(again);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(again)));
  EXPECT_EQ(ReadBytes(FileSystem::Join(target, "keep.txt")), "precious");
}

TEST(FileSystemTest, ReadOnlyFilesAreDeletedOnlyWhenForced) {
  ScratchFolder scratch("readonly");
  FileSystem fs;
  const std::string path = scratch.Path("locked.txt");
  WriteBytes(path, "data");
  MakeReadOnly(path);

  try {
    fs.DeleteFile(path, false);
    ADD_FAILURE() << "an unforced delete of a read-only file succeeded";
  } catch (const RuntimeError& error) {
    EXPECT_TRUE(IsPermissionDenied(error));
    EXPECT_NE(error.Description().find(path), std::string::npos) << error.Description();
  }
  EXPECT_TRUE(fs.FileExists(path));
  fs.DeleteFile(path, true);
  EXPECT_FALSE(fs.FileExists(path));

  // A folder holding read-only files and folders goes as a whole.
  const std::string tree = scratch.Path("tree");
  fs.CreateFolder(tree);
  fs.CreateFolder(FileSystem::Join(tree, "deeper"));
  WriteBytes(FileSystem::Join(FileSystem::Join(tree, "deeper"), "a.txt"), "a");
  MakeReadOnly(FileSystem::Join(FileSystem::Join(tree, "deeper"), "a.txt"));
  WriteBytes(FileSystem::Join(tree, "b.txt"), "b");
  fs.GetFile(FileSystem::Join(tree, "b.txt")).Delete();
  EXPECT_FALSE(fs.FileExists(FileSystem::Join(tree, "b.txt")));
  fs.Delete(tree);
  EXPECT_FALSE(fs.FolderExists(tree));
  EXPECT_TRUE(fs.FolderExists(scratch.Path()));
}

TEST(FileSystemTest, FailuresCarryTheScriptingRuntimeNumbers) {
  ScratchFolder scratch("errors");
  FileSystem fs;
  const std::string missing = scratch.Path("missing.txt");
  const std::string inMissingFolder = FileSystem::Join(scratch.Path("nowhere"), "x.txt");
  WriteBytes(scratch.Path("there.txt"), "x");

  EXPECT_EQ(ErrorNumberOf([&] { fs.GetFile(missing); }), errors::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.DeleteFile(missing); }), errors::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.OpenTextFile(missing); }), errors::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.GetFile(inMissingFolder); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.CreateTextFile(inMissingFolder); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.GetFolder(scratch.Path("nowhere")); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.GetFolder(scratch.Path("there.txt")); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.ForEachEntry(scratch.Path("nowhere"), [](const FolderEntry&) {}); }),
            errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.GetFile(scratch.Path()); }), errors::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.CreateFolder(scratch.Path()); }), errors::kFileAlreadyExists);
  EXPECT_EQ(ErrorNumberOf([&] { fs.CreateTextFile(scratch.Path("there.txt"), false); }), errors::kFileAlreadyExists);
  EXPECT_EQ(ErrorNumberOf([&] { fs.KindOf(missing); }), errors::kFileNotFound);

  fs.CreateFolder(scratch.Path("full"));
  WriteBytes(FileSystem::Join(scratch.Path("full"), "f"), "");
  EXPECT_EQ(ErrorNumberOf([&] { fs.RemoveEmptyFolder(scratch.Path("full")); }), errors::kDeviceIo);
  EXPECT_TRUE(fs.FolderExists(scratch.Path("full")));
  fs.DeleteFile(FileSystem::Join(scratch.Path("full"), "f"));
  fs.RemoveEmptyFolder(scratch.Path("full"));
  EXPECT_FALSE(fs.FolderExists(scratch.Path("full")));

  try {
    fs.GetFile(missing);
    ADD_FAILURE() << "no error was raised";
  } catch (const RuntimeError& error) {
    EXPECT_NE(error.Description().find(missing), std::string::npos) << error.Description();
    EXPECT_FALSE(IsPermissionDenied(error));
    // ENOENT on Linux and ERROR_FILE_NOT_FOUND on Windows are both 2.
    EXPECT_EQ(error.LastPlatformError(), 2);
  }
  EXPECT_FALSE(IsPermissionDenied(RuntimeError(errors::kPermissionDenied, "RegKey", "not the file system's")));
}

TEST(FileSystemTest, TextStreamsSplitEveryKindOfLineBreakAndWriteCrLf) {
  ScratchFolder scratch("streams");
  FileSystem fs;
  const std::string mixed = scratch.Path("mixed.txt");
  WriteBytes(mixed, "one\r\ntwo\nthree\rfour\r\n\r\ncaf\xE9\n\nlast");
  auto in = fs.OpenTextFile(mixed, IoMode::ForReading, false);
  std::vector<std::string> lines;
  while (!in->AtEndOfStream()) lines.push_back(in->ReadLine());
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "caf\xE9", "", "last"}));
  EXPECT_EQ(ErrorNumberOf([&] { in->ReadLine(); }), errors::kInputPastEndOfFile);
  EXPECT_EQ(ErrorNumberOf([&] { in->WriteLine("x"); }), errors::kBadFileMode);
  in->Close();

  // A CR LF split across the reader's 64 KiB blocks is still one line break.
  const std::string split = scratch.Path("split.txt");
  WriteBytes(split, std::string(65535, 'x') + "\r\ny\r");
  in = fs.GetFile(split).OpenAsTextStream();
  EXPECT_EQ(in->ReadLine().size(), 65535u);
  EXPECT_EQ(in->ReadLine(), "y");
  EXPECT_TRUE(in->AtEndOfStream());
  in->Close();

  const std::string written = scratch.Path("written.txt");
  auto out = fs.CreateTextFile(written);
  out->WriteLine("first");
  out->WriteBlankLines(2);
  out->WriteLine("");
  out->WriteLine("caf\xE9");
  EXPECT_EQ(ErrorNumberOf([&] { out->ReadLine(); }), errors::kBadFileMode);
  out->Close(true);
  EXPECT_EQ(ReadBytes(written), "first\r\n\r\n\r\n\r\ncaf\xE9\r\n");

  // Writing mode empties the file; an empty file is at its end at once.
  out = fs.OpenTextFile(written, IoMode::ForWriting, false);
  out->Close();
  EXPECT_EQ(ReadBytes(written), "");
  EXPECT_TRUE(fs.OpenTextFile(written)->AtEndOfStream());

  // A stream dropped without Close still writes what it holds.
  fs.CreateTextFile(written)->WriteLine("kept");
  EXPECT_EQ(ReadBytes(written), "kept\r\n");
}

TEST(FileSystemTest, AppendingCreatesAMissingFileAndWritesAfterTheEnd) {
  ScratchFolder scratch("append");
  FileSystem fs;
  const std::string log = scratch.Path("log.txt");
  EXPECT_EQ(ErrorNumberOf([&] { fs.OpenTextFile(log, IoMode::ForAppending, false); }), errors::kFileNotFound);
  EXPECT_FALSE(fs.FileExists(log));

  auto out = fs.OpenTextFile(log, IoMode::ForAppending, true);
  EXPECT_TRUE(fs.FileExists(log));
  EXPECT_EQ(fs.GetFile(log).Size, 0u);
  out->WriteLine("a");
  out->Close();
  out = fs.OpenTextFile(log, IoMode::ForAppending, true);
  out->WriteLine("b");
  out->Close();
  EXPECT_EQ(ReadBytes(log), "a\r\nb\r\n");
}

TEST(FileSystemTest, PathsLongerThan260CharactersWork) {
  ScratchFolder scratch("long");
  FileSystem fs;
  std::string folder = scratch.Path();
  const std::string part(60, 'd');
  for (int depth = 0; depth < 5; ++depth) {
    folder = FileSystem::Join(folder, part + std::to_string(depth));
    fs.CreateFolder(folder);
  }
  const std::string file = FileSystem::Join(folder, std::string(40, 'f') + ".txt");
  ASSERT_GT(file.size(), 300u);
  auto out = fs.CreateTextFile(file);
  out->WriteLine("deep");
  out->Close();
  EXPECT_TRUE(fs.FileExists(file));
  EXPECT_TRUE(fs.FolderExists(folder));
  EXPECT_EQ(fs.GetFile(file).Size, 6u);
  EXPECT_EQ(fs.OpenTextFile(file)->ReadLine(), "deep");
  const auto entries = EntriesOf(fs, folder);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.begin()->second.Path, file);
  EXPECT_EQ(entries.begin()->second.Size, 6u);

  const std::string moved = FileSystem::Join(folder, "moved.txt");
  fs.MoveFile(file, moved);
  MakeReadOnly(moved);
  fs.DeleteFile(moved, true);
  EXPECT_FALSE(fs.FileExists(moved));
  fs.DeleteFolder(FileSystem::Join(scratch.Path(), part + "0"));
  EXPECT_TRUE(EntriesOf(fs, scratch.Path()).empty());
}

TEST(FileSystemTest, ReplaceFileSwapsInTheNewFileEvenOverAReadOnlyTarget) {
  ScratchFolder scratch("replace");
  FileSystem fs;
  const std::string target = scratch.Path("PrivacyConfig.dat");
  const std::string fresh = scratch.Path("PrivacyConfig.dat.tmp");
  WriteBytes(target, "old");
  MakeReadOnly(target);
  WriteBytes(fresh, "new contents");

  fs.ReplaceFile(fresh, target);
  EXPECT_EQ(ReadBytes(target), "new contents");
  EXPECT_FALSE(fs.FileExists(fresh));
  EXPECT_EQ(EntriesOf(fs, scratch.Path()).size(), 1u);

  // A failed replacement leaves the old file as it was.
  EXPECT_NE(ErrorNumberOf([&] { fs.ReplaceFile(scratch.Path("gone.tmp"), target); }), 0);
  EXPECT_EQ(ReadBytes(target), "new contents");

  // MoveFile never replaces.
  WriteBytes(fresh, "other");
  EXPECT_EQ(ErrorNumberOf([&] { fs.MoveFile(fresh, target); }), errors::kFileAlreadyExists);
  EXPECT_EQ(ReadBytes(target), "new contents");
  fs.MoveFile(fresh, scratch.Path("renamed.txt"));
  EXPECT_EQ(ReadBytes(scratch.Path("renamed.txt")), "other");
  EXPECT_FALSE(fs.FileExists(fresh));
}

TEST(FileSystemTest, DrivesAndSpecialFolders) {
  FileSystem fs;
  const auto drives = fs.Drives();
  ASSERT_FALSE(drives.empty());
  bool fixed = false;
  for (const Drive& drive : drives) {
    EXPECT_FALSE(drive.Path.empty());
    // Wine's Z: root is itself a link to "/", so the check follows links here.
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(drive.Path + FileSystem::Separator()))) << drive.Path;
    if (drive.DriveType == 2) {
      fixed = true;
      EXPECT_FALSE(drive.FileSystem.empty()) << drive.Path;
    }
  }
  EXPECT_TRUE(fixed);

  const std::string temp = fs.GetSpecialFolder(2);
  ASSERT_FALSE(temp.empty());
  EXPECT_NE(temp.back(), FileSystem::Separator());
  EXPECT_TRUE(fs.FolderExists(temp)) << temp;
  for (int which : {0, 1}) {
    const std::string folder = fs.GetSpecialFolder(which);
    // Linux has no Windows folder; where there is one it exists and has no trailing separator.
    if (!folder.empty()) {
      EXPECT_TRUE(fs.FolderExists(folder)) << folder;
      EXPECT_NE(folder.back(), '\\');
    }
  }
  EXPECT_EQ(fs.GetSpecialFolder(0).empty(), fs.GetSpecialFolder(1).empty());
  EXPECT_EQ(ErrorNumberOf([&] { fs.GetSpecialFolder(3); }), errors::kInvalidProcedureCall);
}

}  // namespace qm
