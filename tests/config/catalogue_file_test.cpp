#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue_files.h"
#include "config/placeholders.h"
#include "config/privacy_configs.h"
#include "platform/file_system.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> Entries(const TextList& list) { return {list.begin(), list.end()}; }

/// The start of an absolute path on this platform: "C:" on Windows, nothing on Linux (where the catalogue's
/// "\x" is "/x").
const std::string kRoot = FileSystem::Separator() == '\\' ? "C:" : "";

/// Loads `file` as the program does, with fixed Windows placeholder folders and a registry of its own.
void Load(PrivacyConfigs& catalogue, const std::string& file, const SpecialFolders& folders = WindowsTestFolders()) {
  RegistryFixture registry;
  catalogue.LoadConfig(file, folders, registry.Registry());
}

/// A small catalogue file in the plain form, as a person writes it.
const Lines kSample = {
    "-- catalogue head comment",
    "",
    "[Config]",
    "Type:Customs",
    "Software:My Cleaner",
    "Description:Things I clear",
    "Selected:1",
    "-- a comment line",
    "Cookies<>1<>0<>Folder><" + kRoot + "\\Users\\me\\Cookies",
    "Address Bar History<>1<>1<>RegKey><HKEY_CURRENT_USER<>Software\\Microsoft\\Internet Explorer\\Main><Software"
    "\\Microsoft\\Internet Explorer\\Main\\Start Page",
    "Recycle Bin<>0<>0<>Customize><ParseRecycleBin",
    "Version:1.0",
    "[Config]",
    "Software:Base",
    "Type:Root",
    "Selected:yes",
    "Temp<>1<>0<>File><" + kRoot + "\\Temp<>*.tmp  ><  ",
    "Odd<>1<>0<>Bogus><x",
};

TEST(CatalogueFile, LoadFillsConfigurationsItemsAndFileLines) {
  ScratchFolder folder("catalogue-load");
  const std::string file = folder / "PrivacyConfig.dat";
  WriteCatalogue(file, kSample);
  PrivacyConfigs catalogue;
  Load(catalogue, file);

  // ReOrder ran: the Root configuration comes first.
  ASSERT_EQ(catalogue.Count(), 2);
  const auto base = catalogue.Item(1);
  const auto mine = catalogue.Item(2);
  EXPECT_EQ(base->Software, "Base");
  EXPECT_EQ(base->SoftwareType, SoftwareType::Root);
  EXPECT_FALSE(base->Selected);  // "Selected:" followed by anything but "1"
  EXPECT_EQ(mine->Software, "My Cleaner");
  EXPECT_EQ(mine->SoftwareType, SoftwareType::Customs);
  EXPECT_EQ(mine->Description, "Things I clear");
  EXPECT_TRUE(mine->Selected);
  EXPECT_EQ(mine->Version, "1.0");

  // Lines before the first block belong to the first configuration; later blocks start with "[Config]".
  EXPECT_EQ(Entries(mine->FileLines), Lines(kSample.begin(), kSample.begin() + 12));
  EXPECT_EQ(Entries(base->FileLines), Lines(kSample.begin() + 12, kSample.end()));

  ASSERT_EQ(mine->Items.Count(), 3);
  const auto cookies = mine->Items.Item(1);
  EXPECT_EQ(cookies->Software, "My Cleaner");
  EXPECT_EQ(cookies->Title, "Cookies");
  EXPECT_TRUE(cookies->Selected);
  EXPECT_FALSE(cookies->HoldFlag);
  EXPECT_EQ(cookies->ItemType, PrivacyItemType::Folder);
  EXPECT_FALSE(cookies->Irregular);
  EXPECT_EQ(Entries(cookies->SeekSettings), (Lines{kRoot + "\\Users\\me\\Cookies"}));
  const auto address = mine->Items.Item(2);
  EXPECT_TRUE(address->HoldFlag);
  EXPECT_EQ(address->ItemType, PrivacyItemType::RegKey);
  EXPECT_EQ(Entries(address->SeekSettings),
            (Lines{"HKEY_CURRENT_USER", "Software\\Microsoft\\Internet Explorer\\Main"}));
  EXPECT_EQ(Entries(address->HoldSettings), (Lines{"Software\\Microsoft\\Internet Explorer\\Main\\Start Page"}));
  EXPECT_FALSE(mine->Items.Item(3)->Selected);
  EXPECT_EQ(mine->Items.Item(3)->ItemType, PrivacyItemType::Customize);

  const auto temp = base->Items.Item(1);
  EXPECT_EQ(temp->Software, "Base");
  EXPECT_EQ(Entries(temp->SeekSettings), (Lines{kRoot + "\\Temp", "*.tmp"}));
  EXPECT_TRUE(temp->HoldSettings.empty());
  EXPECT_EQ(base->Items.Item(2)->ItemType, PrivacyItemType::Unknown);

  // An empty file empties the catalogue without an error.
  WriteBytes(file, "");
  Load(catalogue, file);
  EXPECT_EQ(catalogue.Count(), 0);
}

