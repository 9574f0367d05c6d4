#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
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

}  // namespace
}  // namespace qm::testing
