#include "config/winapp2_import.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/case_tree.h"
#include "support/lines.h"
#include "support/raised_error.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

std::string SampleText() { return ReadBytes(std::string(QM_FIXTURES_DIR) + "/winapp2/sample.ini"); }

/// Each entry's outcome as sample.report.txt writes it: "name|mapping|notes joined by "; "".
Lines ReportRows(const std::vector<Winapp2EntryReport>& entries) {
  Lines rows;
  for (const Winapp2EntryReport& entry : entries) {
    std::string notes;
    for (const std::string& note : entry.notes) notes += (notes.empty() ? "" : "; ") + note;
    rows.push_back(entry.name + "|" + Winapp2MappingName(entry.mapping) + "|" + notes);
  }
  return rows;
}

TEST(Winapp2Import, TheSampleGivesTheHandWrittenCatalogueAndReportInEveryForm) {
  const Lines expected = FixtureLines("winapp2/sample.expected.txt");
  const Winapp2Import imported = ImportWinapp2(SampleText());
  EXPECT_EQ(Joined(imported.lines), Joined(expected));
  EXPECT_EQ(Joined(ReportRows(imported.entries)), Joined(FixtureLines("winapp2/sample.report.txt")));

  // As plug-ins: the same blocks with their type and a version.
  Lines plugins;
  for (const std::string& line : expected) {
    plugins.push_back(line == "Type:Customs" ? "Type:Plugins" : line);
    if (line.starts_with("Selected:")) plugins.push_back("Version:1");
  }
  EXPECT_EQ(Joined(ImportWinapp2(SampleText(), Winapp2Options{true}).lines), Joined(plugins));
  // A byte-order mark and CR LF line ends change nothing.
  EXPECT_EQ(ImportWinapp2("\xEF\xBB\xBF" + Replaced(SampleText(), "\n", "\r\n")).lines, imported.lines);
}

TEST(Winapp2Import, InputThatCannotBeReadNamesItsLineAndConvertsNothing) {
  const std::string good = "[Good *]\nFileKey1=%AppData%\\Good|*.log\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"FileKey1=%AppData%\\A|*.log\n" + good, "line 1: a key comes before the first [section]"},
      {good + "; a comment\nDetectFile %AppData%\\A\n", "line 4: the line has no \"=\""},
      {good + "[A *]\nFileKey1=%AppData%\\A\n", "line 4: FileKey1 has no \"|\" before its file patterns"},
      {good + "[A *]\nRegKey1=HKXX\\Software\\A\n", "line 4: unknown registry root \"HKXX\""},
      {good + "[A *]\nDetect=Software\\A\n", "line 4: unknown registry root \"Software\""},
      {good + "[A *]\nExcludeKey1=REG|HKEY_LOCAL\\A\n", "line 4: unknown registry root \"HKEY_LOCAL\""},
      {good + "[A *\n", "line 3: the section line has no \"]\""},
      {good + "[  ]\n", "line 3: the section has no name"},
      {good + "[A *]\r\nFileKey1=%AppData%\\caf\xE9|*.log\r\n", "line 4: the line is not UTF-8 text"},
  };
  for (const auto& [text, message] : cases) {
    EXPECT_EQ(RaisedError([&] { ImportWinapp2(text); }), "5|Winapp2Import|" + message) << text;
  }
}

/// Written against the catalogue language: FileTree with and without RemoveSelf, wildcard folders, a Detect on a
/// wildcard path and one on a missing path, and a hold.
TEST(Winapp2Import, TheImportedConfigurationsFindTheirTracesAndKeepWhatIsHeld) {
  TestEngine t;
  ASSERT_EQ(CaseTree().Build(t.dir.Path(), {"app/logs/a.log = a", "app/logs/old/b.log = b", "app/logs/c.txt = c",
                                            "app/logs/keep.log = k", "app/cache/x.bin = x", "app/cache/sub/y.bin = y",
                                            "app/profiles/p1/thumbs/a.png = a", "app/profiles/p2/thumbs/b.png = b",
                                            "app/profiles/p1/thumbs/deep/c.png = c", "other/z.dat = z"}),
            "");
  const Winapp2Import imported = ImportWinapp2(
      "[Present *]\nDetectFile={dir}\\a*p\nFileKey1={dir}\\app\\logs|*.log|RECURSE\n"
      "FileKey2={dir}\\app\\cache|*.*|REMOVESELF\nFileKey3={dir}\\app\\profiles\\*\\thumbs|*.png\n"
      "ExcludeKey1=FILE|{dir}\\app\\logs\\|keep.log\n"
      "[Absent *]\nDetectFile={dir}\\missing\nFileKey1={dir}\\other|*.*\n");
  ASSERT_EQ(ReportRows(imported.entries), (Lines{"Present|exact|", "Absent|exact|"}));
  EXPECT_EQ(t.LoadCatalogue(Joined(imported.lines)), Lines{});

  Lines files;
  for (const std::string& trace : TraceTexts(t.Run(false).Values)) {
    if (trace.starts_with("4 ")) files.push_back(trace);
  }
  EXPECT_EQ(Sorted(files),
            Sorted({"4 1 " + t.dir / "app/logs/a.log", "4 1 " + t.dir / "app/logs/old/b.log",
                    "4 4 " + t.dir / "app/logs/keep.log", "4 1 " + t.dir / "app/cache/x.bin",
                    "4 1 " + t.dir / "app/cache/sub/y.bin", "4 1 " + t.dir / "app/profiles/p1/thumbs/a.png",
                    "4 1 " + t.dir / "app/profiles/p2/thumbs/b.png"}));
  t.Run(true);
  EXPECT_EQ(ListTree(t.dir / "app"),
            (Lines{"logs/", "logs/c.txt = c", "logs/keep.log = k", "logs/old/", "profiles/", "profiles/p1/",
                   "profiles/p1/thumbs/", "profiles/p1/thumbs/deep/", "profiles/p1/thumbs/deep/c.png = c",
                   "profiles/p2/", "profiles/p2/thumbs/"}));
  EXPECT_EQ(ListTree(t.dir / "other"), Lines{"z.dat = z"});
}

}  // namespace
}  // namespace qm::testing
