#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_runner.h"
#include "config/catalogue_tree.h"
#include "config/crypt.h"
#include "config/privacy_configs.h"

namespace qm {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::ScratchFolder;
using testing::WriteBytes;
using Lines = std::vector<std::string>;

/// Writes `lines` enciphered, as the program stores catalogue files.
void WriteCatalogue(const std::string& path, const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += Crypt::EnCrypt(line) + "\r\n";
  WriteBytes(path, bytes);
}

TEST(Cli, UsageErrorsExitTwoAndHelpAndVersionWork) {
  ScratchFolder folder("cli-usage");
  for (const Lines& arguments : std::vector<Lines>{{},
                                                   {"--bogus", "list"},
                                                   {"frobnicate"},
                                                   {"decrypt"},
                                                   {"list", "extra"},
                                                   {"--catalogue"},
                                                   {"--all=1", "list"},
                                                   {"--catalogue=", "list"}}) {
    const CliRun run = RunCli(folder, arguments);
    EXPECT_EQ(run.status, 2) << (arguments.empty() ? "(none)" : arguments[0]);
    EXPECT_NE(run.err.find("usage: quillmere-cli"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
  const CliRun help = RunCli(folder, {"--help"});
  EXPECT_EQ(help.status, 0);
  ASSERT_FALSE(help.out.empty());
  EXPECT_EQ(help.out[0], "usage: quillmere-cli [OPTIONS] COMMAND [ARG]");
  const CliRun version = RunCli(folder, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, (Lines{std::string("quillmere-cli ") + QM_VERSION}));
}

TEST(Cli, ListPrintsTheTreeTagsOfTheCatalogue) {
  ScratchFolder folder("cli-list");
  const std::string catalogue = folder / "cat.dat";
  WriteCatalogue(catalogue, {"[Config]", "Type:Customs", "Software:Mine", "Selected:1", "Notes<>1<>0<>File><C:\\n",
                             "[Config]", "Type:Root", "Software:Caf\xC3\xA9", "Selected:1",
                             "Cr\xC3\xA8me<>1<>0<>Folder><C:\\c", "Off<>0<>0<>Folder><C:\\o",
                             "[Config]", "Type:Plugins", "Software:Zeta", "Selected:0", "Z<>1<>0<>File><C:\\z"});
  const CliRun run = RunCli(folder, {"--catalogue", testing::PlatformPath(catalogue), "list"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, (Lines{"Ur All Privacy", "Ur All Privacy\\Caf\xC3\xA9", "Ur All Privacy\\Caf\xC3\xA9\\Cr\xC3\xA8me",
                            "Ur All Privacy\\Customs", "Ur All Privacy\\Customs\\Mine",
                            "Ur All Privacy\\Customs\\Mine\\Notes"}));

  // --all adds the configurations and items that are not selected; options may follow the command.
  const CliRun all = RunCli(folder, {"list", "--all", "--catalogue=" + testing::PlatformPath(catalogue)});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, (Lines{"Ur All Privacy", "Ur All Privacy\\Caf\xC3\xA9", "Ur All Privacy\\Caf\xC3\xA9\\Cr\xC3\xA8me",
                            "Ur All Privacy\\Caf\xC3\xA9\\Off", "Ur All Privacy\\Plug-ins",
                            "Ur All Privacy\\Plug-ins\\Zeta", "Ur All Privacy\\Plug-ins\\Zeta\\Z",
                            "Ur All Privacy\\Customs", "Ur All Privacy\\Customs\\Mine",
                            "Ur All Privacy\\Customs\\Mine\\Notes"}));

  const CliRun json = RunCli(folder, {"--json", "--catalogue", testing::PlatformPath(catalogue), "--all", "list"});
  ASSERT_EQ(json.out.size(), 10u);
  EXPECT_EQ(json.out[3], "{\"tag\":\"Ur All Privacy\\\\Caf\xC3\xA9\\\\Off\",\"text\":\"Off\",\"selected\":false}");

  // A catalogue that cannot be loaded: status 3 and the reason.
  const CliRun missing = RunCli(folder, {"--catalogue", testing::PlatformPath(folder / "none.dat"), "list"});
  EXPECT_EQ(missing.status, 3);
  EXPECT_NE(missing.err.find("none.dat"), std::string::npos);
  WriteBytes(folder / "bad.dat", Crypt::EnCrypt("[Config]") + "\r\nXYZ\r\n");
  const CliRun bad = RunCli(folder, {"--catalogue", testing::PlatformPath(folder / "bad.dat"), "list"});
  EXPECT_EQ(bad.status, 3);
  EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
  EXPECT_TRUE(bad.out.empty());
}

TEST(Cli, ListOfTheShippedCatalogueIsTheWindowsTree) {
  ScratchFolder folder("cli-shipped");
  const std::string shipped = std::string(QM_CATALOGUE_DIR) + "/PrivacyConfig.dat";
  // Without --catalogue the program takes PrivacyConfig.dat beside itself: the shipped one.
  const CliRun run = RunCli(folder, {"list"});
  ASSERT_EQ(run.status, 0) << run.err;
  PrivacyConfigs catalogue;
  catalogue.LoadConfig(shipped);
  const std::vector<CatalogueTreeNode> tree = BuildCatalogueTree(catalogue);
  Lines expected;
  for (std::size_t i : DisplayOrder(tree)) expected.push_back(tree[i].Tag);
  EXPECT_EQ(run.out, expected);
  ASSERT_GE(run.out.size(), 3u);
  EXPECT_EQ(run.out[0], "Ur All Privacy");
  EXPECT_EQ(run.out[1], "Ur All Privacy\\Windows");
  EXPECT_EQ(run.out[2], "Ur All Privacy\\Windows\\Recent Documents History");
}

TEST(Cli, EncryptAndDecryptRoundTripPlainFiles) {
  ScratchFolder folder("cli-cipher");
  const std::string plain = folder / "plain.txt";
  // A byte-order mark, CR LF and LF line ends, blanks around a line, an empty line, accented text.
  WriteBytes(plain, "\xEF\xBB\xBF[Config]\r\n  Software:Caf\xC3\xA9  \r\n\r\nA\n");
  const CliRun enciphered = RunCli(folder, {"encrypt", testing::PlatformPath(plain)});
  ASSERT_EQ(enciphered.status, 0) << enciphered.err;
  // Hand-computed: "[Config]", then "Software:Café" (é at position 12: 0xE9 + key byte 0x76 - 255 = 0x60).
  ASSERT_EQ(enciphered.out.size(), 4u);
  EXPECT_EQ(enciphered.out[0], "AC43E76E9D69945D");
  EXPECT_EQ(enciphered.out[1], Crypt::EnCryptBytes("Software:Caf\xE9"));
  EXPECT_EQ(enciphered.out[1].substr(24), "60");
  EXPECT_EQ(enciphered.out[2], "");
  EXPECT_EQ(enciphered.out[3], "92");

  const std::string stored = folder / "stored.dat";
  std::string bytes;
  for (const std::string& line : enciphered.out) bytes += line + "\r\n";
  WriteBytes(stored, bytes);
  const CliRun deciphered = RunCli(folder, {"decrypt", testing::PlatformPath(stored)});
  ASSERT_EQ(deciphered.status, 0) << deciphered.err;
  EXPECT_EQ(deciphered.out, (Lines{"[Config]", "Software:Caf\xC3\xA9", "", "A"}));

  // Not enciphered text, or no file at all: status 3 with the line named.
  WriteBytes(stored, "92\r\n9G\r\n");
  const CliRun bad = RunCli(folder, {"decrypt", testing::PlatformPath(stored)});
  EXPECT_EQ(bad.status, 3);
  EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
  EXPECT_EQ(RunCli(folder, {"encrypt", testing::PlatformPath(folder / "none.txt")}).status, 3);
}

}  // namespace
}  // namespace qm
