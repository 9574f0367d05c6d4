#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "catalogue_files.h"
#include "config/placeholders.h"
#include "config/privacy_configs.h"
#include "config/settings_string.h"
#include "platform/file_system.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

/// Upper-cased, "/" as "\", without trailing separators: the form two paths are compared in.
std::string Comparable(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return Upper(path);
}

bool IsDriveRoot(const std::string& comparable) {
  return comparable.empty() ||
         (comparable.size() == 2 && std::isalpha(static_cast<unsigned char>(comparable[0])) && comparable[1] == ':');
}

/// What a save must write for a stored plain line: the line trimmed, a "Selected:" line as "Selected:1" or
/// "Selected:0".
std::string Normalised(const std::string& line) {
  const std::string s = TrimBlanks(line);
  if (s.rfind("Selected:", 0) == 0) return s == "Selected:1" ? s : "Selected:0";
  return s;
}

/// Expects the saved file's plain lines to be `expected`, naming the first line that differs.
void ExpectPlainLines(const std::string& file, const std::vector<std::string>& expected) {
  const std::vector<std::string> actual = PlainLines(file);
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
  }
  EXPECT_EQ(actual.size(), expected.size());
}

/// One loaded catalogue file and the name it is reported under.
struct LoadedFile {
  std::string name;
  std::unique_ptr<PrivacyConfigs> configs;
};

class ShippedCatalogue : public ::testing::Test {
 protected:
  static fs::path CatalogueDir() { return fs::path(QM_CATALOGUE_DIR); }

  static std::unique_ptr<PrivacyConfigs> Load(const fs::path& file) {
    auto configs = std::make_unique<PrivacyConfigs>();
    RegistryFixture registry;
    configs->LoadConfig(file.string(), WindowsTestFolders(), registry.Registry());
    return configs;
  }

  /// Every shipped plug-in file, in name order.
  static std::vector<fs::path> PluginFiles() {
    std::vector<fs::path> files;
    const fs::path dir = CatalogueDir() / "plugins";
    if (fs::is_directory(dir)) {
      for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().extension() == ".pc") files.push_back(entry.path());
      }
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  /// The main catalogue followed by every plug-in file.
  static std::vector<fs::path> AllFiles() {
    std::vector<fs::path> files = PluginFiles();
    files.insert(files.begin(), CatalogueDir() / "PrivacyConfig.dat");
    return files;
  }

  static std::vector<LoadedFile> LoadAll() {
    std::vector<LoadedFile> all;
    for (const fs::path& file : AllFiles()) all.push_back({file.filename().string(), Load(file)});
    return all;
  }

  // The catalogue is expanded against fixed folders, so the checks do not depend on the machine.
  };

