// The catalogue as it ships: built from data/ by the build, loaded with the program's own loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "catalogue_helpers.h"
#include "config/privacy_configs.h"
#include "config/seek_rules.h"
#include "config/settings_string.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

/// Upper-cased, "/" as "\", without trailing separators: the form paths are compared in.
std::string Comparable(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  while (!path.empty() && path.back() == '\\') path.pop_back();
  for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return path;
}

/// The main catalogue, then every shipped plug-in file in name order.
std::vector<fs::path> ShippedFiles() {
  const fs::path dir(QM_CATALOGUE_DIR);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir / "plugins")) {
    if (entry.path().extension() == ".pc") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  files.insert(files.begin(), dir / "PrivacyConfig.dat");
  return files;
}

TEST(ShippedCatalogue, BuiltInConfigurationsComeFirstThenThePluginsEachVersionedAndInAFileOfItsOwn) {
  const std::vector<fs::path> files = ShippedFiles();
  const auto catalogue = ReadCatalogue(files[0].string());
  // The Preferences pages tick item i + 1 for check box i, so the first six titles and their order are fixed.
  Lines firstSix;
  for (int64_t c = 1; c <= 2; ++c) {
    const auto& config = catalogue->Item(c);
    EXPECT_EQ(config->SoftwareType, SoftwareType::Root) << config->Software;
    EXPECT_TRUE(config->Selected) << config->Software;
    EXPECT_FALSE(config->Description.empty()) << config->Software;
    for (int64_t i = 1; i <= 6; ++i) firstSix.push_back(config->Software + ": " + config->Items.Item(i)->Title);
  }
  EXPECT_EQ(Joined(firstSix), Joined(FixtureLines("config/built_in_items.txt")));
  // The two special parsers the built-in pages rely on.
  EXPECT_EQ(Entries(catalogue->Item(1)->Items.Item(6)->SeekSettings), Lines{"ParseRecycleBin"});
  EXPECT_EQ(catalogue->Item(1)->Items.Item(6)->ItemType, PrivacyItemType::Customize);
  EXPECT_EQ(Entries(catalogue->Item(2)->Items.Item(3)->SeekSettings), Lines{"ParseIEAutoComplete"});
  EXPECT_EQ(catalogue->Item(2)->Items.Item(3)->ItemType, PrivacyItemType::Customize);
  // The form entries cost the user their suggestions: the user decides.
  EXPECT_FALSE(catalogue->Item(2)->Items.Item(3)->Selected);
  // UserAssist keeps its run counts under these two keys only; any other GUID names a key that does not exist.
  int userAssist = 0;
  for (const auto& item : catalogue->Item(1)->Items) {
    const std::string path = item->SeekSettings.Count() >= 2 ? item->SeekSettings.Item(2) : "";
    if (path.find("\\UserAssist\\") == std::string::npos) continue;
    ++userAssist;
    EXPECT_TRUE(path.ends_with("\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count") ||
                path.ends_with("\\UserAssist\\{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}\\Count"))
        << path;
  }
  EXPECT_EQ(userAssist, 2);
  // Besides the two built-in configurations the main file ships only the plug-ins already added.
  for (int64_t i = 3; i <= catalogue->Count(); ++i) {
    EXPECT_EQ(catalogue->Item(i)->SoftwareType, SoftwareType::Plugins) << catalogue->Item(i)->Software;
  }

  EXPECT_GE(files.size(), 11u);
  std::set<std::string> names = {catalogue->Item(1)->Software, catalogue->Item(2)->Software};
  for (std::size_t f = 1; f < files.size(); ++f) {
    SCOPED_TRACE(files[f].filename().string());
    const auto configs = ReadCatalogue(files[f].string());
    ASSERT_EQ(configs->Count(), 1);
    const auto& config = configs->Item(1);
    EXPECT_EQ(config->SoftwareType, SoftwareType::Plugins);
    EXPECT_FALSE(config->Description.empty());
    EXPECT_TRUE(config->Selected);
    EXPECT_GE(config->Items.Count(), 1);
    // A plug-in tells whether its program is installed, so a user sees only what is there.
    EXPECT_TRUE(std::any_of(config->Items.begin(), config->Items.end(),
                            [](const auto& item) { return item->ItemType == PrivacyItemType::Detect; }))
        << config->Software << " detects nothing";
    // The update window compares versions as decimal numbers; a text version would compare as text.
    EXPECT_TRUE(std::regex_match(config->Version, std::regex("[0-9]+(\\.[0-9]+)?"))) << config->Version;
    // The update window matches configurations by name: two files with one name would replace each other.
    EXPECT_FALSE(config->Software.empty());
    EXPECT_TRUE(names.insert(config->Software).second) << config->Software << " is shipped twice";
  }
}