TEST(CatalogueFile, SeekPartsHoldsAndPlaceholders) {
  ScratchFolder folder("catalogue-seek");
  const std::string file = folder / "c.dat";
  SpecialFolders folders = WindowsTestFolders();
  folders.WindowsDir = "";
  folders.TemporaryDir = folder.Path();
  WriteCatalogue(file, {"[Config]", "Software:S", "Type:Root",
                        "NoSeek<>1<>0<>File><",
                        "NoWindows<>1<>0<>Folder><%windowsdir%\\Temp",
                        "Tmp<>1<>0<>Folder><%temporarydir%\\x",
                        "Unheld<>1<>0<>File><C:\\a<>*.txt><C:\\a\\keep.txt",
                        "Extra<>1<>1<>File><C:\\a><C:\\a\\k1.txt<>C:\\a\\k2.txt><ignored",
                        "Fields<>1<>0<>File<>more<>fields><C:\\b"});
  PrivacyConfigs catalogue;
  Load(catalogue, file, folders);
  const auto config = catalogue.Item(1);
  // An item without a path finds nothing, and the load says so; so does one whose placeholder expands to nothing.
  const auto noSeek = config->FindPrivacyItem("NoSeek");
  EXPECT_TRUE(noSeek->Irregular);
  EXPECT_TRUE(noSeek->SeekSettings.empty());
  ASSERT_GE(catalogue.LoadWarnings.size(), 1u);
  EXPECT_EQ(catalogue.LoadWarnings[0], "\"" + file + "\" line 4: item \"NoSeek\" of \"S\" finds nothing: it names no path");
  const auto noWindows = config->FindPrivacyItem("NoWindows");
  EXPECT_TRUE(noWindows->Irregular);
  EXPECT_TRUE(noWindows->SeekSettings.empty());
  EXPECT_EQ(Entries(config->FindPrivacyItem("Tmp")->SeekSettings), (Lines{folder.Path() + "\\x"}));
  EXPECT_TRUE(config->FindPrivacyItem("Unheld")->HoldSettings.empty());
  EXPECT_EQ(Entries(config->FindPrivacyItem("Extra")->HoldSettings), (Lines{"C:\\a\\k1.txt", "C:\\a\\k2.txt"}));
  EXPECT_EQ(config->FindPrivacyItem("Fields")->ItemType, PrivacyItemType::File);

  // The save writes the seek parts back unexpanded, drops the unloaded holds and the parts after the
  // holds, and keeps extra fields.
  config->FindPrivacyItem("Tmp")->Selected = false;
  catalogue.SaveConfig(file);
  EXPECT_EQ(PlainLines(file), (Lines{"[Config]", "Software:S", "Type:Root",
                                     "NoSeek<>1<>0<>File><",
                                     "NoWindows<>1<>0<>Folder><%windowsdir%\\Temp",
                                     "Tmp<>0<>0<>Folder><%temporarydir%\\x",
                                     "Unheld<>1<>0<>File><C:\\a<>*.txt",
                                     "Extra<>1<>1<>File><C:\\a><C:\\a\\k1.txt<>C:\\a\\k2.txt",
                                     "Fields<>1<>0<>File<>more<>fields><C:\\b"}));
}

