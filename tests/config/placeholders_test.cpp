#include "config/placeholders.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "platform/file_system.h"
#include "platform/shell.h"
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
    sources.shellFolder = [this](int csidl) { return shell.count(csidl) ? shell[csidl] : std::string(); };
    sources.registryAppData = [this] {
      ++registryReads;
      return registryAppData;
    };
    sources.fileSystemFolder = [this](int which) { return fileSystem[which]; };
    return sources;
  }

  SpecialFolders Init() {
    SpecialFolders folders;
    InitSpecialFolders(folders, Sources());
    return folders;
  }
};

const std::string kToken = "%HKEY_CURRENT_USER<>Software\\QuillmereTest\\Placeholders<>";

}  // namespace

TEST(ExpandPlaceholdersTest, FolderTokensAndTheTextAroundThem) {
  RegistryFixture fixture;
  reg::RegistryBackend& registry = fixture.Registry();
  SpecialFolders folders = WindowsTestFolders();
  EXPECT_EQ(ExpandPlaceholders("%windowsdir%\\Temp", folders, registry), "C:\\Windows\\Temp");
  EXPECT_EQ(ExpandPlaceholders("%WINDOWSDIR%\\Temp", folders, registry), "\\Temp");
  EXPECT_EQ(ExpandPlaceholders("abc%def", folders, registry), "abc");
  EXPECT_EQ(ExpandPlaceholders("50%%off", folders, registry), "50off");
  EXPECT_EQ(ExpandPlaceholders("x%a%y", folders, registry), "xy");

  EXPECT_EQ(ExpandPlaceholders("%systemdir%|%temporarydir%|%userprofiledir%|%appdatadir%|%programfilesdir%",
                               folders, registry),
            "C:\\Windows\\system32|C:\\Users\\ann\\AppData\\Local\\Temp|C:\\Users\\ann|"
            "C:\\Users\\ann\\AppData\\Local|C:\\Program Files");
  EXPECT_EQ(ExpandPlaceholders("plain\\path.txt", folders, registry), "plain\\path.txt");
  EXPECT_EQ(ExpandPlaceholders("", folders, registry), "");
  // A token of two parts is no registry token: it vanishes like any unknown name.
  EXPECT_EQ(ExpandPlaceholders("%A<>B%x", folders, registry), "x");
}

TEST(ExpandPlaceholdersTest, AnEmptyFolderFailsTheWholeExpansion) {
  RegistryFixture fixture;
  reg::RegistryBackend& registry = fixture.Registry();
  SpecialFolders folders = WindowsTestFolders();
  folders.WindowsDir.clear();
  EXPECT_EQ(ExpandPlaceholders("%windowsdir%\\Temp", folders, registry), "");
  EXPECT_EQ(ExpandPlaceholders("C:\\x;%windowsdir%", folders, registry), "");
  EXPECT_EQ(ExpandPlaceholders("%systemdir%\\x", folders, registry), "C:\\Windows\\system32\\x");
}

TEST(ExpandPlaceholdersTest, RegistryTokensReadTheValueOrFailTheExpansion) {
  RegistryFixture fixture("registry_shell_folders.reg");
  reg::RegistryBackend& registry = fixture.Registry();
  SpecialFolders folders = WindowsTestFolders();
  EXPECT_EQ(ExpandPlaceholders(kToken + "Cache%\\Temp\\*.tmp", folders, registry), "C:\\Users\\Test\\Cache\\Temp\\*.tmp");
  EXPECT_EQ(ExpandPlaceholders("[" + kToken + "Cache%]%windowsdir%", folders, registry),
            "[C:\\Users\\Test\\Cache]C:\\Windows");
  // A number reads as its display text.
  EXPECT_EQ(ExpandPlaceholders(kToken + "Number%", folders, registry), "0x0000002a (42)");

  EXPECT_EQ(ExpandPlaceholders("before " + kToken + "Missing% after", folders, registry), "");
  EXPECT_EQ(ExpandPlaceholders("%HKEY_CURRENT_USER<>Software\\QuillmereTest\\Nowhere<>Cache%\\x", folders, registry), "");
  EXPECT_EQ(ExpandPlaceholders("%HKEY_NOWHERE<>Software\\QuillmereTest\\Placeholders<>Cache%\\x", folders, registry), "");
  EXPECT_EQ(ExpandPlaceholders("%hkey_current_user<>Software\\QuillmereTest\\Placeholders<>Cache%\\x", folders, registry), "");
  // An expandable text displays as "": that would leave "\x" below the root, so it fails as well.
  EXPECT_EQ(ExpandPlaceholders(kToken + "Expand%\\x", folders, registry), "");
}

TEST(InitSpecialFoldersTest, ShellFoldersComeFirst) {
  FakeSources fake;
  fake.shell = {{40, "C:\\Users\\Ann"}, {38, "C:\\Program Files"}, {28, "C:\\Users\\Ann\\AppData\\Local"}};
  SpecialFolders folders = fake.Init();
  EXPECT_EQ(folders.UserProfileDir, "C:\\Users\\Ann");
  EXPECT_EQ(folders.ProgramFilesDir, "C:\\Program Files");
  EXPECT_EQ(folders.AppDataDir, "C:\\Users\\Ann\\AppData\\Local");
  EXPECT_EQ(folders.WindowsDir, "D:\\WINNT");
  EXPECT_EQ(folders.SystemDir, "D:\\WINNT\\system32");
  EXPECT_EQ(folders.TemporaryDir, "D:\\Temp");
  EXPECT_EQ(fake.registryReads, 0);
}

