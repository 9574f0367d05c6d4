#include "config/placeholders.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "platform/seek_path.h"
#include "platform/shell.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {

namespace {

/// Sources answering from fixed tables; a missing entry is a folder the system does not have.
struct FakeSources {
  std::map<int, std::string> shell;
  std::map<shell::NamedFolder, std::string> named;
  std::string registryAppData;
  std::map<int, std::string> fileSystem = {{0, "D:\\WINNT"}, {1, "D:\\WINNT\\system32"}, {2, "D:\\Temp"}};
  int registryReads = 0;

  SpecialFolderSources Sources() {
    SpecialFolderSources sources;
    sources.shellFolder = [this](int csidl) { return shell[csidl]; };
    sources.namedFolder = [this](shell::NamedFolder folder) { return named[folder]; };
    sources.registryAppData = [this] {
      ++registryReads;
      return registryAppData;
    };
    sources.fileSystemFolder = [this](int which) { return fileSystem[which]; };
    return sources;
  }
};

/// The nine folders InitSpecialFolders fills after the first six (their fallbacks are built on those).
Lines DerivedFolders(const SpecialFolders& f) {
  return {f.RoamingAppDataDir, f.LocalLowAppDataDir, f.CommonAppDataDir, f.ProgramFilesX86Dir, f.ProgramFiles64Dir,
          f.SystemDriveDir,    f.PublicDir,          f.DocumentsDir,     f.UserTempDir};
}

/// Their tokens in the same order, and whether Linux has a folder for each.
constexpr std::pair<const char*, bool> kDerivedTokens[] = {
    {"roamingappdatadir", true},   {"locallowappdatadir", false}, {"commonappdatadir", false},
    {"programfilesx86dir", false}, {"programfiles64dir", false},  {"systemdrivedir", false},
    {"publicdir", false},          {"documentsdir", true},        {"usertempdir", true}};

/// The folders of a fallback case, "-" standing for an empty one.
Lines Fields(const std::string& text) {
  Lines fields = Split(text, " | ");
  for (std::string& field : fields) {
    if (field == "-") field.clear();
  }
  return fields;
}

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

TEST(ExpandPlaceholdersTest, EachDerivedTokenNamesTheSystemsOwnAnswer) {
  FakeSources fake;
  fake.shell = {{26, "R:\\Roaming"}, {35, "R:\\ProgramData"}, {42, "R:\\x86"}, {5, "R:\\Docs"}};
  fake.named = {{shell::NamedFolder::LocalAppDataLow, "R:\\LocalLow"},
                {shell::NamedFolder::ProgramFiles64, "R:\\x64"},
                {shell::NamedFolder::Public, "R:\\Public"},
                {shell::NamedFolder::UserTemp, "R:\\Temp"}};
  SpecialFolders folders;
  InitSpecialFolders(folders, fake.Sources());
  // The system's answers win over the fallbacks; the drive is the Windows folder's.
  const Lines expected = {"R:\\Roaming", "R:\\LocalLow", "R:\\ProgramData", "R:\\x86", "R:\\x64",
                          "D:",          "R:\\Public",   "R:\\Docs",        "R:\\Temp"};
  EXPECT_EQ(DerivedFolders(folders), expected);
  RegistryFixture registry;
  const SpecialFolders none;
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string token = kDerivedTokens[i].first;
    SCOPED_TRACE(token);
    EXPECT_EQ(ExpandPlaceholders("%" + token + "%\\x", folders, registry.Registry()), expected[i] + "\\x");
    // A folder this system lacks fails the expansion rather than leave "\x" below the root.
    EXPECT_EQ(ExpandPlaceholders("%" + token + "%\\x", none, registry.Registry()), "");
  }
}

TEST(InitSpecialFoldersTest, EachDerivedFolderFallsBackOnTheFoldersItIsBuiltOn) {
  for (const auto& [given, expected] : FixtureCases("config/derived_folder_fallbacks.txt")) {
    const Lines folder = Fields(given);
    ASSERT_EQ(folder.size(), 4u) << given;
    FakeSources fake;
    fake.shell = {{40, folder[0]}, {28, folder[1]}, {38, folder[2]}};
    fake.fileSystem[0] = folder[3];
    SpecialFolders folders;
    InitSpecialFolders(folders, fake.Sources());
    EXPECT_EQ(DerivedFolders(folders), Fields(expected)) << given;
  }
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
  // Every derived folder is an absolute path on Windows; on Linux those Linux has a folder for are, the
  // Windows-only places are empty.
  const bool windows = FileSystem::Separator() == '\\';
  SpecialFolders shown = folders;
  if (windows) shown.SystemDriveDir += "\\";  // the drive ("C:") is a root without its separator
  const Lines derived = DerivedFolders(shown);
  for (size_t i = 0; i < derived.size(); ++i) {
    const auto& [token, onLinux] = kDerivedTokens[i];
    EXPECT_EQ(derived[i], windows || onLinux ? NativeSeekPath(derived[i]).value_or("(not absolute)") : "") << token;
  }
  EXPECT_EQ(folders.UserTempDir, windows ? folders.AppDataDir + "\\Temp" : folders.TemporaryDir);
}

}  // namespace qm::testing