TEST_F(ShippedCatalogue, BuiltInConfigurationsComeFirstWithThePreferencesItemsInOrder) {
  const auto configs = Load(CatalogueDir() / "PrivacyConfig.dat");
  ASSERT_GE(configs->Count(), 2);

  const std::array<const char*, 2> names = {"Windows", "Internet Explorer"};
  // The Preferences pages tick item i + 1 for check box i, so these titles and their order are fixed.
  const std::array<std::array<const char*, 6>, 2> titles = {{
      {"Recent Documents History", "Recent Search History", "Recent Run History", "Open/Save Dialog Box History",
       "Window Temp Files", "Recycle Bin"},
      {"Address Bar History", "Internet Browser History", "AutoComplete History",
       "Temporary Internet Files(Cache Files)", "Downloaded Program Files", "Cookies"},
  }};
  for (int c = 0; c < 2; ++c) {
    const auto& config = configs->Item(c + 1);
    SCOPED_TRACE(names[c]);
    EXPECT_EQ(config->Software, names[c]);
    EXPECT_EQ(config->SoftwareType, SoftwareType::Root);
    EXPECT_TRUE(config->Selected);
    EXPECT_FALSE(config->Description.empty());
    ASSERT_GE(config->Items.Count(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(config->Items.Item(i + 1)->Title, titles[c][i]) << "item " << i + 1;
  }

  // The two special parsers the built-in pages rely on.
  const auto& windows = configs->Item(1)->Items;
  EXPECT_EQ(windows.Item(6)->ItemType, PrivacyItemType::Customize);
  ASSERT_GE(windows.Item(6)->SeekSettings.Count(), 1);
  EXPECT_EQ(windows.Item(6)->SeekSettings.Item(1), "ParseRecycleBin");
  const auto& ie = configs->Item(2)->Items;
  EXPECT_EQ(ie.Item(3)->ItemType, PrivacyItemType::Customize);
  ASSERT_GE(ie.Item(3)->SeekSettings.Count(), 1);
  EXPECT_EQ(ie.Item(3)->SeekSettings.Item(1), "ParseIEAutoComplete");

  // The main file ships the built-in configurations and the plug-ins already added, nothing else; the two
  // built-in ones are its only Root configurations.
  for (int64_t i = 3; i <= configs->Count(); ++i) {
    EXPECT_EQ(configs->Item(i)->SoftwareType, SoftwareType::Plugins) << configs->Item(i)->Software;
  }
}

TEST_F(ShippedCatalogue, PluginsAreVersionedPluginConfigurationsOfTheirOwn) {
  const std::vector<fs::path> files = PluginFiles();
  EXPECT_GE(files.size(), 10u);

  std::set<std::string> names;
  const auto mainFile = Load(CatalogueDir() / "PrivacyConfig.dat");
  for (const auto& config : *mainFile) {
    if (config->SoftwareType == SoftwareType::Root) names.insert(config->Software);
  }

  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const auto configs = Load(file);
    ASSERT_EQ(configs->Count(), 1);
    const auto& config = configs->Item(1);
    EXPECT_EQ(config->SoftwareType, SoftwareType::Plugins);
    EXPECT_FALSE(config->Software.empty());
    EXPECT_FALSE(config->Description.empty());
    EXPECT_TRUE(config->Selected);
    EXPECT_GE(config->Items.Count(), 1);
    // The update window compares versions as decimal numbers; a text version would compare as text.
    EXPECT_TRUE(std::regex_match(config->Version, std::regex("[0-9]+(\\.[0-9]+)?"))) << config->Version;
    // The update window matches configurations by name: two files with one name would replace each other.
    EXPECT_TRUE(names.insert(config->Software).second) << config->Software << " is shipped twice";
  }
}

TEST_F(ShippedCatalogue, EveryItemHasAKnownTypeAndTheSeekSettingsItsTypeNeeds) {
  const std::set<std::string> rootKeys = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                          "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
  // Parser name -> number of seek settings it takes (the Mozilla parsers also take the profiles folder).
  const std::map<std::string, int64_t> parsers = {
      {"ParseRecycleBin", 1},         {"ParseIEAutoComplete", 1},    {"ParseMozillaAddressHistory", 2},
      {"ParseMozillaHistoryFile", 2}, {"ParseMozillaCacheFiles", 2}, {"ParseMozillaCookies", 2}};
  // Type -> fewest and most seek settings.
  const std::map<PrivacyItemType, std::pair<int64_t, int64_t>> counts = {
      {PrivacyItemType::RegValue, {2, 3}}, {PrivacyItemType::RegKey, {2, 2}},      {PrivacyItemType::RegSubKeyValue, {3, 3}},
      {PrivacyItemType::File, {1, 2}},     {PrivacyItemType::Folder, {1, 1}},      {PrivacyItemType::IniFileItem, {2, 3}},
      {PrivacyItemType::Customize, {1, 2}}};

  int64_t itemCount = 0;
  for (const LoadedFile& file : LoadAll()) {
    for (const auto& config : *file.configs) {
      std::set<std::string> titles;
      for (const auto& item : config->Items) {
        SCOPED_TRACE(file.name + ": " + config->Software + ": " + item->Title);
        ++itemCount;
        EXPECT_EQ(item->Software, config->Software);
        // A save finds each item line's item by its title: a repeated title would get the first one's states.
        EXPECT_TRUE(titles.insert(item->Title).second) << "title repeated";
        // Tree tags join names with a backslash: a name holding one would read as a deeper node.
        EXPECT_EQ(item->Title.find('\\'), std::string::npos);
        EXPECT_EQ(config->Software.find('\\'), std::string::npos);
        EXPECT_FALSE(item->HoldFlag);
        // The test folders are Windows paths: only a Windows build can walk them.
        if (FileSystem::Separator() == '\\') EXPECT_FALSE(item->Irregular);
        ASSERT_NE(item->ItemType, PrivacyItemType::Unknown);
        ASSERT_EQ(counts.count(item->ItemType), 1u);
        const auto [fewest, most] = counts.at(item->ItemType);
        const TextList& seek = item->SeekSettings;
        ASSERT_GE(seek.Count(), fewest);
        EXPECT_LE(seek.Count(), most);
        for (const std::string& s : seek) {
          EXPECT_FALSE(s.empty());
          EXPECT_EQ(s.find('%'), std::string::npos) << "unexpanded placeholder in " << s;
        }
        switch (item->ItemType) {
          case PrivacyItemType::RegValue:
          case PrivacyItemType::RegKey:
          case PrivacyItemType::RegSubKeyValue:
            EXPECT_EQ(rootKeys.count(seek.Item(1)), 1u) << seek.Item(1);
            break;
          case PrivacyItemType::Customize:
            ASSERT_EQ(parsers.count(seek.Item(1)), 1u) << seek.Item(1);
            EXPECT_EQ(seek.Count(), parsers.at(seek.Item(1)));
            break;
          default:
            break;
        }
      }
    }
  }
  EXPECT_GT(itemCount, 0);
}

TEST_F(ShippedCatalogue, NoItemEmptiesAProtectedFolderAndEveryPathStartsAtAPlaceholderFolder) {
  const SpecialFolders f = WindowsTestFolders();
  // Emptying any of these would wreck the system or the user's files; the roaming and local application
  // data folders hold every program's settings.
  const std::set<std::string> protectedFolders = {
      Comparable(f.UserProfileDir),  Comparable(f.WindowsDir),
      Comparable(f.SystemDir),       Comparable(f.ProgramFilesDir),
      Comparable(f.AppDataDir),      Comparable(f.UserProfileDir + "\\AppData\\Roaming"),
      Comparable(f.UserProfileDir + "\\AppData\\LocalLow"), Comparable(f.UserProfileDir + "\\AppData")};
  const std::vector<std::string> anchors = {Comparable(f.UserProfileDir), Comparable(f.WindowsDir),
                                            Comparable(f.ProgramFilesDir)};

  int64_t folderItems = 0;
  for (const LoadedFile& file : LoadAll()) {
    for (const auto& config : *file.configs) {
      for (const auto& item : config->Items) {
        const bool folder = item->ItemType == PrivacyItemType::Folder;
        // A File item without a pattern erases every file of its folder: it is held to the same rule.
        const bool everyFile = item->ItemType == PrivacyItemType::File && item->SeekSettings.Count() < 2;
        const bool path = folder || item->ItemType == PrivacyItemType::File || item->ItemType == PrivacyItemType::IniFileItem;
        if (!path || item->SeekSettings.Count() < 1) continue;
        SCOPED_TRACE(file.name + ": " + config->Software + ": " + item->Title);
        const std::string where = Comparable(item->SeekSettings.Item(1));
        if (folder || everyFile) {
          folderItems += folder ? 1 : 0;
          EXPECT_FALSE(IsDriveRoot(where)) << where;
          EXPECT_EQ(protectedFolders.count(where), 0u) << where;
        }
        // Written through a placeholder, so the item follows the user's folders on every machine.
        const bool anchored = std::any_of(anchors.begin(), anchors.end(), [&](const std::string& anchor) {
          return where.size() > anchor.size() + 1 && where.compare(0, anchor.size() + 1, anchor + "\\") == 0;
        });
        EXPECT_TRUE(anchored) << where;
      }
    }
  }
  EXPECT_GT(folderItems, 0);
}

TEST_F(ShippedCatalogue, NothingThatHoldsPasswordsSettingsOrBookmarksIsListed) {
  // Files and folders of the shipped programs that are the user's own data, never traces.
  const std::vector<std::string> forbidden = {
      "LOGIN DATA", "WEB DATA",   "BOOKMARKS",  "PREFERENCES", "PLACES.SQLITE", "LOGINS.JSON", "KEY4.DB",
      "KEY3.DB",    "PREFS.JS",   "VLCRC",      "CONFIG.XML",  "SESSION.XML",   "\\BACKUP",    "NORMAL.DOTM",
      "STORAGE2",   "FAVORITES",  "CREDENTIALS", "VAULT"};
  for (const LoadedFile& file : LoadAll()) {
    for (const auto& config : *file.configs) {
      for (const auto& item : config->Items) {
        std::string seek;
        for (const std::string& s : item->SeekSettings) seek += Upper(s) + "|";
        for (const std::string& word : forbidden) {
          EXPECT_EQ(seek.find(word), std::string::npos)
              << file.name << ": " << config->Software << ": " << item->Title << " names " << word;
        }
      }
    }
  }
}

TEST_F(ShippedCatalogue, LoadAndSaveGiveBackTheSamePlainLines) {
  ScratchFolder folder("shipped-round-trip");
  RegistryFixture registry;
  for (const fs::path& file : AllFiles()) {
    SCOPED_TRACE(file.string());
    ASSERT_TRUE(fs::exists(file));
    std::vector<std::string> expected;
    for (const std::string& line : PlainLines(file.string())) expected.push_back(Normalised(line));

    PrivacyConfigs catalogue;
    catalogue.LoadConfig(file.string(), WindowsTestFolders(), registry.Registry());
    // The load puts the configurations into display order; the shipped files list them in that order.
    const std::string copy = folder / file.filename().string();
    catalogue.SaveConfig(copy);
    ExpectPlainLines(copy, expected);

    PrivacyConfigs again;
    again.LoadConfig(copy, WindowsTestFolders(), registry.Registry());
    again.SaveConfig(copy);
    ExpectPlainLines(copy, expected);
    EXPECT_EQ(again.Count(), catalogue.Count());
  }
}

}  // namespace
}  // namespace qm::testing
