#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/options.h"
#include "cli/show_clear.h"
#include "config/crypt.h"
#include "support/case_tree.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

/// The catalogue of the show and clear runs: a folder whose held file keeps a sub-folder, and one more file.
constexpr char kCatalogue[] =
    "[Config]\nType:Root\nSoftware:App\nSelected:1\n"
    "Cache<>1<>1<>Folder><{dir}\\cache><{dir}\\cache\\keep\\held.dat\nLocked<>1<>0<>File><{dir}\\locked\n";

TEST(Cli, UsageErrorsExitTwoHelpAndVersionWorkAndListPrintsTheTreeOfACatalogue) {
  ScratchFolder folder("cli-usage");
  const std::vector<Lines> usageErrors = {
      {}, {"--bogus", "list"}, {"frobnicate"}, {"decrypt"}, {"list", "extra"}, {"--catalogue"}, {"--all=1", "list"}};
  for (const Lines& arguments : usageErrors) {
    const CliRun run = RunCli(folder, arguments);
    EXPECT_EQ(run.status, cli::kExitUsage) << (arguments.empty() ? "(none)" : arguments[0]);
    EXPECT_NE(run.err.find("usage: quillmere-cli"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
  const CliRun help = RunCli(folder, {"--help"});
  EXPECT_EQ(help.status, 0);
  ASSERT_FALSE(help.out.empty());
  EXPECT_EQ(help.out[0], "usage: quillmere-cli [OPTIONS] COMMAND [ARGUMENTS]");
  EXPECT_EQ(RunCli(folder, {"--version"}).out, (Lines{std::string("quillmere-cli ") + QM_VERSION}));

  // "list" prints the tree of a written catalogue, and without --catalogue of the shipped one.
  const std::string catalogue =
      PlatformPath(WriteCatalogue(folder,
                                  "[Config]\nType:Customs\nSoftware:Mine\nSelected:1\nNotes<>1<>0<>File><{dir}\\n\n"
                                  "[Config]\nType:Root\nSoftware:Caf\xC3\xA9\nSelected:1\nOff<>0<>0<>Folder><{dir}\\o\n"
                                  "[Config]\nType:Plugins\nSoftware:Zeta\nSelected:0\nZ<>1<>0<>File><{dir}\\z\n"));
  EXPECT_EQ(RunCli(folder, {"--catalogue", catalogue, "list"}).out,
            (Lines{"Ur All Privacy", "Ur All Privacy\\Caf\xC3\xA9", "Ur All Privacy\\Customs",
                   "Ur All Privacy\\Customs\\Mine", "Ur All Privacy\\Customs\\Mine\\Notes"}));
  const CliRun json = RunCli(folder, {"list", "--json", "--all", "--catalogue=" + catalogue});
  ASSERT_EQ(json.out.size(), 9u) << json.err;
  EXPECT_EQ(json.out[2],
            "{\"tag\":\"Ur All Privacy\\\\Caf\xC3\xA9\\\\Off\",\"text\":\"Off\",\"selected\":false,\"kind\":\"item\","
            "\"name\":\"Caf\xC3\xA9\\\\Off\",\"type\":\"Folder\",\"covers\":[\"" +
                Replaced(folder / "o", "\\", "\\\\") + "\"]}");

  // The shipped catalogue is the PrivacyConfig.dat beside the program.
  const CliRun run = RunCli(folder, {"list"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.at(2), "Ur All Privacy\\Windows\\Recent Documents History");
}

TEST(Cli, EncryptAndDecryptRoundTripPlainFilesAndRefuseWhatTheyCannotHold) {
  ScratchFolder folder("cli-cipher");
  // A byte-order mark, CR LF and LF line ends, blanks around a line, an empty line, accented text.
  const std::string plain = folder.Write("plain.txt", "\xEF\xBB\xBF[Config]\r\n  Software:Caf\xC3\xA9  \r\n\r\nA\n");
  const CliRun enciphered = RunCli(folder, {"encrypt", PlatformPath(plain)});
  ASSERT_EQ(enciphered.status, 0) << enciphered.err;
  // Hand-computed: "[Config]", then "Software:Café" (é at position 12: 0xE9 + key byte 0x76 - 255 = 0x60).
  EXPECT_EQ(enciphered.out, (Lines{"AC43E76E9D69945D", Crypt::EnCryptBytes("Software:Caf\xE9"), "", "92"}));
  EXPECT_EQ(enciphered.out[1].substr(24), "60");
  std::string stored;
  for (const std::string& line : enciphered.out) stored += line + "\r\n";
  const CliRun deciphered = RunCli(folder, {"decrypt", PlatformPath(folder.Write("stored.dat", stored))});
  EXPECT_EQ(deciphered.out, (Lines{"[Config]", "Software:Caf\xC3\xA9", "", "A"}));

  // Text that is not enciphered, a line that is not UTF-8 or holds a NUL, no file: status 3 naming the line.
  const std::vector<std::pair<Lines, std::string>> refusals = {
      {{"decrypt", PlatformPath(folder.Write("bad.dat", "92\r\n9G\r\n"))}, "line 2: not enciphered text"},
      {{"encrypt", PlatformPath(folder.Write("ansi.txt", "ok\r\ncaf\xE9\r\n"))}, "line 2: is not valid UTF-8 text"},
      {{"encrypt", PlatformPath(folder.Write("with-nul.txt", std::string("a\0b\r\n", 5)))}, "line 1: holds a NUL"},
      {{"encrypt", PlatformPath(folder / "none.txt")}, "none.txt"}};
  for (const auto& [arguments, message] : refusals) {
    const CliRun run = RunCli(folder, arguments);
    EXPECT_EQ(run.status, cli::kExitNoCatalogue) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

TEST(Cli, ShowAndClearPrintFinalStatusesTellTheOutcomeByTheirStatusAndTheirLog) {
  ScratchFolder dir("cli-run");
  // Settings of the user's own, as the program stores them: file logging on.
  RegistryFixture registry("",
                           "[HKEY_CURRENT_USER\\Software\\Dunvorel\\Quillmere]\r\n"
                           "\"Enable File Logging\"=\"true\"\r\n\"Keep Log Days\"=\"1\"\r\n");
  ASSERT_EQ(CaseTree().Build(dir.Path(), {"cache/x.dat = xx", "cache/keep/held.dat = held", "locked/l.dat = l"}), "");
  // The program writes its logs beside itself.
  const std::filesystem::path logs = PlatformPath(std::string(QM_CATALOGUE_DIR) + "/logs");
  std::filesystem::create_directories(logs);
  WriteBytes((logs / "L20000101.log").string(), "expired");
  Lines common = {"--catalogue", PlatformPath(WriteCatalogue(dir, kCatalogue)), "--yes"};
  if (registry.UsesStore()) common.insert(common.end(), {"--registry", registry.StoreFile()});
  const auto run = [&](Lines arguments) {
    arguments.insert(arguments.begin(), common.begin(), common.end());
    return RunCli(dir, arguments);
  };

  const CliRun shown = run({"--json", "show"});
  EXPECT_EQ(shown.status, cli::kExitDone) << shown.err;
  ASSERT_EQ(shown.out.size(), 5u);
  EXPECT_EQ(shown.out[0], "{\"software\":\"App\",\"item\":\"Cache\",\"kind\":5,\"path\":\"" +
                              Replaced(dir / "cache/keep", "\\", "\\\\") +
                              "\",\"name\":\"keep\",\"value\":\"keep\",\"size\":0,\"status\":1,\"location\":\"" +
                              Replaced(dir / "cache/keep", "\\", "\\\\") + "\"}");
  // A logged run names its log last.
  const std::string summary =
      "{\"summary\":{\"node\":\"Ur All Privacy\",\"traces\":4,\"bytes\":7,\"failed\":0,\"erased\":0,\"kept\":3,"
      "\"held\":1,\"unreadable\":0,\"stopped\":false,\"log\":\"";
  EXPECT_EQ(shown.out[4].substr(0, summary.size()), summary);

  // The held file keeps its folder, which is no failure.
  const CliRun cleared = run({"clear"});
  EXPECT_EQ(cleared.status, cli::kExitDone) << cleared.err;
  EXPECT_EQ(cleared.out, (Lines{"held\t" + dir / "cache/keep", "erased\t" + dir / "cache/x.dat",
                                "held\t" + dir / "cache/keep/held.dat", "erased\t" + dir / "locked/l.dat",
                                "ALL: 4 traces, 0.01 K; 2 erased, 0 kept, 2 held, 0 failed"}));
  // Without --json the run tells its log on standard error; the log holds the traces, and the expired logs went.
  const std::size_t told = cleared.err.find("Log file is ");
  ASSERT_NE(told, std::string::npos) << cleared.err;
  const std::string log = cleared.err.substr(told + 12, cleared.err.find_first_of("\r\n", told) - told - 12);
  EXPECT_NE(ReadBytes(log).find("Delete " + dir / "cache/x.dat"), std::string::npos) << log;
  EXPECT_FALSE(std::filesystem::exists(logs / "L20000101.log"));
  const CliRun again = run({"clear", "Ur All Privacy\\App\\Cache"});
  EXPECT_EQ(again.status, cli::kExitDone);
  EXPECT_EQ(again.out.back(), "App\\Cache: 2 traces, 0.00 K; 0 erased, 0 kept, 2 held, 0 failed");
  std::filesystem::remove(log);

  // No such node, no catalogue: status 3 and the reason.
  EXPECT_EQ(run({"show", "Ur All Privacy\\Nope"}).status, cli::kExitNoCatalogue);
  const CliRun missing = RunCli(dir, {"--catalogue", PlatformPath(dir / "missing.dat"), "show"});
  EXPECT_EQ(missing.status, cli::kExitNoCatalogue);
  EXPECT_NE(missing.err.find("missing.dat"), std::string::npos);
}

TEST(Cli, ACtrlCBeforeTheRunStopsItBeforeItErasesAnythingAndJsonLinesEscapeWhatJsonMust) {
  ScratchFolder dir("cli-stop");
  RegistryFixture registry;
  ASSERT_EQ(CaseTree().Build(dir.Path(), {"cache/x.dat = xx", "locked/l.dat = l"}), "");
  cli::Options options;
  options.command = "clear";
  options.catalogue = WriteCatalogue(dir, kCatalogue);
  options.registry = registry.StoreFile();
  options.yes = options.json = true;
  std::ostringstream out;
  std::ostringstream err;
  cli::Interrupts interrupts;
  // Pressed while the catalogue was loading: the engine takes it over and the run stops at once.
  interrupts.Fire();
  EXPECT_EQ(cli::RunNode(cli::CommandContext{options, out, err, interrupts}, true), cli::kExitInterrupted);
  EXPECT_EQ(out.str(),
            "{\"summary\":{\"node\":\"Ur All Privacy\",\"traces\":0,\"bytes\":0,\"failed\":0,\"erased\":0,\"kept\":0,"
            "\"held\":0,\"unreadable\":0,\"stopped\":true}}\n");
  EXPECT_EQ(ListTree(dir / "cache"), Lines{"x.dat = xx"});

  // A trace's JSON line escapes quotes, control characters and bytes that are no UTF-8.
  const PrivacyValue pv{.Path = "C:\\a \"b\"\tc\n",
                        .ValueName = std::string("\x01\x1f\x7f", 3),
                        .ValueType = TraceKind::File,
                        .Value = "caf\xC3\xA9 \xFF\xFE",
                        .ValueStatus = TraceStatus::Failed};
  EXPECT_EQ(
      cli::TraceJson("S\\w", "i", pv),
      "{\"software\":\"S\\\\w\",\"item\":\"i\",\"kind\":4,\"path\":\"C:\\\\a \\\"b\\\"\\tc\\n\","
      "\"name\":\"\\u0001\\u001f\x7f\",\"value\":\"caf\xC3\xA9 \xEF\xBF\xBD\xEF\xBF\xBD\",\"size\":0,\"status\":-1,"
      "\"location\":\"C:\\\\a \\\"b\\\"\\tc\\n\"}");
}

}  // namespace
}  // namespace qm::testing
