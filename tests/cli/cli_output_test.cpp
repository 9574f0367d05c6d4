// What the real program prints for a person and for a script: the long listing, trace lines and summaries,
// and the run options that change the stored settings for one run only.
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

/// Runs the program with one catalogue and one registry store.
class CatalogueRuns {
 public:
  CatalogueRuns(const std::string& tag, const std::string& catalogue, const std::string& registryText = "")
      : dir(tag), registry("", registryText) {
    common_ = {"--catalogue", PlatformPath(WriteCatalogue(dir, catalogue))};
    if (registry.UsesStore()) common_.insert(common_.end(), {"--registry", registry.StoreFile()});
  }
  CliRun Run(Lines arguments) const {
    arguments.insert(arguments.begin(), common_.begin(), common_.end());
    return RunCli(dir, arguments);
  }

  ScratchFolder dir;
  RegistryFixture registry;

 private:
  Lines common_;
};

TEST(CliOutput, ListLongAndJsonTellKindCheckDescriptionTypeCoverageAndDetection) {
  CatalogueRuns runs("cli-list",
                     "[Config]\nType:Root\nSoftware:App\nDescription:What App keeps\nSelected:1\n"
                     "Installed<>1<>0<>Detect><{dir}\\app\n"
                     "MRU<>1<>0<>RegValue><HKEY_CURRENT_USER<>Software\\QuillmereTest\\App<>File*\n"
                     "Cache<>0<>0<>Folder><{dir}\\cache\n"
                     "[Config]\nType:Plugins\nSoftware:Gone\nVersion:1\nSelected:1\n"
                     "Installed<>1<>0<>Detect><{dir}\\gone\nBroken<>1<>0<>File><relative\\path\n");
  runs.dir.Folder("app");
  const CliRun all = runs.Run({"list", "--long", "--all"});
  EXPECT_EQ(all.status, cli::kExitDone) << all.err;
  EXPECT_EQ(
      all.out,
      (Lines{"Ur All Privacy  (root)", "App  (configuration, checked, detected)", "  What App keeps",
             "App\\MRU  (item, checked, RegValue)", "  covers HKEY_CURRENT_USER\\Software\\QuillmereTest\\App | File*",
             "App\\Cache  (item, not checked, Folder)", "  covers " + runs.dir / "cache", "Plug-ins  (group)",
             "Plug-ins\\Gone  (configuration, checked, not detected)", "Plug-ins\\Gone\\Broken  (item, checked, File)",
             "  finds nothing: its path \"relative\\path\" is not absolute or climbs with \"..\""}));
  // The path that can never be walked is a load warning as well.
  EXPECT_NE(all.err.find("finds nothing"), std::string::npos) << all.err;

  // Unchecked nodes only with --all; plain list as before.
  EXPECT_EQ(runs.Run({"list", "--long"}).out.size(), all.out.size() - 2);
  EXPECT_EQ(runs.Run({"list"}).out,
            (Lines{"Ur All Privacy", "Ur All Privacy\\App", "Ur All Privacy\\App\\MRU", "Ur All Privacy\\Plug-ins",
                   "Ur All Privacy\\Plug-ins\\Gone", "Ur All Privacy\\Plug-ins\\Gone\\Broken"}));

  const CliRun json = runs.Run({"list", "--json"});
  EXPECT_EQ(
      json.out,
      (Lines{"{\"tag\":\"Ur All Privacy\",\"text\":\"Ur All Privacy\",\"selected\":true,\"kind\":\"root\","
             "\"name\":\"Ur All Privacy\"}",
             "{\"tag\":\"Ur All Privacy\\\\App\",\"text\":\"App\",\"selected\":true,\"kind\":\"configuration\","
             "\"name\":\"App\",\"description\":\"What App keeps\",\"detected\":true}",
             "{\"tag\":\"Ur All Privacy\\\\App\\\\MRU\",\"text\":\"MRU\",\"selected\":true,\"kind\":\"item\","
             "\"name\":\"App\\\\MRU\",\"type\":\"RegValue\",\"covers\":[\"HKEY_CURRENT_USER\","
             "\"Software\\\\QuillmereTest\\\\App\",\"File*\"]}",
             "{\"tag\":\"Ur All Privacy\\\\Plug-ins\",\"text\":\"Plug-ins\",\"selected\":true,\"kind\":\"group\","
             "\"name\":\"Plug-ins\"}",
             "{\"tag\":\"Ur All Privacy\\\\Plug-ins\\\\Gone\",\"text\":\"Gone\",\"selected\":true,"
             "\"kind\":\"configuration\",\"name\":\"Plug-ins\\\\Gone\",\"description\":\"\",\"detected\":false}",
             "{\"tag\":\"Ur All Privacy\\\\Plug-ins\\\\Gone\\\\Broken\",\"text\":\"Broken\",\"selected\":true,"
             "\"kind\":\"item\",\"name\":\"Plug-ins\\\\Gone\\\\Broken\",\"type\":\"File\",\"covers\":["
             "\"relative\\\\path\"],"
             "\"findsNothing\":\"its path \\\"relative\\\\path\\\" is not absolute or climbs with \\\"..\\\"\"}"}));
  // Listing searched nothing: the folder a search of App would empty is still whole.
  runs.dir.Write("cache/c.dat", "c");
  EXPECT_EQ(runs.Run({"list", "--long", "--all"}).out, all.out);
  EXPECT_EQ(ListTree(runs.dir / "cache"), Lines{"c.dat = c"});
}

