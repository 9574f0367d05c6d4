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

TEST(ExpandPlaceholdersTest, AnEmptyFolderFailsTheWholeExpansion) {
  RegistryFixture registry;
  SpecialFolders folders = WindowsTestFolders();
  folders.WindowsDir.clear();
  EXPECT_EQ(ExpandPlaceholders("%windowsdir%\\Temp", folders, registry.Registry()), "");
  EXPECT_EQ(ExpandPlaceholders("C:\\x;%windowsdir%", folders, registry.Registry()), "");
  EXPECT_EQ(ExpandPlaceholders("%systemdir%\\x", folders, registry.Registry()), "C:\\Windows\\system32\\x");
}

TEST(ExpandPlaceholdersTest, FolderAndRegistryTokensAndTheTextAroundThem) {
  RegistryFixture registry("registry_shell_folders.reg");
  const auto expand = [&](const std::string& s) {
    return ExpandPlaceholders(s, WindowsTestFolders(), registry.Registry());
  };
  EXPECT_EQ(expand("%windowsdir%\\Temp"), "C:\\Windows\\Temp");
  EXPECT_EQ(expand("%WINDOWSDIR%\\Temp"), "\\Temp");
  EXPECT_EQ(expand("abc%def"), "abc");
  EXPECT_EQ(expand("50%%off"), "50off");
  EXPECT_EQ(expand("x%a%y"), "xy");
  EXPECT_EQ(expand("%systemdir%|%temporarydir%|%userprofiledir%|%appdatadir%|%programfilesdir%"),
            "C:\\Windows\\system32|C:\\Users\\ann\\AppData\\Local\\Temp|C:\\Users\\ann|"
            "C:\\Users\\ann\\AppData\\Local|C:\\Program Files");
  EXPECT_EQ(expand(""), "");
  // A token of two parts is no registry token: it vanishes like any unknown name.
  EXPECT_EQ(expand("%A<>B%x"), "x");

  // A registry token reads the value, or fails the whole expansion.
  const std::string key = "Software\\QuillmereTest\\Placeholders<>";
  EXPECT_EQ(expand("%HKEY_CURRENT_USER<>" + key + "Cache%\\Temp\\*.tmp"), "C:\\Users\\Test\\Cache\\Temp\\*.tmp");
  EXPECT_EQ(expand("[%HKEY_CURRENT_USER<>" + key + "Cache%]%windowsdir%"), "[C:\\Users\\Test\\Cache]C:\\Windows");
  // A number reads as its display text.
  EXPECT_EQ(expand("%HKEY_CURRENT_USER<>" + key + "Number%"), "0x0000002a (42)");

  EXPECT_EQ(expand("before %HKEY_CURRENT_USER<>" + key + "Missing% after"), "");
  EXPECT_EQ(expand("%HKEY_CURRENT_USER<>Software\\QuillmereTest\\Nowhere<>Cache%\\x"), "");
  EXPECT_EQ(expand("%HKEY_NOWHERE<>" + key + "Cache%\\x"), "");
  EXPECT_EQ(expand("%hkey_current_user<>" + key + "Cache%\\x"), "");
  // An expandable text displays as "": that would leave "\x" below the root, so it fails as well.
  EXPECT_EQ(expand("%HKEY_CURRENT_USER<>" + key + "Expand%\\x"), "");
}

TEST(InitSpecialFoldersTest, ShellFoldersComeFirstThenEveryFallbackInItsOrder) {
  // An empty shell folder is one the shell does not have.
  struct Case {
    const char* what;
    std::string shellProfile;
    std::string shellPrograms;
    std::string shellAppData;
    std::string registryAppData;
    std::string windows;
    std::string folders;  // "profile | application data | programs"
    int registryReads;
  };
  const Case cases[] = {
      {"all from the shell", "C:\\Users\\Ann", "C:\\Program Files", "C:\\Users\\Ann\\Local", "C:\\Else", "D:\\WINNT",
       "C:\\Users\\Ann | C:\\Users\\Ann\\Local | C:\\Program Files", 0},
      {"no profile: the parent of the application-data folder", "", "C:\\Program Files", "C:\\Users\\Bo\\Local",
       "C:\\Else", "D:\\WINNT", "C:\\Users\\Bo | C:\\Users\\Bo\\Local | C:\\Program Files", 1},
      {"no application data: the registry's, and the profile stays the shell's", "C:\\Users\\Cy", "", "",
       "C:\\Else\\Roaming", "D:\\WINNT", "C:\\Users\\Cy | C:\\Else\\Roaming | D:\\ProGRam Files", 1},
      {"neither: the registry's application data and its parent", "", "", "", "C:\\Users\\Di\\Roaming", "D:\\WINNT",
       "C:\\Users\\Di | C:\\Users\\Di\\Roaming | D:\\ProGRam Files", 1},
      {"nothing anywhere: the Windows folder", "", "", "", "", "D:\\WINNT",
       "D:\\WINNT | D:\\WINNT\\AppLIcation Data | D:\\ProGRam Files", 1},
      {"a registry value without a backslash has no parent", "", "", "", "AppData", "D:\\WINNT",
       "D:\\WINNT | AppData | D:\\ProGRam Files", 1},
      // Without a Windows folder (Linux) the fallbacks built on it stay empty.
      {"no Windows folder", "/home/ann", "", "/home/ann/.local/share", "", "", "/home/ann | /home/ann/.local/share | ",
       0},
      {"no Windows folder nor profile: the parent by \"/\"", "", "", "/home/bo/.local/share", "", "",
       "/home/bo/.local | /home/bo/.local/share | ", 1},
      {"no Windows folder and nothing else", "", "", "", "", "", " |  | ", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSources fake;
    fake.shell = {{40, c.shellProfile}, {38, c.shellPrograms}, {28, c.shellAppData}};
    fake.registryAppData = c.registryAppData;
    fake.fileSystem[0] = c.windows;
    SpecialFolders folders;
    InitSpecialFolders(folders, fake.Sources());
    EXPECT_EQ(folders.UserProfileDir + " | " + folders.AppDataDir + " | " + folders.ProgramFilesDir, c.folders);
    EXPECT_EQ(folders.SystemDir, "D:\\WINNT\\system32");
    EXPECT_EQ(fake.registryReads, c.registryReads);
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
