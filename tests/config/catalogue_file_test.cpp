#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "catalogue_helpers.h"
#include "config/crypt.h"
#include "config/placeholders.h"
#include "config/privacy_configs.h"
#include "config/settings_string.h"
#include "platform/file_system.h"
#include "support/lines.h"
#include "support/raised_error.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

/// Loads `file` as the program does, with a registry of its own and the fixed Windows placeholder folders, but
/// no Windows folder (as on Linux).
void Load(PrivacyConfigs& catalogue, const std::string& file) {
  SpecialFolders folders = WindowsTestFolders();
  folders.WindowsDir.clear();
  RegistryFixture registry;
  catalogue.LoadConfig(file, folders, registry.Registry());
}

/// Expects `call` to raise a run-time error with `number` whose "number|source|description" holds `text`.
void ExpectError(int32_t number, const std::string& text, const std::function<void()>& call) {
  const std::string raised = RaisedError(call);
  EXPECT_TRUE(raised.starts_with(std::to_string(number) + "|") && raised.find(text) != std::string::npos) << raised;
}

TEST(Crypt, MatchesHandComputedVectorsAndRefusesWhatIsNotEnciphered) {
  for (const auto& [plain, cipher] : FixtureCases("config/cipher_vectors.txt")) {
    EXPECT_EQ(Crypt::EnCrypt(plain), cipher) << plain;
    EXPECT_EQ(Crypt::DeCrypt(cipher), plain);
  }
  EXPECT_EQ(Crypt::DeCrypt("9461dee9"), "Caf\xC3\xA9");  // lower-case digits are hexadecimal too
  EXPECT_TRUE(Crypt::IsCipherText("0aFF"));
  for (const char* bad : {"9", "92A", "9G", "92 4", "-1", "[Config]x"}) {
    EXPECT_FALSE(Crypt::IsCipherText(bad)) << bad;
    ExpectError(Crypt::kInvalidCipherText, "|Crypt|", [&] { Crypt::DeCrypt(bad); });
  }
}

TEST(Crypt, EveryTextByteSurvivesAtEveryKeyPosition) {
  // 0xFF + 0x51 - 255 = 0x51: the same cipher byte as a plain 0 would give. Text never holds a NUL, so the
  // cipher byte is read back as 0xFF.
  EXPECT_EQ(Crypt::EnCryptBytes("\xFF"), "51");
  // Where the key byte is 0 nothing wraps: 0xFF stays 0xFF.
  EXPECT_EQ(Crypt::EnCryptBytes("a\xFF"), "B2FF");
  EXPECT_EQ(Crypt::DeCrypt(Crypt::EnCrypt("\xC3\xBF")), "\xC3\xBF");  // ÿ
  for (std::size_t position = 0; position < 30; ++position) {
    for (int b = 1; b <= 255; ++b) {
      const std::string plain = std::string(position, 'x') + static_cast<char>(b);
      const std::string stored = Crypt::EnCryptBytes(plain);
      ASSERT_EQ(stored.size(), 2 * plain.size());
      ASSERT_EQ(Crypt::DeCryptBytes(stored), plain) << "byte " << b << " at " << position;
    }
  }
}

