#include <gtest/gtest.h>

#include <filesystem>

#include "cli/options.h"
#include "cli_runner.h"
#include "discovery/scenario_fixture.h"

namespace qm::cli {
namespace {

using qm::testing::CliRun;
using qm::testing::ReadBytes;
using qm::testing::RunCli;
using qm::testing::Scenario;
namespace fs = std::filesystem;

/// Runs the program's show or clear over the scenario's catalogue (and, on Linux, its registry store).
CliRun RunCommand(const Scenario& scenario, const std::string& command, std::optional<std::string> node,
                  bool json, bool all = false) {
  std::vector<std::string> arguments = {"--catalogue", scenario.CatalogueFile(), "--yes"};
  if (scenario.Registry().UsesStore()) {
    arguments.push_back("--registry");
    arguments.push_back(scenario.Registry().StoreFile());
  }
  if (json) arguments.push_back("--json");
  if (all) arguments.push_back("--all");
  arguments.push_back(command);
  if (node) arguments.push_back(*node);
  return RunCli(scenario.Scratch(), arguments);
}

/// A text as a JSON string; the scenario's texts hold no quotes or control characters, only backslashes.
std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return quoted + "\"";
}

std::string Trace(const std::string& software, const std::string& item, int kind, const std::string& path,
                  const std::string& name, const std::string& value, int64_t size, int status) {
  return "{\"software\":" + JsonString(software) + ",\"item\":" + JsonString(item) +
         ",\"kind\":" + std::to_string(kind) + ",\"path\":" + JsonString(path) + ",\"name\":" + JsonString(name) +
         ",\"value\":" + JsonString(value) + ",\"size\":" + std::to_string(size) +
         ",\"status\":" + std::to_string(status) + "}";
}

class ShowClearCli : public ::testing::Test {
 protected:
  Scenario scenario_;
};

TEST_F(ShowClearCli, ShowPrintsEveryTraceAsJsonThenTheSummary) {
  const CliRun run = RunCommand(scenario_, "show", std::nullopt, true);
  EXPECT_EQ(run.status, kExitDone);
  ASSERT_EQ(run.out.size(), 15u);
  EXPECT_EQ(run.out[0], Trace("Scenario", "Temp Files", 4, scenario_.Path("files/a.tmp"), "a.tmp", "a.tmp", 6, 1));
  EXPECT_EQ(run.out[4],
            Trace("Scenario", "Cache", 4, scenario_.Path("cache/keep/held.dat"), "held.dat", "held.dat", 4, 4));
  EXPECT_EQ(run.out[6], Trace("Scenario", "Recent", 7, scenario_.Path("app.ini") + ":File1", "File1", "C:\\a.doc",
                              16, 1));
  EXPECT_EQ(run.out[7], Trace("Scenario", "MRU", 1, Scenario::Key("MRU\\url1"), "url1", "http://a.example/", 34, 1));
  EXPECT_EQ(run.out[13], Trace("Browser Plus", "Cookies", 4, scenario_.Path("cookies/c1.txt"), "c1.txt", "c1.txt",
                               6, 1));
  EXPECT_EQ(run.out[14], "{\"summary\":{\"node\":\"Ur All Privacy\",\"traces\":14,\"bytes\":" +
                             std::to_string(Scenario::kExpectedBytes) + ",\"failed\":0}}");
  EXPECT_TRUE(fs::exists(scenario_.Path("files/a.tmp")));
}

TEST_F(ShowClearCli, ClearErasesAndReportsFinalStatusesAndExitStatus) {
  const CliRun run = RunCommand(scenario_, "clear", std::string("Ur All Privacy\\Scenario\\Cache"), true);
  // The folder that keeps the held file was not erased: exit status 1.
  EXPECT_EQ(run.status, kExitSomeFailed);
  ASSERT_EQ(run.out.size(), 6u);
  EXPECT_EQ(run.out[0], Trace("Scenario", "Cache", 5, scenario_.Path("cache/keep"), "keep", "keep", 0, -1));
  EXPECT_EQ(run.out[1], Trace("Scenario", "Cache", 4, scenario_.Path("cache/x.dat"), "x.dat", "x.dat", 2, 2));
  EXPECT_EQ(run.out[5], "{\"summary\":{\"node\":\"Ur All Privacy\\\\Scenario\\\\Cache\",\"traces\":5,\"bytes\":9,"
                        "\"failed\":1}}");
  scenario_.Registry().Reload();
  EXPECT_FALSE(fs::exists(scenario_.Path("cache/x.dat")));
  EXPECT_EQ(ReadBytes(scenario_.Path("cache/keep/held.dat")), "held");
  EXPECT_TRUE(fs::exists(scenario_.Path("files/a.tmp")));  // another item of the node's configuration

  // An item node: plain output, exit 0, and the second clear finds nothing.
  const std::string node = "Ur All Privacy\\Scenario\\Temp Files";
  const CliRun plain = RunCommand(scenario_, "clear", node, false);
  EXPECT_EQ(plain.status, kExitDone);
  EXPECT_EQ(plain.out, (std::vector<std::string>{"Delete\t" + scenario_.Path("files/a.tmp"),
                                                 "Scenario\\Temp Files: 1 traces, 0.01 K"}));
  EXPECT_EQ(RunCommand(scenario_, "clear", node, false).out,
            std::vector<std::string>{"Scenario\\Temp Files: 0 traces, 0.00 K"});
}

TEST_F(ShowClearCli, UnknownNodesAndUnloadableCataloguesExitThree) {
  for (const char* node : {"Ur All Privacy\\Nope", "Ur All Privacy\\Scenario\\Nope", "Elsewhere",
                           "Ur All Privacy\\Customs\\Mine"}) {
    const CliRun run = RunCommand(scenario_, "show", std::string(node), true);
    EXPECT_EQ(run.status, kExitNoCatalogue) << node;
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("no such node"), std::string::npos);
  }
  // An unselected configuration is a node only with --all, and then it is searched.
  const CliRun all = RunCommand(scenario_, "show", std::string("Ur All Privacy\\Customs\\Mine"), true, true);
  EXPECT_EQ(all.status, kExitDone);
  EXPECT_EQ(all.out.size(), 2u);

  const CliRun missing = RunCli(scenario_.Scratch(), {"--catalogue", scenario_.Path("missing.dat"), "show"});
  EXPECT_EQ(missing.status, kExitNoCatalogue);
}

}  // namespace
}  // namespace qm::cli