TEST(ShippedCatalogue, EveryFileSavesBackAsItIsAndEveryItemIsWellFormedAndReachesNoProtectedFolderNorUserData) {
  const std::set<std::string> rootKeys = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                          "HKEY_CURRENT_CONFIG"};
  // Parser name -> number of seek settings it takes (the Mozilla parsers also take the profiles folder).
  const std::map<std::string, int64_t> parsers = {
      {"ParseRecycleBin", 1},         {"ParseIEAutoComplete", 1},    {"ParseMozillaAddressHistory", 2},
      {"ParseMozillaHistoryFile", 2}, {"ParseMozillaCacheFiles", 2}, {"ParseMozillaCookies", 2}};
  // Type -> fewest and most seek settings.
  const std::map<PrivacyItemType, std::pair<int64_t, int64_t>> counts = {
      {PrivacyItemType::RegValue, {2, 3}},       {PrivacyItemType::RegKey, {2, 3}},
      {PrivacyItemType::RegSubKeyValue, {3, 3}}, {PrivacyItemType::File, {1, 2}},
      {PrivacyItemType::Folder, {1, 2}},         {PrivacyItemType::IniFileItem, {2, 3}},
      {PrivacyItemType::Customize, {1, 2}},      {PrivacyItemType::FileTree, {2, 3}},
      {PrivacyItemType::Detect, {1, 2}}};
  // The last seek setting of these types, when it is there, is the RemoveSelf option.
  const std::map<PrivacyItemType, int64_t> optionAt = {
      {PrivacyItemType::Folder, 2}, {PrivacyItemType::RegKey, 3}, {PrivacyItemType::FileTree, 3}};
  const SpecialFolders f = WindowsTestFolders();
  // Every path lies strictly below one of these, so no item names a drive root or one of them itself...
  const Lines anchors = {Comparable(f.UserProfileDir),   Comparable(f.WindowsDir),
                         Comparable(f.ProgramFilesDir),  Comparable(f.ProgramFilesX86Dir),
                         Comparable(f.CommonAppDataDir), Comparable(f.PublicDir)};
  // ... and none empties one of these: that would wreck the system, or every program's settings.
  const std::set<std::string> protectedFolders = {
      Comparable(f.SystemDir),         Comparable(f.AppDataDir),         Comparable(f.UserProfileDir + "\\AppData"),
      Comparable(f.RoamingAppDataDir), Comparable(f.LocalLowAppDataDir), Comparable(f.DocumentsDir),
      Comparable(f.CommonAppDataDir),  Comparable(f.ProgramFilesX86Dir), Comparable(f.ProgramFilesDir)};
  // Upper-cased names of files and folders of the shipped programs that are the user's own data, never traces.
  const Lines forbidden = FixtureLines("config/user_data_names.txt");

  ScratchFolder folder("shipped-round-trip");
  for (const fs::path& file : ShippedFiles()) {
    const auto configs = ReadCatalogue(file.string());
    {
      SCOPED_TRACE(file.string());
      // A save writes each line trimmed, and a "Selected:" line as "Selected:1" or "Selected:0".
      Lines expected;
      for (const std::string& line : PlainLines(file.string())) {
        const std::string s = TrimBlanks(line);
        expected.push_back(s.rfind("Selected:", 0) != 0 || s == "Selected:1" ? s : "Selected:0");
      }
      // The load puts the configurations into display order; the shipped files list them in that order. The
      // lines are compared as one text, so a failure shows where they differ.
      const std::string copy = folder / file.filename().string();
      configs->SaveConfig(copy);
      EXPECT_EQ(Joined(PlainLines(copy)), Joined(expected));
      ReadCatalogue(copy)->SaveConfig(copy);
      EXPECT_EQ(Joined(PlainLines(copy)), Joined(expected));
    }
    for (const auto& config : *configs) {
      for (const auto& item : config->Items) {
        SCOPED_TRACE(file.filename().string() + ": " + config->Software + ": " + item->Title);
        // A save finds each item line's item by its title: a repeated title would get the first one's states.
        EXPECT_EQ(config->FindPrivacyItem(item->Title), item) << "title repeated";
        // Tree tags join names with a backslash: a name holding one would read as a deeper node.
        EXPECT_EQ((config->Software + item->Title).find('\\'), std::string::npos);
        EXPECT_FALSE(item->HoldFlag);
        // The test folders are Windows paths: only a Windows build can walk them.
        if (FileSystem::Separator() == '\\') {
          EXPECT_FALSE(item->Irregular);
        }
        ASSERT_EQ(counts.count(item->ItemType), 1u);
        const auto [fewest, most] = counts.at(item->ItemType);
        const TextList& seek = item->SeekSettings;
        ASSERT_GE(seek.Count(), fewest);
        EXPECT_LE(seek.Count(), most);
        if (optionAt.count(item->ItemType) && seek.Count() == optionAt.at(item->ItemType)) {
          EXPECT_TRUE(RemovesSelf(*item)) << seek.Item(seek.Count()) << " is no option";
        }
        for (const std::string& s : seek) {
          EXPECT_FALSE(s.empty());
          EXPECT_EQ(s.find('%'), std::string::npos) << "unexpanded placeholder in " << s;
          for (const std::string& word : forbidden) EXPECT_EQ(Comparable(s).find(word), std::string::npos) << s;
        }
        const PrivacyItemType type = item->ItemType;
        if (type == PrivacyItemType::RegValue || type == PrivacyItemType::RegKey ||
            type == PrivacyItemType::RegSubKeyValue) {
          EXPECT_EQ(rootKeys.count(seek.Item(1)), 1u) << seek.Item(1);
        }
        if (type == PrivacyItemType::Customize) {
          ASSERT_EQ(parsers.count(seek.Item(1)), 1u) << seek.Item(1);
          EXPECT_EQ(seek.Count(), parsers.at(seek.Item(1)));
        }
        if (type == PrivacyItemType::Detect && DetectsKey(*item)) {
          EXPECT_EQ(rootKeys.count(seek.Item(1)), 1u);
        }
        if (type != PrivacyItemType::Folder && type != PrivacyItemType::File && type != PrivacyItemType::IniFileItem &&
            type != PrivacyItemType::FileTree && !(type == PrivacyItemType::Detect && !DetectsKey(*item))) {
          continue;
        }
        // Written through a placeholder, so the item follows the user's folders on every machine.
        const std::string where = Comparable(seek.Item(1));
        EXPECT_TRUE(std::any_of(anchors.begin(), anchors.end(), [&](const std::string& anchor) {
          return where.size() > anchor.size() + 1 && where.compare(0, anchor.size() + 1, anchor + "\\") == 0;
        })) << where;
        // A File item without a pattern, or a FileTree item taking every file, erases every file of its folder:
        // it is held to the Folder rule.
        const bool everyFile = seek.Count() < 2 || seek.Item(2) == "*";
        if (type == PrivacyItemType::Folder || (type == PrivacyItemType::File && everyFile) ||
            (type == PrivacyItemType::FileTree && everyFile)) {
          EXPECT_EQ(protectedFolders.count(where), 0u) << where;
        }
      }
    }
  }
}

TEST(ShippedCatalogue, TheDataReadmeListsEveryConfigurationWithEveryItemAndItsDefault) {
  const std::string readme = ReadFixtureText(FixturePath("../../data/README.md"));
  for (const fs::path& file : ShippedFiles()) {
    const auto configs = ReadCatalogue(file.string());
    for (const auto& config : *configs) {
      EXPECT_NE(readme.find("\n### " + config->Software + "\n"), std::string::npos) << config->Software;
      for (const auto& item : config->Items) {
        if (item->ItemType == PrivacyItemType::Detect) continue;
        const std::string row = "\n| " + item->Title + " | " + (item->Selected ? "yes" : "no") + " |";
        EXPECT_NE(readme.find(row), std::string::npos) << config->Software << ": " << row;
      }
    }
  }
}

}  // namespace
}  // namespace qm::testing
