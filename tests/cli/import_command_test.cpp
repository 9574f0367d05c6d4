#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "cli/command.h"
#include "cli/help_text.h"
#include "cli/options.h"
#include "config/catalogue_helpers.h"
#include "config/crypt.h"
#include "support/lines.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

/// What one import-winapp2 run gave.
struct ImportRun {
  int status = -1;
  Lines out;
  Lines err;
};

ImportRun Import(const std::string& file, const std::string& outFile, bool report, bool json = false) {
  cli::Options options;
  options.command = "import-winapp2";
  options.arguments = {file};
  options.out = outFile;
  options.report = report;
  options.json = json;
  std::ostringstream out;
  std::ostringstream err;
  cli::Interrupts interrupts;
  ImportRun run;
  run.status = cli::RunImportWinapp2(cli::CommandContext{options, out, err, interrupts});
  run.out = TextLines(out.str());
  run.err = TextLines(err.str());
  return run;
}

const std::string kSample = std::string(QM_FIXTURES_DIR) + "/winapp2/sample.ini";
const std::string kTotals = "entries 59, exact 36, partly 11, not mapped 12";

TEST(ImportWinapp2Command, WritesACatalogueTheProgramLoadsWithEveryItemTypeKnown) {
  ScratchFolder folder("import-winapp2");
  const std::string file = folder / "winapp2.pc";
  const ImportRun run = Import(kSample, file, true);
  ASSERT_EQ(run.status, cli::kExitDone) << Joined(run.err);
  ASSERT_EQ(run.out.size(), 60u);
  EXPECT_EQ(run.out[8],
            "Holly Tunes: partly: DetectFile: %Music% taken as its usual place %userprofiledir%\\Music; "
            "FileKey1: %Music% taken as its usual place %userprofiledir%\\Music; FileKey2: %Pictures% "
            "taken as its usual place %userprofiledir%\\Pictures; FileKey3: %Video% taken as its usual "
            "place %userprofiledir%\\Videos");
  EXPECT_EQ(run.out.back(), kTotals);
  EXPECT_TRUE(run.err.empty());
  // One enciphered line per plain line, as encrypt writes them.
  EXPECT_EQ(Joined(PlainLines(file)), Joined(FixtureLines("winapp2/sample.expected.txt")));

  const std::unique_ptr<PrivacyConfigs> catalogue = ReadCatalogue(file);
  EXPECT_EQ(catalogue->Count(), 47);
  std::set<std::string> names;
  for (const auto& config : *catalogue) {
    EXPECT_EQ(config->SoftwareType, SoftwareType::Customs) << config->Software;
    names.insert(config->Software);
    for (const auto& item : config->Items) {
      EXPECT_NE(item->ItemType, PrivacyItemType::Unknown) << config->Software << ": " << item->FileLine;
    }
  }
  EXPECT_EQ(names.size(), 47u);
  EXPECT_TRUE(names.contains("Umbrella Caf\xC3\xA9"));
}

TEST(ImportWinapp2Command, ReportsBesidePlainLinesAndWritesNothingForInputItCannotRead) {
  ScratchFolder folder("import-winapp2-report");
  // Without --out the lines go to the standard output and the report to the error stream.
  const ImportRun plain = Import(kSample, "", true, true);
  EXPECT_EQ(plain.status, cli::kExitDone);
  EXPECT_EQ(Joined(plain.out), Joined(FixtureLines("winapp2/sample.expected.txt")));
  ASSERT_EQ(plain.err.size(), 60u);
  EXPECT_EQ(plain.err[25],
            "{\"entry\":\"Xanthoxylum Seven\",\"line\":170,\"mapping\":\"not mapped\",\"notes\":[\"DetectOS=|6.3 "
            "leaves out Windows 10 and 11, the only Windows Quillmere runs on\"]}");
  EXPECT_EQ(plain.err.back(), "{\"summary\":{\"entries\":59,\"exact\":36,\"partly\":11,\"notMapped\":12}}");
  EXPECT_TRUE(Import(kSample, "", false).err.empty());

  // A line it cannot read: status 3 naming file and line, the old output file untouched, no twin left.
  const std::string bad = folder.Write("bad.ini", "[A *]\nFileKey1=%AppData%\\A|*.log\nRegKey1=HKXX\\A\n");
  const std::string out = folder.Write("old.pc", "old");
  const ImportRun refused = Import(bad, out, true);
  EXPECT_EQ(refused.status, cli::kExitNoCatalogue);
  EXPECT_EQ(refused.err, Lines{"quillmere-cli: " + bad + ": line 3: unknown registry root \"HKXX\""});
  EXPECT_TRUE(refused.out.empty());
  EXPECT_EQ(ReadBytes(out), "old");
  EXPECT_EQ(Import(folder / "none.ini", out, false).status, cli::kExitNoCatalogue);
  // An output that cannot be written is an output failure; nothing is left beside it.
  EXPECT_EQ(Import(kSample, folder / "no/such/folder.pc", false).status, cli::kExitOutputFailed);
  EXPECT_FALSE(std::filesystem::exists(folder / "old.pc.tmp"));
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

TEST(ImportWinapp2Command, ItsOptionsParseAnywhereOnTheLineAndAreInTheUsage) {
  const cli::Options options = cli::ParseOptions({"--report", "import-winapp2", "in.ini", "--out=out.pc", "--plugins"});
  EXPECT_EQ(options.command, "import-winapp2");
  EXPECT_EQ(options.arguments, Lines{"in.ini"});
  EXPECT_EQ(options.out, "out.pc");
  EXPECT_TRUE(options.plugins && options.report && !options.json);
  EXPECT_EQ(cli::ParseOptions({"import-winapp2", "in.ini", "--out", "o.pc"}).out, "o.pc");
  for (const Lines& bad : std::vector<Lines>{{"import-winapp2", "in.ini", "--out"}, {"--report=1", "import-winapp2"}}) {
    EXPECT_THROW(cli::ParseOptions(bad), cli::UsageError) << bad.back();
  }
  EXPECT_NE(cli::HelpText().find("\n  import-winapp2 FILE  "), std::string::npos);
}

}  // namespace
}  // namespace qm::testing
