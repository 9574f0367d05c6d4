#include "config/placeholders.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {

namespace {

/// Sources answering from fixed tables; a missing entry is a folder the shell does not have.
struct FakeSources {
  std::map<int, std::string> shell;
  std::string registryAppData;
  std::map<int, std::string> fileSystem = {{0, "D:\\WINNT"}, {1, "D:\\WINNT\\system32"}, {2, "D:\\Temp"}};
  int registryReads = 0;

  SpecialFolderSources Sources() {
    SpecialFolderSources sources;
    sources.shellFolder = [this](int csidl) { return shell[csidl]; };
    sources.registryAppData = [this] {
      ++registryReads;
      return registryAppData;
    };
    sources.fileSystemFolder = [this](int which) { return fileSystem[which]; };
    return sources;
  }
};

}  // namespace

TEST(ExpandPlaceholdersTest, FolderAndRegistryTokensAndTheTextAroundThem) {
  RegistryFixture registry("registry_shell_folders.reg");
  for (const auto& [text, expanded] : FixtureCases("config/placeholder_expansions.txt")) {
    EXPECT_EQ(ExpandPlaceholders(text, WindowsTestFolders(), registry.Registry()), expanded) << text;
  }
  // A folder this system lacks fails the whole expansion.
  SpecialFolders folders = WindowsTestFolders();
  folders.WindowsDir.clear();
  EXPECT_EQ(ExpandPlaceholders("%windowsdir%\\Temp", folders, registry.Registry()), "");
  EXPECT_EQ(ExpandPlaceholders("C:\\x;%windowsdir%", folders, registry.Registry()), "");
  EXPECT_EQ(ExpandPlaceholders("%systemdir%\\x", folders, registry.Registry()), "C:\\Windows\\system32\\x");
}

TEST(InitSpecialFoldersTest, ShellFoldersComeFirstThenEveryFallbackInItsOrder) {
  for (const auto& [sources, expected] : FixtureCases("config/special_folder_fallbacks.txt")) {
    const Lines given = Split(sources, " | ");
    ASSERT_EQ(given.size(), 5u) << sources;
    FakeSources fake;
    // An empty shell folder is one the shell does not have.
    fake.shell = {{40, given[0]}, {38, given[1]}, {28, given[2]}};
    fake.registryAppData = given[3];
    fake.fileSystem[0] = given[4];
    SpecialFolders folders;
    InitSpecialFolders(folders, fake.Sources());
    EXPECT_EQ(folders.UserProfileDir + " | " + folders.AppDataDir + " | " + folders.ProgramFilesDir + " | " +
                  std::to_string(fake.registryReads),
              expected)
        << sources;
    EXPECT_EQ(folders.SystemDir, "D:\\WINNT\\system32");
  }
}

TEST(InitSpecialFoldersTest, AnswersAreCutAtNulAndFailuresIgnored) {
  FakeSources fake;
  fake.shell = {{40, std::string("C:\\Users\\Ed\0junk", 16)}, {28, std::string("\0C:\\x", 5)}};
  SpecialFolderSources sources = fake.Sources();
  sources.registryAppData = []() -> std::string { throw std::runtime_error("no registry"); };
  sources.fileSystemFolder = [](int which) -> std::string {
    if (which == 1) throw std::runtime_error("no system folder");
    return which == 0 ? "E:\\Windows" : "E:\\Tmp";
  };
  SpecialFolders folders;
  InitSpecialFolders(folders, sources);
  EXPECT_EQ(folders.UserProfileDir, "C:\\Users\\Ed");
  EXPECT_EQ(folders.AppDataDir, "E:\\Windows\\AppLIcation Data");
  EXPECT_EQ(folders.SystemDir, "");
  EXPECT_EQ(folders.TemporaryDir, "E:\\Tmp");
  EXPECT_EQ(folders.ProgramFilesDir, "E:\\ProGRam Files");
}

TEST(InitSpecialFoldersTest, TheProgramsFoldersComeFromThisSystem) {
  RegistryFixture registry;
  SpecialFolders folders;
  InitSpecialFolders(folders, SpecialFolderSources::System(registry.Registry()));
  FileSystem fileSystem;
  EXPECT_EQ(folders.TemporaryDir, fileSystem.GetSpecialFolder(2));
  EXPECT_EQ(folders.WindowsDir, fileSystem.GetSpecialFolder(0));
  std::string profile = shell::SpecialFolderPath(shell::kCsidlProfile);
  if (!profile.empty()) {
    EXPECT_EQ(folders.UserProfileDir, profile);
  }
}

}  // namespace qm::testing
