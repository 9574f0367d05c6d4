#include <gtest/gtest.h>

#include <filesystem>

#include "support/lines.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

/// A catalogue of a key item and a value item, and the keys they find.
Sections kCase = ReadSections(FixturePath("discovery/registry_walks.case"));
const std::string kCatalogue = Joined(kCase["catalogue"]);
const std::string kRegistry = Joined(kCase["registry"]);

TEST(RegistryWalks, ValuesThatCannotBeDeletedEndFailedAndTheWalkLogsWhy) {
  // A store with a line it cannot read is never written: every delete is refused.
  TestEngine t("", kRegistry + "\"bad\"=hex:zz\r\n");
  if (!t.registry.UsesStore()) GTEST_SKIP() << "the real registry refuses no delete a test can arrange";
  t.LoadCatalogue(kCatalogue);
  t.engine.Settings.EnableFileLogging = true;
  const RunTotals totals = t.Run(true);
  const std::string base = "Software\\QuillmereTest\\Walk\\";
  EXPECT_EQ(TraceTexts(totals.Values),
            (Lines{"2 -1 " + base + "History\\k1", "1 -1 " + base + "History\\k1\\v", "1 -1 " + base + "MRU\\a"}));
  // The registry walk's error line (its text holds line breaks of its own): date and time, "--", number,
  // source and the walk's name, the text, and the code of the refusal; then one line per trace as it ended.
  const std::string log = Joined(t.LogLines());
  EXPECT_EQ(log.rfind("12/5/2026 2:03:07 PM--100,", 0), 0u) << log;
  EXPECT_NE(log.find("RegKey(GetRegKeyAllSub),"), std::string::npos) << log;
  std::string traces = ",5\n";
  for (const char* path : {"History\\k1\\v", "History\\k1", "MRU\\a"}) {
    traces += "Unknown HKEY_CURRENT_USER\\" + base + path + "\n";
  }
  EXPECT_NE(log.find(traces), std::string::npos) << log;
}

TEST(RegistryWalks, AStoreWriteThatFailsLeavesEveryTraceOfItFailed) {
  TestEngine t("", kRegistry);
  if (!t.registry.UsesStore()) GTEST_SKIP() << "the real registry writes itself";
  t.LoadCatalogue(kCatalogue);
  // The store's folder turns into a file: the write at the end of each item cannot happen.
  const std::filesystem::path folder = std::filesystem::path(t.registry.StoreFile()).parent_path();
  std::filesystem::rename(folder, folder.string() + ".gone");
  WriteBytes(folder.string(), "not a folder");
  const RunTotals totals = t.Run(true);
  std::filesystem::remove(folder);
  std::filesystem::rename(folder.string() + ".gone", folder);
  for (const auto& pv : *totals.Values) EXPECT_EQ(pv->ValueStatus, TraceStatus::Failed) << pv->Path;
  EXPECT_EQ(totals.Failed, 3);
  t.registry.Reload();
  EXPECT_EQ(t.registry.Dump("Software\\QuillmereTest\\Walk").size(), 6u) << "nothing of it was erased on disk";
}

}  // namespace
}  // namespace qm::testing
