#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "clean/privacy_log.h"
#include "clean/run_engine.h"
#include "clean/scratch_folder.h"
#include "discovery/link_maker.h"
#include "settings/system_settings.h"
#include "support/catalogue_builders.h"
#include "support/scoped_settings.h"

namespace qm {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

std::size_t Hash(const std::string& file) { return std::hash<std::string>{}(ReadBytes(file)); }

std::shared_ptr<PrivacyItem> Item(const std::string& title, int32_t type, const std::string& folder) {
  return testing::MakeItem("Links", title, type, {folder});
}

/// True when a link (of any kind) is at `path`, as the file-system service sees it.
bool IsLink(const std::string& path) {
  try {
    return FileSystem().KindOf(path) == EntryKind::Link;
  } catch (const RuntimeError&) {
    return false;
  }
}

/// Runs a clear of every item of one configuration "Links" and returns its totals.
RunTotals ClearAll(const std::vector<std::shared_ptr<PrivacyItem>>& items, const std::string& logs) {
  PrivacyConfigs catalogue;
  catalogue.Add(testing::MakeConfig("Links", software_types::kRoot, items));
  const test::ScopedSettings settings;
  Settings().EnableFileLogging = false;
  ManualClock clock(LocalDateTime{2026, 12, 5, 10, 0, 0});
  PrivacyLog log(logs, clock);
  RunEngine engine(catalogue, log, clock);
  return engine.Run(*SelectRunTarget(catalogue, "Ur All Privacy\\Links"), true, false, nullptr);
}

// Links inside an item's folder point at a folder outside it: a clear removes the links and leaves
// everything outside exactly as it was. A Folder item whose folder is itself such a link finds nothing.
TEST(ScenarioLinks, ClearRemovesFolderLinksAndNeverTouchesTheirTargets) {
  ScratchFolder dir("links");
  const std::string outside = dir / "outside";
  const std::string cache = dir / "cache";
  fs::create_directories(FileSystem::Join(outside, "deep"));
  fs::create_directories(FileSystem::Join(cache, "sub"));
  WriteBytes(FileSystem::Join(outside, "secret.txt"), "do not touch");
  WriteBytes(FileSystem::Join(FileSystem::Join(outside, "deep"), "inner.txt"), "nor this");
  WriteBytes(FileSystem::Join(cache, "own.tmp"), "mine");
  ASSERT_TRUE(testing::MakeSymbolicLink(outside, FileSystem::Join(cache, "to-folder")));
  ASSERT_TRUE(testing::MakeSymbolicLink(outside, FileSystem::Join(FileSystem::Join(cache, "sub"), "deep-link")));
  ASSERT_TRUE(testing::MakeSymbolicLink(outside, dir / "linked"));
  const std::size_t before[] = {Hash(FileSystem::Join(outside, "secret.txt")),
                                Hash(FileSystem::Join(FileSystem::Join(outside, "deep"), "inner.txt"))};

  auto linked = Item("Linked", item_types::kFolder, dir / "linked");
  const RunTotals totals = ClearAll({Item("Cache", item_types::kFolder, cache), linked}, dir / "logs");

  EXPECT_EQ(totals.Count, 4);  // own.tmp, to-folder, sub, deep-link
  EXPECT_EQ(linked->ValueCount(), 0);
  EXPECT_TRUE(fs::is_directory(cache));
  EXPECT_FALSE(fs::exists(FileSystem::Join(cache, "own.tmp")));
  EXPECT_TRUE(IsLink(dir / "linked"));
  // Each link is gone and says so, or (where the platform cannot remove it) is still there and says that.
  for (const auto& pv : *totals.Values) {
    const bool left = IsLink(pv->Path) || fs::exists(pv->Path);
    EXPECT_EQ(pv->ValueStatus, left ? status::kFailed : status::kErased) << pv->Path;
  }
  EXPECT_EQ(Hash(FileSystem::Join(outside, "secret.txt")), before[0]);
  EXPECT_EQ(Hash(FileSystem::Join(FileSystem::Join(outside, "deep"), "inner.txt")), before[1]);
  for (const auto& pv : *totals.Values) EXPECT_EQ(pv->Path.find("secret"), std::string::npos) << pv->Path;
}

// Links to a file outside: File and Folder items remove the link, never the file.
TEST(ScenarioLinks, ClearRemovesFileLinksAndNeverTouchesTheirTargets) {
  ScratchFolder dir("file-links");
  const std::string outsideFile = dir / "outside.txt";
  const std::string cache = dir / "cache";
  const std::string files = dir / "files";
  fs::create_directories(cache);
  fs::create_directories(files);
  WriteBytes(outsideFile, "outside file");
  ASSERT_TRUE(testing::MakeSymbolicLink(outsideFile, FileSystem::Join(cache, "to-file")));
  ASSERT_TRUE(testing::MakeSymbolicLink(outsideFile, FileSystem::Join(files, "file-link")));
  if (FileSystem().KindOf(FileSystem::Join(files, "file-link")) != EntryKind::Link) {
    GTEST_SKIP() << "this platform shows a symbolic link to a file as a plain file (Wine does)";
  }
  const std::size_t before = Hash(outsideFile);

  const RunTotals totals =
      ClearAll({Item("Cache", item_types::kFolder, cache), Item("Files", item_types::kFile, files)}, dir / "logs");
  EXPECT_EQ(totals.Failed, 0);
  EXPECT_EQ(totals.Count, 2);
  EXPECT_TRUE(fs::is_empty(cache));
  EXPECT_TRUE(fs::is_empty(files));
  EXPECT_EQ(Hash(outsideFile), before);
  EXPECT_EQ(ReadBytes(outsideFile), "outside file");
}

}  // namespace
}  // namespace qm
