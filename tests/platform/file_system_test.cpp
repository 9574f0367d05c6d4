#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "support/scratch_folder.h"

namespace qm {

namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

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
    return std::filesystem::is_symlink(std::filesystem::symlink_status(link));
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace

TEST(FileSystemTest, FoldersListTheirFilesAndSubFolders) {
  ScratchFolder scratch("enum");
  FileSystem fs;
  const std::string root = scratch.Path();
  WriteBytes(FileSystem::Join(root, "notes.txt"), "hello");
  WriteBytes(FileSystem::Join(root, "empty"), "");
  fs.CreateFolder(FileSystem::Join(root, "sub"));
  WriteBytes(FileSystem::Join(FileSystem::Join(root, "sub"), "inner.dat"), std::string(70000, 'x'));

  const Folder folder = fs.GetFolder(root);
  EXPECT_EQ(folder.Path, root);
  EXPECT_EQ(folder.Name, std::filesystem::path(root).filename().string());
  auto files = folder.Files();
  std::sort(files.begin(), files.end(), [](const File& a, const File& b) { return a.Name < b.Name; });
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1].Name, "notes.txt");
  EXPECT_EQ(files[1].Path, FileSystem::Join(root, "notes.txt"));
  EXPECT_EQ(files[1].Size, 5u);
  EXPECT_FALSE(files[1].Type.empty());
  const auto subFolders = folder.SubFolders();
  ASSERT_EQ(subFolders.size(), 1u);
  EXPECT_EQ(subFolders[0].Name, "sub");
  EXPECT_EQ(subFolders[0].Files().at(0).Size, 70000u);

  const File& file = files[1];
  EXPECT_TRUE(fs.FileExists(file.Path));
  EXPECT_FALSE(fs.FolderExists(file.Path));
  EXPECT_TRUE(fs.FolderExists(subFolders[0].Path));
  EXPECT_FALSE(fs.FileExists(subFolders[0].Path));
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

  const Folder folder = fs.GetFolder(walked);
  EXPECT_TRUE(folder.SubFolders().empty());
  EXPECT_EQ(folder.Files().size(), 2u);
  EXPECT_FALSE(fs.FolderExists(folderLink));
  EXPECT_TRUE(fs.FileExists(fileLink));

  // Removing a link removes the link, never what it points to.
  fs.RemoveFile(fileLink);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(fileLink)));
  EXPECT_EQ(ReadBytes(FileSystem::Join(target, "keep.txt")), "precious");
}

TEST(FileSystemTest, ReadOnlyFilesAreRemovedOnlyWhenForced) {
  ScratchFolder scratch("readonly");
  FileSystem fs;
  const std::string path = scratch.Path("locked.txt");
  WriteBytes(path, "data");
  MakeReadOnly(path);
  try {
    fs.RemoveFile(path, false);
    ADD_FAILURE() << "an unforced delete of a read-only file succeeded";
  } catch (const RuntimeError& error) {
    EXPECT_TRUE(IsPermissionDenied(error));
    EXPECT_NE(error.Description().find(path), std::string::npos) << error.Description();
  }
  EXPECT_TRUE(fs.FileExists(path));
  fs.RemoveFile(path, true);
  EXPECT_FALSE(fs.FileExists(path));
}

TEST(FileSystemTest, FailuresCarryTheScriptingRuntimeNumbers) {
  ScratchFolder scratch("errors");
  FileSystem fs;
  const std::string missing = scratch.Path("missing.txt");
  const std::string inMissingFolder = FileSystem::Join(scratch.Path("nowhere"), "x.txt");
  WriteBytes(scratch.Path("there.txt"), "x");

  EXPECT_EQ(ErrorNumberOf([&] { fs.RemoveFile(missing); }), errors::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.OpenTextFile(missing); }), errors::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.CreateTextFile(inMissingFolder); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.GetFolder(scratch.Path("nowhere")); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.GetFolder(scratch.Path("there.txt")); }), errors::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { fs.CreateFolder(scratch.Path()); }), errors::kFileAlreadyExists);
  EXPECT_EQ(ErrorNumberOf([&] { fs.CreateTextFile(scratch.Path("there.txt"), false); }), errors::kFileAlreadyExists);

  try {
    fs.RemoveFile(missing);
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
  in = fs.OpenTextFile(split);
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
  EXPECT_EQ(std::filesystem::file_size(log), 0u);
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
  EXPECT_EQ(std::filesystem::file_size(file), 6u);
  EXPECT_EQ(fs.OpenTextFile(file)->ReadLine(), "deep");
  const auto files = fs.GetFolder(folder).Files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].Path, file);
  EXPECT_EQ(files[0].Size, 6u);

  const std::string moved = FileSystem::Join(folder, "moved.txt");
  std::filesystem::rename(file, moved);
  MakeReadOnly(moved);
  fs.RemoveFile(moved, true);
  EXPECT_FALSE(fs.FileExists(moved));
  std::filesystem::remove_all(FileSystem::Join(scratch.Path(), part + "0"));
  EXPECT_TRUE(std::filesystem::is_empty(scratch.Path()));
}

TEST(FileSystemTest, ReplaceSwapsInTheNewFileEvenOverAReadOnlyTarget) {
  ScratchFolder scratch("replace");
  FileSystem fs;
  const std::string target = scratch.Path("PrivacyConfig.dat");
  const std::string fresh = scratch.Path("PrivacyConfig.dat.tmp");
  WriteBytes(target, "old");
  MakeReadOnly(target);
  WriteBytes(fresh, "new contents");

  fs.Replace(fresh, target);
  EXPECT_EQ(ReadBytes(target), "new contents");
  EXPECT_FALSE(fs.FileExists(fresh));
  EXPECT_EQ(fs.GetFolder(scratch.Path()).Files().size(), 1u);

  // A failed replacement leaves the old file as it was.
  EXPECT_NE(ErrorNumberOf([&] { fs.Replace(scratch.Path("gone.tmp"), target); }), 0);
  EXPECT_EQ(ReadBytes(target), "new contents");

  WriteBytes(fresh, "other");
  EXPECT_EQ(ReadBytes(target), "new contents");
  std::filesystem::rename(fresh, scratch.Path("renamed.txt"));
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