TEST(CatalogueFile, LoadFillsConfigurationsItemsAndFileLinesAndSaveWritesOnlyWhatTheUserChanges) {
  ScratchFolder folder("catalogue-load");
  const std::string file = folder / "PrivacyConfig.dat";
  // The plain form, as a person writes it: a Root configuration after a custom one, with items of every shape.
  const Lines sample = FixtureLines("config/sample.txt");
  WriteCatalogue(file, sample);
  PrivacyConfigs catalogue;
  Load(catalogue, file);

  // ReOrder ran: the Root configuration comes first. "Selected:" followed by anything but "1" is not selected.
  // Seek parts are expanded and trimmed; holds count only with the hold flag on, and parts after them not at all.
  EXPECT_EQ(Joined(Described(catalogue)), Joined(FixtureLines("config/sample_loaded.txt")));
  // Lines before the first block belong to the first configuration; later blocks start with "[Config]".
  EXPECT_EQ(Entries(catalogue.Item(2)->FileLines), Lines(sample.begin(), sample.begin() + 15));
  EXPECT_EQ(Entries(catalogue.Item(1)->FileLines), Lines(sample.begin() + 15, sample.end()));
  EXPECT_FALSE(catalogue.Item(2)->FindPrivacyItem("Address Bar History")->Irregular);
  // An item without a path finds nothing, and the load says so; so does one whose placeholder expands to nothing.
  EXPECT_TRUE(catalogue.Item(1)->FindPrivacyItem("NoSeek")->Irregular);
  EXPECT_TRUE(catalogue.Item(1)->FindPrivacyItem("NoWindows")->Irregular);
  const std::string noPath = "\"" + file + "\" line 20: item \"NoSeek\" of \"Base\" finds nothing: it names no path";
  EXPECT_NE(std::find(catalogue.LoadWarnings.begin(), catalogue.LoadWarnings.end(), noPath),
            catalogue.LoadWarnings.end());

  // A save writes only check states and holds, each item's on its own line.
  const auto base = catalogue.Item(1);
  const auto mine = catalogue.Item(2);
  mine->Selected = false;
  mine->Software = "Renamed";
  mine->Description = "changed";
  base->FindPrivacyItem("Profile")->Selected = false;
  const auto files = base->FindPrivacyItem("Files");
  files->Selected = true;
  files->HoldSettings.Add("C:\\f\\new.txt");
  const auto recent = mine->FindPrivacyItem("Recent");
  recent->HoldFlag = true;
  recent->HoldSettings.Add("Software\\A\\MRUList");
  // Two items of one title: each keeps its own check state on its own line.
  mine->Items.Item(6)->Selected = true;
  catalogue.SaveConfig(file);

  // The blocks go in the new order. Lines are trimmed, seek parts go back unexpanded, unloaded holds and the
  // parts after the holds are dropped, extra fields stay.
  const Lines saved = PlainLines(file);
  EXPECT_EQ(Joined(saved), Joined(FixtureLines("config/sample_saved.txt")));
  // Every stored line is upper-case hexadecimal, the empty one too.
  for (const std::string& raw : RawLines(file)) EXPECT_TRUE(Crypt::IsCipherText(raw)) << raw;
  // A configuration made in memory without lines writes nothing.
  catalogue.Add(std::make_shared<PrivacyConfig>());
  catalogue.SaveConfig(file);
  EXPECT_EQ(PlainLines(file), saved);

  // An empty file empties the catalogue without an error.
  WriteBytes(file, "");
  Load(catalogue, file);
  EXPECT_EQ(catalogue.Count(), 0);
}