TEST(CliOutput, TraceLinesShowHivesEscapedNamesAndSizesAndTheSummarySaysWhatBecameOfThem) {
  CatalogueRuns runs("cli-text",
                     "[Config]\nType:Root\nSoftware:Reg\nSelected:1\n"
                     "Values<>1<>0<>RegValue><HKEY_CURRENT_USER<>Software\\QuillmereTest\\Cli\n"
                     "[Config]\nType:Root\nSoftware:Files\nSelected:1\n"
                     "Big<>1<>0<>Folder><{dir}\\big\nNames<>1<>0<>Folder><{dir}\\names\n",
                     "[HKEY_CURRENT_USER\\Software\\QuillmereTest\\Cli]\r\n\"Last\"=\"x\"\r\n");
  runs.dir.Write("big/f.bin", std::string(1536, 'b'));
  const CliRun reg = runs.Run({"show", "Reg"});
  ASSERT_EQ(reg.out.size(), 2u) << reg.err;
  EXPECT_EQ(reg.out[0], "found\tHKEY_CURRENT_USER\\Software\\QuillmereTest\\Cli\\Last");

  struct Case {
    Lines arguments;
    Lines out;
  };
  const std::string big = runs.dir / "big/f.bin";
  const std::vector<Case> cases = {
      {{"show", "Files\\Big"}, {"found\t" + big, "Files\\Big: 1 trace, 1.54 K; 0 erased, 1 kept, 0 held, 0 failed"}},
      {{"show", "--human", "Files\\Big"},
       {"found\t" + big, "Files\\Big: 1 trace, 1.5 KiB; 0 erased, 1 kept, 0 held, 0 failed"}},
      {{"clear", "--yes", "--human", "Files\\Big"},
       {"erased\t" + big, "Files\\Big: 1 trace, 1.5 KiB; 1 erased, 0 kept, 0 held, 0 failed"}},
  };
  for (const Case& c : cases) EXPECT_EQ(runs.Run(c.arguments).out, c.out) << c.arguments[0];
  EXPECT_TRUE(ListTree(runs.dir / "big").empty());

  // Names with control characters and bytes that are no UTF-8 (Windows allows neither in a file name).
  if (WindowsBuild()) return;
  for (const std::string& name : {std::string("tab\there"), std::string("line\nbreak"), std::string("bell\x07"),
                                  std::string("caf\xC3\xA9 \xFF")}) {
    runs.dir.Write("names/" + name, "n");
  }
  const std::string names = runs.dir / "names/";
  EXPECT_EQ(Sorted(runs.Run({"show", "Files\\Names"}).out),
            (Lines{"Files\\Names: 4 traces, 0.00 K; 0 erased, 4 kept, 0 held, 0 failed",
                   "found\t" + names + "bell\\x07", "found\t" + names + "caf\xC3\xA9 \\xFF",
                   "found\t" + names + "line\\nbreak", "found\t" + names + "tab\\there"}));
}

TEST(CliOutput, RunOptionsChangeTheSettingsOfOneRunAndNeverTheStore) {
  const std::string settings =
      "[HKEY_CURRENT_USER\\Software\\Dunvorel\\Quillmere]\r\n"
      "\"Enable File Logging\"=\"true\"\r\n\"Keep Log Days\"=\"1\"\r\n\"Security Fill Times\"=\"2\"\r\n";
  CatalogueRuns runs("cli-options",
                     "[Config]\nType:Root\nSoftware:App\nSelected:1\nCache<>1<>0<>Folder><{dir}\\cache\n", settings);
  const Lines stored = runs.registry.Dump("Software\\Dunvorel\\Quillmere");
  ASSERT_EQ(stored.size(), 4u);
  runs.dir.Write("cache/a.dat", "a");
  const std::string logs = runs.dir.Folder("own-logs");
  const auto summary = [&](const Lines& arguments) {
    const CliRun run = runs.Run(arguments);
    EXPECT_EQ(run.status, cli::kExitDone) << run.err;
    return run.out.empty() ? "" : run.out.back();
  };

  // Logging is on in the store: --no-log leaves it out, the next run logs again, --log-dir logs elsewhere.
  EXPECT_EQ(summary({"--json", "show", "--no-log"}).find("\"log\""), std::string::npos);
  const std::string logged = summary({"--json", "show"});
  const std::size_t log = logged.find(",\"log\":\"");
  ASSERT_NE(log, std::string::npos) << logged;
  std::filesystem::remove(Replaced(logged.substr(log + 8, logged.size() - log - 8 - 3), "\\\\", "\\"));
  EXPECT_NE(summary({"--json", "show", "--log-dir", PlatformPath(logs)}).find(Replaced(logs, "\\", "\\\\")),
            std::string::npos);
  ASSERT_EQ(ListTree(logs).size(), 1u);
  EXPECT_NE(ListTree(logs)[0].find("Find " + runs.dir / "cache/a.dat"), std::string::npos) << ListTree(logs)[0];

  // --passes takes the setting's range only; a clear with it and without a log changes nothing stored.
  for (const char* passes : {"0", "11", "two", ""}) {
    EXPECT_EQ(runs.Run({"clear", "--yes", std::string("--passes=") + passes}).status, cli::kExitUsage) << passes;
  }
  EXPECT_EQ(summary({"clear", "--yes", "--passes", "10", "--no-log"}),
            "ALL: 1 trace, 0.00 K; 1 erased, 0 kept, 0 held, 0 failed");
  EXPECT_TRUE(ListTree(runs.dir / "cache").empty());
  EXPECT_EQ(ListTree(logs).size(), 1u);
  runs.registry.Reload();
  EXPECT_EQ(runs.registry.Dump("Software\\Dunvorel\\Quillmere"), stored);
}

}  // namespace
}  // namespace qm::testing