TEST(InitSpecialFoldersTest, EveryFallbackInItsOrder) {
  {
    // Profile missing: the parent of the application-data folder.
    FakeSources fake;
    fake.shell = {{38, "C:\\Program Files"}, {28, "C:\\Users\\Bo\\Local Settings\\Application Data"}};
    fake.registryAppData = "C:\\Elsewhere\\AppData";
    SpecialFolders folders = fake.Init();
    EXPECT_EQ(folders.AppDataDir, "C:\\Users\\Bo\\Local Settings\\Application Data");
    EXPECT_EQ(folders.UserProfileDir, "C:\\Users\\Bo\\Local Settings");
    EXPECT_EQ(fake.registryReads, 1);
  }
  {
    // Application data missing from the shell: the registry's value; the profile stays the shell's.
    FakeSources fake;
    fake.shell = {{40, "C:\\Users\\Cy"}};
    fake.registryAppData = "C:\\Users\\Cy\\AppData\\Roaming";
    SpecialFolders folders = fake.Init();
    EXPECT_EQ(folders.AppDataDir, "C:\\Users\\Cy\\AppData\\Roaming");
    EXPECT_EQ(folders.UserProfileDir, "C:\\Users\\Cy");
    EXPECT_EQ(folders.ProgramFilesDir, "D:\\ProGRam Files");
  }
  {
    // Both missing: the registry's value, and the profile as its parent.
    FakeSources fake;
    fake.registryAppData = "C:\\Users\\Di\\Application Data";
    SpecialFolders folders = fake.Init();
    EXPECT_EQ(folders.AppDataDir, "C:\\Users\\Di\\Application Data");
    EXPECT_EQ(folders.UserProfileDir, "C:\\Users\\Di");
  }
  {
    // Nothing anywhere: the Windows folder and the fallback texts.
    FakeSources fake;
    SpecialFolders folders = fake.Init();
    EXPECT_EQ(folders.UserProfileDir, "D:\\WINNT");
    EXPECT_EQ(folders.AppDataDir, "D:\\WINNT\\AppLIcation Data");
    EXPECT_EQ(folders.ProgramFilesDir, "D:\\ProGRam Files");
  }
  {
    // A registry value without a backslash gives no parent: the profile falls back to the Windows folder.
    FakeSources fake;
    fake.registryAppData = "AppData";
    SpecialFolders folders = fake.Init();
    EXPECT_EQ(folders.AppDataDir, "AppData");
    EXPECT_EQ(folders.UserProfileDir, "D:\\WINNT");
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

TEST(InitSpecialFoldersTest, WithoutAWindowsFolderItsFallbacksStayEmpty) {
  RegistryFixture fixture;
  reg::RegistryBackend& registry = fixture.Registry();
  FakeSources fake;
  fake.shell = {{40, "/home/ann"}, {28, "/home/ann/.local/share"}};
  fake.fileSystem = {{0, ""}, {1, ""}, {2, "/tmp"}};
  SpecialFolders folders = fake.Init();
  EXPECT_EQ(folders.UserProfileDir, "/home/ann");
  EXPECT_EQ(folders.AppDataDir, "/home/ann/.local/share");
  EXPECT_EQ(folders.ProgramFilesDir, "");
  EXPECT_EQ(ExpandPlaceholders("%programfilesdir%\\Vendor\\Cache", folders, registry), "");
  EXPECT_EQ(ExpandPlaceholders("%windowsdir%\\Temp", folders, registry), "");
  EXPECT_EQ(ExpandPlaceholders("%temporarydir%\\x.tmp", folders, registry), "/tmp\\x.tmp");

  // Without a profile either, the parent of the application-data folder is taken, with either separator.
  fake.shell = {{28, "/home/bo/.local/share"}};
  folders = fake.Init();
  EXPECT_EQ(folders.UserProfileDir, "/home/bo/.local");
}

TEST(InitSpecialFoldersTest, TheProgramsFoldersComeFromThisSystem) {
  RegistryFixture fixture;
  reg::RegistryBackend& registry = fixture.Registry();
  SpecialFolders folders;
  InitSpecialFolders(folders, SpecialFolderSources::System(registry));
  FileSystem fileSystem;
  EXPECT_EQ(folders.TemporaryDir, fileSystem.GetSpecialFolder(2));
  EXPECT_FALSE(folders.TemporaryDir.empty());
  EXPECT_EQ(folders.WindowsDir, fileSystem.GetSpecialFolder(0));
  std::string profile = shell::SpecialFolderPath(shell::kCsidlProfile);
  if (!profile.empty()) {
    EXPECT_EQ(folders.UserProfileDir, profile);
  }
  EXPECT_EQ(ExpandPlaceholders("%temporarydir%", folders, registry), folders.TemporaryDir);
}

}  // namespace qm::testing