TEST(CatalogueFile, LoadFailuresKeepWhatWasLoadedAndASaveReplacesItsTargetAtomically) {
  ScratchFolder folder("catalogue-bad");
  const std::string file = folder / "catalogue.dat";
  WriteCatalogue(file, {"[Config]", "Software:Kept", "Type:Root", "A<>1<>0<>File><C:\\a"});
  PrivacyConfigs catalogue;
  Load(catalogue, file);

  // A file that cannot be opened leaves the catalogue as it was.
  EXPECT_THROW(Load(catalogue, folder / "missing.dat"), RuntimeError);
  EXPECT_EQ(Described(catalogue), (Lines{"[Root|Kept|0||]", "Kept: A<>1<>0<>File><C:\\a><"}));

  // A stored line that is not enciphered text stops the load, naming the file and the line.
  WriteBytes(file, Crypt::EnCrypt("[Config]") + "\r\n" + Crypt::EnCrypt("Software:Half") + "\r\n" +
                       Crypt::EnCrypt("Type:Customs") + "\r\nABC\r\n" + Crypt::EnCrypt("Selected:1") + "\r\n");
  ExpectError(Crypt::kInvalidCipherText, "catalogue.dat\" line 4", [&] { Load(catalogue, file); });
  EXPECT_EQ(Described(catalogue), (Lines{"[Customs|Half|0||]"}));

  // A key line before the first block.
  WriteCatalogue(file, {"-- fine", "Software:Nowhere", "[Config]"});
  ExpectError(91, "catalogue.dat\" line 2", [&] { Load(catalogue, file); });
  EXPECT_EQ(catalogue.Count(), 0);

  // An item line with too few fields, or without a seek part: the item made for the line stays, and the
  // catalogue is not re-ordered.
  WriteCatalogue(file, {"[Config]", "Type:Customs", "Software:Z", "[Config]", "Type:Root", "Software:R",
                        "Good<>1<>0<>File><C:\\g", "Short<>1<>0><C:\\s", "Never<>1<>0<>File><C:\\n"});
  ExpectError(errors::kSubscriptOutOfRange, "line 8", [&] { Load(catalogue, file); });
  EXPECT_EQ(Described(catalogue),
            (Lines{"[Customs|Z|0||]", "[Root|R|0||]", "R: Good<>1<>0<>File><C:\\g><", "R: Short<>1<>0<>><><"}));
  WriteCatalogue(file, {"[Config]", "Software:R", "NoPart<>1<>0<>File"});
  ExpectError(errors::kSubscriptOutOfRange, "line 3", [&] { Load(catalogue, file); });
  EXPECT_EQ(Described(catalogue), (Lines{"[|R|0||]", "R: NoPart<>1<>0<>File><><"}));

  // A save replaces its target atomically.
  const std::string target = folder / "PrivacyConfig.dat";
  WriteCatalogue(target, {"[Config]", "Software:App", "Selected:0", "Recent<>0<>0<>File><C:\\r"});
  const std::string original = ReadBytes(target);
  Load(catalogue, target);

  // An item renamed in memory has no line: the save stops, the target is untouched, the partial ".tmp"
  // stays behind.
  catalogue.Item(1)->Items.Item(1)->Title = "Renamed";
  EXPECT_THROW(catalogue.SaveConfig(target), RuntimeError);
  EXPECT_EQ(ReadBytes(target), original);
  EXPECT_TRUE(fs::exists(target + ".tmp"));
  catalogue.Item(1)->Items.Item(1)->Title = "Recent";

  // A stale ".tmp" from a killed save is simply replaced, and a read-only target is replaced too.
  WriteBytes(target + ".tmp", "half a line");
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  catalogue.Item(1)->Selected = true;
  catalogue.SaveConfig(target);
  EXPECT_EQ(PlainLines(target), (Lines{"[Config]", "Software:App", "Selected:1", "Recent<>0<>0<>File><C:\\r"}));
  EXPECT_FALSE(fs::exists(target + ".tmp"));

  // When the ".tmp" cannot be written the old catalogue stays whole.
  const std::string kept = ReadBytes(target);
  fs::create_directory(target + ".tmp");
  catalogue.Item(1)->Selected = false;
  EXPECT_THROW(catalogue.SaveConfig(target), RuntimeError);
  EXPECT_EQ(ReadBytes(target), kept);
}

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
      {PrivacyItemType::RegValue, {2, 3}}, {PrivacyItemType::RegKey, {2, 2}}, {PrivacyItemType::RegSubKeyValue, {3, 3}},
      {PrivacyItemType::File, {1, 2}},     {PrivacyItemType::Folder, {1, 1}}, {PrivacyItemType::IniFileItem, {2, 3}},
      {PrivacyItemType::Customize, {1, 2}}};
  const SpecialFolders f = WindowsTestFolders();
  // Every path lies strictly below one of these, so no item names a drive root or one of them itself...
  const Lines anchors = {Comparable(f.UserProfileDir), Comparable(f.WindowsDir), Comparable(f.ProgramFilesDir)};
  // ... and none empties one of these: that would wreck the system, or every program's settings.
  const std::set<std::string> protectedFolders = {
      Comparable(f.SystemDir), Comparable(f.AppDataDir), Comparable(f.UserProfileDir + "\\AppData"),
      Comparable(f.UserProfileDir + "\\AppData\\Roaming"), Comparable(f.UserProfileDir + "\\AppData\\LocalLow")};
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
        if (type != PrivacyItemType::Folder && type != PrivacyItemType::File && type != PrivacyItemType::IniFileItem) {
          continue;
        }
        // Written through a placeholder, so the item follows the user's folders on every machine.
        const std::string where = Comparable(seek.Item(1));
        EXPECT_TRUE(std::any_of(anchors.begin(), anchors.end(), [&](const std::string& anchor) {
          return where.size() > anchor.size() + 1 && where.compare(0, anchor.size() + 1, anchor + "\\") == 0;
        })) << where;
        // A File item without a pattern erases every file of its folder: it is held to the Folder rule.
        if (type == PrivacyItemType::Folder || (type == PrivacyItemType::File && seek.Count() < 2)) {
          EXPECT_EQ(protectedFolders.count(where), 0u) << where;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qm::testing
