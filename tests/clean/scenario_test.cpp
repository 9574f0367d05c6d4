#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "clean/privacy_log.h"
#include "clean/run_engine.h"
#include "config/stop_requested.h"
#include "discovery/scenario_fixture.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"
#include "registry/reg_values.h"
#include "settings/system_settings.h"
#include "support/event_journal.h"
#include "support/scoped_settings.h"
#include "support/trace_text.h"

namespace qm {
namespace {

using test::TraceTexts;
using testing::EventJournal;
using testing::ReadBytes;
using testing::Scenario;
namespace fs = std::filesystem;

constexpr uint32_t kHkcu = 0x80000001u;

std::vector<std::string> ValueNames(const std::string& path) {
  std::vector<std::string> names;
  RegKey key(kHkcu, path);
  for (const RegValue& value : key.EnumSubValues()) names.push_back(value.ValueName);
  return names;
}

std::vector<std::string> KeyNames(const std::string& path) {
  std::vector<std::string> names;
  RegKey key(kHkcu, path);
  for (const RegKey& sub : key.EnumSubKeys()) names.push_back(sub.Name);
  return names;
}

/// The lines of a log file, without their CR LF.
std::vector<std::string> LogLines(const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(ReadBytes(file));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

/// One scenario with its catalogue loaded, a log in the scenario folder and a fixed clock.
class ScenarioRun : public ::testing::Test {
 protected:
  ScenarioRun()
      : clock_(LocalDateTime{2026, 12, 5, 14, 3, 7}),
        log_(scenario_.Path("logs"), clock_),
        engine_(catalogue_, log_, clock_) {
    Settings().EnableFileLogging = true;
    Settings().SecurityFillTimes = 1;
    catalogue_.LoadConfig(scenario_.CatalogueFile());
  }

  RunTotals Run(const std::string& tag, bool clear, bool all = false, RunListener* listener = nullptr) {
    const std::optional<RunTarget> target = SelectRunTarget(catalogue_, tag);
    EXPECT_TRUE(target.has_value()) << tag;
    return target ? engine_.Run(*target, clear, all, listener) : RunTotals{};
  }

  std::vector<std::string> ValueLines() const {
    std::vector<std::string> values;
    for (const std::string& line : LogLines(log_.LogFileName)) {
      if (!line.empty() && line.rfind("-=", 0) != 0) values.push_back(line);
    }
    return values;
  }

  Scenario scenario_;
  ManualClock clock_;
  PrivacyConfigs catalogue_;
  PrivacyLog log_;
  RunEngine engine_;
  const test::ScopedSettings settings_;
};

TEST_F(ScenarioRun, ShowListsEveryTraceInOrderAndChangesNothing) {
  EventJournal journal;
  const RunTotals totals = Run("Ur All Privacy", false, false, &journal);
  EXPECT_EQ(TraceTexts(totals.Values), scenario_.ExpectedShow());
  EXPECT_EQ(totals.Count, 14);
  EXPECT_EQ(totals.Bytes, Scenario::kExpectedBytes);
  EXPECT_EQ(totals.Failed, 0);
  EXPECT_EQ(totals.StatusText, "ALL");
  EXPECT_EQ(journal.Summary(),
            (std::vector<std::string>{"item Temp Files 1", "item Cache 5", "item Recent 1", "item MRU 2",
                                      "item History 3", "item Docs 1", "item Special 0", "config Scenario 13",
                                      "item Cookies 1", "config Browser Plus 1", "type 2 1", "type 3 -1",
                                      "finish 14"}));

  // The log holds the run's block: banners around one "Find" line per trace ("Keep locked" when held).
  EXPECT_EQ(totals.LogFileName, FileSystem::Join(scenario_.Path("logs"), "L20261205.log"));
  const std::vector<std::string> lines = LogLines(totals.LogFileName);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[2].rfind("-=-=-=-=-=              start log at ", 0), 0u);
  EXPECT_EQ(lines[lines.size() - 3].rfind("-=-=-=-=-=             end log at ", 0), 0u);
  EXPECT_EQ(ValueLines(),
            (std::vector<std::string>{"Find " + scenario_.Path("files/a.tmp"), "Find " + scenario_.Path("cache/keep"),
                                      "Find " + scenario_.Path("cache/x.dat"),
                                      "Find " + scenario_.Path("cache/keep/sub"),
                                      "Keep locked " + scenario_.Path("cache/keep/held.dat"),
                                      "Find " + scenario_.Path("cache/keep/sub/y.dat"), "Find File1", "Find url1",
                                      "Find url2", "Find k1", "Find h", "Find v", "Find n",
                                      "Find " + scenario_.Path("cookies/c1.txt")}));

  for (const char* file : {"files/a.tmp", "cache/x.dat", "cache/keep/sub/y.dat", "cookies/c1.txt"}) {
    EXPECT_TRUE(fs::exists(scenario_.Path(file))) << file;
  }
  EXPECT_EQ(ReadBytes(scenario_.Path("app.ini")), Scenario::kIni);
  EXPECT_EQ(ValueNames(Scenario::Key("MRU")), (std::vector<std::string>{"other", "url1", "url2"}));
}

TEST_F(ScenarioRun, ClearErasesExactlyTheSelectedUnheldTraces) {
  const RunTotals totals = Run("Ur All Privacy", true);
  EXPECT_EQ(TraceTexts(totals.Values), scenario_.ExpectedClear());
  EXPECT_EQ(totals.Failed, 1);  // the folder that keeps the held file
  EXPECT_EQ(ValueLines(),
            (std::vector<std::string>{"Find " + scenario_.Path("files/a.tmp"),
                                      "Delete " + scenario_.Path("cache/keep"),
                                      "Find " + scenario_.Path("cache/x.dat"),
                                      "Delete " + scenario_.Path("cache/keep/sub"),
                                      "Keep locked " + scenario_.Path("cache/keep/held.dat"),
                                      "Find " + scenario_.Path("cache/keep/sub/y.dat"),
                                      "Unknown " + scenario_.Path("cache/keep"), "Delete File1", "Delete url1",
                                      "Delete url2", "Delete k1", "Find h", "Find v", "Delete n",
                                      "Find " + scenario_.Path("cookies/c1.txt")}));

  // Files: matched and unheld ones are gone; held, unmatched and unselected ones stay.
  for (const char* gone : {"files/a.tmp", "cache/x.dat", "cache/keep/sub", "cookies/c1.txt"}) {
    EXPECT_FALSE(fs::exists(scenario_.Path(gone))) << gone;
  }
  EXPECT_EQ(ReadBytes(scenario_.Path("files/keep.txt")), "keep");
  EXPECT_EQ(ReadBytes(scenario_.Path("cache/keep/held.dat")), "held");
  EXPECT_EQ(ReadBytes(scenario_.Path("other/o.txt")), "o");
  EXPECT_EQ(ReadBytes(scenario_.Path("notes/n.txt")), "note");
  EXPECT_TRUE(fs::is_directory(scenario_.Path("cache")));
  // The ini entry is blanked in place.
  EXPECT_EQ(ReadBytes(scenario_.Path("app.ini")), "[Recent]\r\nFile1=\r\nFile2=\r\n[Settings]\r\nTheme=dark\r\n");
  // Registry: matching values go, the RegKey item's key stays empty, sub-keys of RegSubKeyValue stay.
  scenario_.Registry().Reload();
  EXPECT_EQ(ValueNames(Scenario::Key("MRU")), std::vector<std::string>{"other"});
  EXPECT_TRUE(KeyNames(Scenario::Key("History")).empty());
  EXPECT_TRUE(ValueNames(Scenario::Key("History")).empty());
  EXPECT_EQ(KeyNames(Scenario::Key("Docs")), (std::vector<std::string>{"a.txt", "b.doc"}));
  EXPECT_TRUE(ValueNames(Scenario::Key("Docs\\a.txt")).empty());
  EXPECT_EQ(ValueNames(Scenario::Key("Docs\\b.doc")), std::vector<std::string>{"n"});

  // A second clear finds only what is held, and the folder that keeps it.
  const RunTotals again = Run("Ur All Privacy", true);
  EXPECT_EQ(TraceTexts(again.Values), (std::vector<std::string>{"5 -1 " + scenario_.Path("cache/keep"),
                                                     "4 4 " + scenario_.Path("cache/keep/held.dat")}));
  EXPECT_EQ(ReadBytes(scenario_.Path("cache/keep/held.dat")), "held");
}

TEST_F(ScenarioRun, EachNodeSearchesItsOwnTracesAndAllAddsTheUnselectedOnes) {
  EXPECT_EQ(Run("Ur All Privacy\\Scenario\\Cache", false).Count, 5);
  const std::vector<std::string> cookie = {"4 1 " + scenario_.Path("cookies/c1.txt")};
  EXPECT_EQ(TraceTexts(Run("Ur All Privacy\\Plug-ins", false).Values), cookie);
  EXPECT_EQ(TraceTexts(Run("Ur All Privacy\\Plug-ins\\Browser Plus", false).Values), cookie);
  EXPECT_EQ(TraceTexts(Run("Ur All Privacy\\Plug-ins\\Browser Plus\\Cookies", false).Values), cookie);
  // The unselected custom configuration counts only when unselected ones are included.
  EXPECT_FALSE(Run("Ur All Privacy\\Customs", false).Values);
  RunTotals customs = Run("Ur All Privacy\\Customs", false, true);
  EXPECT_EQ(TraceTexts(customs.Values), std::vector<std::string>{"4 1 " + scenario_.Path("notes/n.txt")});
  // So does the unselected item of a selected configuration.
  EXPECT_EQ(Run("Ur All Privacy\\Scenario", false).Count, 13);
  EXPECT_EQ(Run("Ur All Privacy\\Scenario", false, true).Count, 14);
}

TEST_F(ScenarioRun, StopMidWalkKeepsWhatWasFoundAndTouchesNothingAfter) {
  EventJournal journal;
  journal.stopAfter = 3;  // a.tmp, the keep folder, x.dat
  const RunTotals totals = Run("Ur All Privacy", true, false, &journal);
  EXPECT_EQ(TraceTexts(totals.Values), (std::vector<std::string>{"4 2 " + scenario_.Path("files/a.tmp"),
                                                      "5 -1 " + scenario_.Path("cache/keep"),
                                                      "4 2 " + scenario_.Path("cache/x.dat")}));
  EXPECT_EQ(journal.Summary(), (std::vector<std::string>{"item Temp Files 1", "item Cache 2",
                                                         "config Scenario 3", "finish 3"}));
  EXPECT_FALSE(StopRequested);  // the run ends with the flag cleared
  EXPECT_TRUE(fs::exists(scenario_.Path("cache/keep/sub/y.dat")));
  EXPECT_EQ(ReadBytes(scenario_.Path("app.ini")), Scenario::kIni);
  scenario_.Registry().Reload();
  EXPECT_EQ(ValueNames(Scenario::Key("MRU")), (std::vector<std::string>{"other", "url1", "url2"}));
  EXPECT_TRUE(fs::exists(scenario_.Path("cookies/c1.txt")));
}

}  // namespace
}  // namespace qm