TEST(CatalogueFile, SaveKeepsEveryLineAndWritesOnlyWhatTheUserChanges) {
  ScratchFolder folder("catalogue-save");
  const std::string file = folder / "PrivacyConfig.dat";
  // Blanks at the end of a line are dropped by the save.
  WriteCatalogue(file, {"-- head  ", "x", "[Config]", "Software:App", "Type:Plugins", "Description:d",
                        "Selected:", "Version:2.1", "", "Recent<>1<>0<>RegValue><HKEY_CURRENT_USER<>Software\\A  ",
                        "Files<>0<>1<>File><C:\\f><C:\\f\\old.txt", "Twice<>0<>0<>File><C:\\t1",
                        "Twice<>0<>0<>File><C:\\t2"});
  PrivacyConfigs catalogue;
  Load(catalogue, file);
  const auto app = catalogue.Item(1);
  EXPECT_FALSE(app->Selected);
  app->Selected = true;
  app->Software = "Renamed";     // not written: only check states and holds are
  app->Description = "changed";  // likewise
  const auto files = app->FindPrivacyItem("Files");
  files->Selected = true;
  files->HoldSettings.Add("C:\\f\\new.txt");
  const auto recent = app->FindPrivacyItem("Recent");
  recent->HoldFlag = true;
  recent->HoldSettings.Add("Software\\A\\MRUList");
  // Two items of one title: each keeps its own check state on its own line.
  app->Items.Item(4)->Selected = true;
  catalogue.SaveConfig(file);

  const Lines saved = PlainLines(file);
  EXPECT_EQ(saved, (Lines{"-- head", "x", "[Config]", "Software:App", "Type:Plugins", "Description:d",
                          "Selected:1", "Version:2.1", "",
                          "Recent<>1<>1<>RegValue><HKEY_CURRENT_USER<>Software\\A><Software\\A\\MRUList",
                          "Files<>1<>1<>File><C:\\f><C:\\f\\old.txt<>C:\\f\\new.txt",
                          "Twice<>0<>0<>File><C:\\t1", "Twice<>1<>0<>File><C:\\t2"}));
  // Every stored line is upper-case hexadecimal, and nothing is left beside the target.
  for (const std::string& raw : RawLines(file)) EXPECT_TRUE(Crypt::IsCipherText(raw)) << raw;
  EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
  // A configuration made in memory without lines writes nothing.
  catalogue.Add(std::make_shared<PrivacyConfig>());
  catalogue.SaveConfig(file);
  EXPECT_EQ(PlainLines(file), saved);
}

TEST(CatalogueFile, GeneratedCataloguesSurviveLoadSaveLoad) {
  ScratchFolder folder("catalogue-generated");
  const std::string file = folder / "gen.dat";
  Lines lines;
  for (int c = 0; c < 40; ++c) {
    lines.push_back("[Config]");
    lines.push_back("Type:" + std::string(c % 3 == 0 ? "Root" : c % 3 == 1 ? "Plugins" : "Customs"));
    lines.push_back("Software:Soft \xC3\xA9" + std::to_string(39 - c));
    lines.push_back("Selected:" + std::string(c % 2 ? "1" : "0"));
    lines.push_back("-- comment " + std::to_string(c));
    for (int i = 0; i < c % 5; ++i) {
      lines.push_back("Item " + std::to_string(i) + "<>" + (i % 2 ? "1" : "0") + "<>" + (i == 3 ? "1" : "0") +
                      "<>File><C:\\dir" + std::to_string(i) + "<>*.x" + (i == 3 ? "><C:\\dir3\\a.x<>C:\\dir3\\b.x" : ""));
    }
  }
  WriteCatalogue(file, lines);
  PrivacyConfigs first;
  Load(first, file);
  first.SaveConfig(file);
  const Lines once = PlainLines(file);
  EXPECT_EQ(once.size(), lines.size());
  PrivacyConfigs second;
  Load(second, file);
  second.SaveConfig(file);
  EXPECT_EQ(PlainLines(file), once);
  ASSERT_EQ(second.Count(), first.Count());
  for (int64_t i = 1; i <= first.Count(); ++i) {
    const auto a = first.Item(i);
    const auto b = second.Item(i);
    EXPECT_EQ(a->Software, b->Software);
    EXPECT_EQ(a->SoftwareType, b->SoftwareType);
    EXPECT_EQ(a->Selected, b->Selected);
    EXPECT_EQ(a->FileLines, b->FileLines);
    ASSERT_EQ(a->Items.Count(), b->Items.Count());
    for (int64_t j = 1; j <= a->Items.Count(); ++j) {
      EXPECT_EQ(a->Items.Item(j)->Title, b->Items.Item(j)->Title);
      EXPECT_EQ(a->Items.Item(j)->Selected, b->Items.Item(j)->Selected);
      EXPECT_EQ(a->Items.Item(j)->SeekSettings, b->Items.Item(j)->SeekSettings);
      EXPECT_EQ(a->Items.Item(j)->HoldSettings, b->Items.Item(j)->HoldSettings);
    }
  }
}

/// Expects `call` to raise a run-time error with `number` whose description holds `text`.
template <class Call>
void ExpectError(int32_t number, const std::string& text, Call&& call) {
  try {
    call();
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), number) << e.Description();
    EXPECT_NE(e.Description().find(text), std::string::npos) << e.Description();
  }
}

