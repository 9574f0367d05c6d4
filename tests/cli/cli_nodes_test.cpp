// NODE names through the real program: short and case-insensitive names, several nodes in one run, the
// ambiguous name and the errors a script reads with --json.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/options.h"
#include "support/case_tree.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

/// Two root configurations whose names differ in case only, and a plug-in whose item covers App's cache.
constexpr char kCatalogue[] =
    "[Config]\nType:Root\nSoftware:App\nSelected:1\n"
    "Cache<>1<>0<>Folder><{dir}\\cache\nLogs<>1<>0<>File><{dir}\\logs<>*.log\n"
    "[Config]\nType:Root\nSoftware:APP\nSelected:1\nOther<>1<>0<>File><{dir}\\other.txt\n"
    "[Config]\nType:Plugins\nSoftware:Tool\nVersion:1\nSelected:1\nCache<>1<>0<>Folder><{dir}\\cache\n";

/// A scratch tree with the catalogue and registry store the runs take.
struct NodeRuns {
  NodeRuns() {
    EXPECT_EQ(CaseTree().Build(dir.Path(), {"cache/a.dat = aa", "logs/x.log = x", "other.txt = o"}), "");
    common = {"--catalogue", PlatformPath(WriteCatalogue(dir, kCatalogue))};
    if (registry.UsesStore()) common.insert(common.end(), {"--registry", registry.StoreFile()});
  }
  CliRun Run(Lines arguments) {
    arguments.insert(arguments.begin(), common.begin(), common.end());
    return RunCli(dir, arguments);
  }

  ScratchFolder dir{"cli-nodes"};
  RegistryFixture registry;
  Lines common;
};

TEST(CliNodes, ShortAndCaseInsensitiveNamesAndSeveralNodesTakeEachTraceOnce) {
  NodeRuns runs;
  const std::string cache = "found\t" + runs.dir / "cache/a.dat";
  const std::string log = "found\t" + runs.dir / "logs/x.log";
  struct Case {
    Lines arguments;
    Lines out;
  };
  const std::vector<Case> cases = {
      {{"show", "App\\Cache"}, {cache, "App\\Cache: 1 trace, 0.00 K; 0 erased, 1 kept, 0 held, 0 failed"}},
      {{"show", "ur all privacy\\app\\cache"},
       {cache, "App\\Cache: 1 trace, 0.00 K; 0 erased, 1 kept, 0 held, 0 failed"}},
      {{"show", "app\\LOGS"}, {log, "App\\Logs: 1 trace, 0.00 K; 0 erased, 1 kept, 0 held, 0 failed"}},
      // The exact name wins over the one that differs in case only.
      {{"show", "APP"},
       {"found\t" + runs.dir / "other.txt", "APP: 1 trace, 0.00 K; 0 erased, 1 kept, 0 held, 0 failed"}},
      // A node inside another one named is left out; the cache both configurations cover is listed once.
      {{"show", "App\\Cache", "Plug-ins\\Tool\\Cache", "App", "App"},
       {cache, log, "Tool\\Cache, App: 2 traces, 0.00 K; 0 erased, 2 kept, 0 held, 0 failed"}},
  };
  for (const Case& c : cases) {
    const CliRun run = runs.Run(c.arguments);
    EXPECT_EQ(run.status, cli::kExitDone) << c.arguments[1] << run.err;
    EXPECT_EQ(run.out, c.out) << c.arguments[1];
  }

  const CliRun json = runs.Run({"--json", "show", "Plug-ins\\Tool", "App\\Cache"});
  ASSERT_EQ(json.out.size(), 2u) << json.err;
  EXPECT_EQ(json.out[1],
            "{\"summary\":{\"nodes\":[\"Ur All Privacy\\\\Plug-ins\\\\Tool\",\"Ur All Privacy\\\\App\\\\Cache\"],"
            "\"traces\":1,\"bytes\":2,\"failed\":0,\"erased\":0,\"kept\":1,\"held\":0,\"unreadable\":0,"
            "\"stopped\":false}}");

  // Two nodes that cover one folder erase it once: what the first erased, the second no longer finds.
  const CliRun cleared = runs.Run({"--yes", "clear", "Plug-ins\\Tool\\Cache", "App\\Cache", "APP"});
  EXPECT_EQ(cleared.status, cli::kExitDone) << cleared.err;
  EXPECT_EQ(cleared.out, (Lines{"erased\t" + runs.dir / "cache/a.dat", "erased\t" + runs.dir / "other.txt",
                                "Tool\\Cache, App\\Cache, APP: 2 traces, 0.00 K; 2 erased, 0 kept, 0 held, 0 failed"}));
  EXPECT_TRUE(ListTree(runs.dir / "cache").empty());
  EXPECT_FALSE(std::filesystem::exists(runs.dir / "other.txt"));
  EXPECT_EQ(ListTree(runs.dir / "logs"), Lines{"x.log = x"});
}

TEST(CliNodes, NamesThatNameNoneOrSeveralNodesAndOtherFailuresAreOneErrorLineWithJson) {
  NodeRuns runs;
  const std::string ambiguous = "the node name \"app\" matches 2 nodes:\n  App\n  APP";
  struct Case {
    Lines arguments;
    int status;
    std::string message;  ///< as the error line holds it, JSON-escaped
  };
  const std::vector<Case> cases = {
      {{"show", "app"}, cli::kExitUsage, "the node name \\\"app\\\" matches 2 nodes:\\n  App\\n  APP"},
      {{"--yes", "clear", "App", "Ur All Privacy\\Nope"},
       cli::kExitNoCatalogue,
       "no such node: Ur All Privacy\\\\Nope"},
      {{"clear", "--passes", "11"}, cli::kExitUsage, "--passes takes a number from 1 to 10, not 11"},
      {{"list", "--no-log", "--log-dir=x"}, cli::kExitUsage, "--no-log contradicts --log and --log-dir"},
      {{"list", "extra"}, cli::kExitUsage, "list takes no argument"},
  };
  for (const Case& c : cases) {
    // Without --json only the error stream tells; with it the output holds exactly the error line.
    const CliRun text = runs.Run(c.arguments);
    EXPECT_EQ(text.status, c.status) << c.message;
    EXPECT_TRUE(text.out.empty()) << c.message;
    Lines json = c.arguments;
    json.push_back("--json");
    const CliRun line = runs.Run(json);
    EXPECT_EQ(line.status, c.status) << c.message;
    EXPECT_EQ(line.out,
              Lines{"{\"error\":{\"code\":" + std::to_string(c.status) + ",\"message\":\"" + c.message + "\"}}"});
    EXPECT_NE(line.err.find("quillmere-cli: "), std::string::npos) << line.err;
  }
  EXPECT_NE(runs.Run({"show", "app"}).err.find("quillmere-cli: " + ambiguous + "\n"), std::string::npos);
  EXPECT_EQ(ListTree(runs.dir / "cache"), Lines{"a.dat = aa"});

  // A catalogue that cannot be loaded: its reason, and the same line as every other error.
  const CliRun missing = RunCli(runs.dir, {"--json", "--catalogue", PlatformPath(runs.dir / "missing.dat"), "show"});
  EXPECT_EQ(missing.status, cli::kExitNoCatalogue);
  ASSERT_EQ(missing.out.size(), 1u);
  const std::string prefix = "{\"error\":{\"code\":3,\"message\":\"cannot load the catalogue ";
  EXPECT_EQ(missing.out[0].substr(0, prefix.size()), prefix);
  EXPECT_NE(missing.out[0].find("missing.dat: "), std::string::npos) << missing.out[0];
}

}  // namespace
}  // namespace qm::testing