TEST(CatalogueFile, LoadFailuresKeepWhatWasLoaded) {
  ScratchFolder folder("catalogue-bad");
  const std::string good = folder / "good.dat";
  WriteCatalogue(good, {"[Config]", "Software:Kept", "Type:Root", "A<>1<>0<>File><C:\\a"});
  PrivacyConfigs catalogue;
  Load(catalogue, good);

  // A file that cannot be opened leaves the catalogue as it was.
  EXPECT_THROW(Load(catalogue, folder / "missing.dat"), RuntimeError);
  ASSERT_EQ(catalogue.Count(), 1);
  EXPECT_EQ(catalogue.Item(1)->Software, "Kept");

  // A stored line that is not enciphered text stops the load, naming the file and the line.
  const std::string garbled = folder / "garbled.dat";
  WriteBytes(garbled, Crypt::EnCrypt("[Config]") + "\r\n" + Crypt::EnCrypt("Software:Half") + "\r\n" +
                          Crypt::EnCrypt("Type:Customs") + "\r\nABC\r\n" + Crypt::EnCrypt("Selected:1") + "\r\n");
  ExpectError(Crypt::kInvalidCipherText, "garbled.dat\" line 4", [&] { Load(catalogue, garbled); });
  ASSERT_EQ(catalogue.Count(), 1);
  EXPECT_EQ(catalogue.Item(1)->Software, "Half");
  EXPECT_FALSE(catalogue.Item(1)->Selected);
  WriteBytes(garbled, Crypt::EnCrypt("[Config]") + "\r\n92ZZ\r\n");
  ExpectError(Crypt::kInvalidCipherText, "line 2", [&] { Load(catalogue, garbled); });

  // A key line before the first block.
  const std::string early = folder / "early.dat";
  WriteCatalogue(early, {"-- fine", "Software:Nowhere", "[Config]"});
  ExpectError(91, "early.dat\" line 2", [&] { Load(catalogue, early); });
  EXPECT_EQ(catalogue.Count(), 0);

  // An item line with too few fields, or without a seek part: the item made for the line stays, and the
  // catalogue is not re-ordered.
  const std::string items = folder / "items.dat";
  WriteCatalogue(items, {"[Config]", "Type:Customs", "Software:Z", "[Config]", "Type:Root", "Software:R",
                         "Good<>1<>0<>File><C:\\g", "Short<>1<>0><C:\\s", "Never<>1<>0<>File><C:\\n"});
  ExpectError(errors::kSubscriptOutOfRange, "line 8", [&] { Load(catalogue, items); });
  ASSERT_EQ(catalogue.Count(), 2);
  EXPECT_EQ(catalogue.Item(1)->Software, "Z");
  const auto r = catalogue.Item(2);
  ASSERT_EQ(r->Items.Count(), 2);
  EXPECT_EQ(r->Items.Item(2)->Title, "Short");
  WriteCatalogue(items, {"[Config]", "Software:R", "NoPart<>1<>0<>File"});
  ExpectError(errors::kSubscriptOutOfRange, "line 3", [&] { Load(catalogue, items); });
  EXPECT_EQ(catalogue.Item(1)->Items.Count(), 1);
}

TEST(CatalogueFile, SaveReplacesTheTargetAtomically) {
  ScratchFolder folder("catalogue-atomic");
  const std::string file = folder / "PrivacyConfig.dat";
  WriteCatalogue(file, {"[Config]", "Software:App", "Selected:0", "Recent<>0<>0<>File><C:\\r"});
  const std::string original = ReadBytes(file);
  PrivacyConfigs catalogue;
  Load(catalogue, file);

  // An item renamed in memory has no line: the save stops, the target is untouched, the partial ".tmp"
  // stays behind.
  catalogue.Item(1)->Items.Item(1)->Title = "Renamed";
  EXPECT_THROW(catalogue.SaveConfig(file), RuntimeError);
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_TRUE(std::filesystem::exists(file + ".tmp"));
  catalogue.Item(1)->Items.Item(1)->Title = "Recent";

  // A stale ".tmp" from a killed save is simply replaced, and a read-only target is replaced too.
  WriteBytes(file + ".tmp", "half a line");
  std::filesystem::permissions(file, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  catalogue.Item(1)->Selected = true;
  catalogue.SaveConfig(file);
  EXPECT_EQ(PlainLines(file), (Lines{"[Config]", "Software:App", "Selected:1", "Recent<>0<>0<>File><C:\\r"}));
  EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));

  // When the ".tmp" cannot be written the old catalogue stays whole.
  const std::string kept = ReadBytes(file);
  std::filesystem::create_directory(file + ".tmp");
  catalogue.Item(1)->Selected = false;
  EXPECT_THROW(catalogue.SaveConfig(file), RuntimeError);
  EXPECT_EQ(ReadBytes(file), kept);
  PrivacyConfigs reloaded;
  Load(reloaded, file);
  EXPECT_TRUE(reloaded.Item(1)->Selected);
}

}  // namespace
}  // namespace qm::testing
