// Runs the walk cases under tests/fixtures/walks; README.md there tells the form of a case file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>

#include "platform/file_system.h"
#include "support/case_tree.h"
#include "support/event_journal.h"
#include "support/file_lock.h"
#include "support/lines.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

constexpr char kRegistryRoot[] = "Software\\QuillmereTest\\Case";

/// Expected lines in this platform's form: {key} the registry root, {dir} the case folder, and the "/" in the
/// path that follows it this platform's separator (registry paths keep their backslashes).
Lines Expected(Lines lines, const std::string& dir) {
  for (std::string& line : lines) {
    line = Replaced(line, "{key}", kRegistryRoot);
    if (const std::size_t start = line.find("{dir}"); start != std::string::npos) {
      std::string tail = line.substr(start + 5);
      std::replace(tail.begin(), tail.end(), '/', FileSystem::Separator());
      line = line.substr(0, start) + dir + tail;
    }
  }
  return lines;
}

class WalkCase : public ::testing::TestWithParam<std::string> {};

TEST_P(WalkCase, ShowChangesNothingAndClearLeavesWhatTheCaseSays) {
  Sections c = ReadSections(GetParam());
  if (c.count("only posix") && FileSystem::Separator() == '\\') GTEST_SKIP() << "a Linux case";

  const std::string registryText =
      Replaced(Joined(c["registry"]), "{key}", std::string("HKEY_CURRENT_USER\\") + kRegistryRoot);
  // The user's folders and the recycle bins lie inside the case folder, so cases reach them (and their
  // ancestors) too.
  TestEngine t("", registryText, [&](EngineParts& parts, const ScratchFolder& scratch) {
    const auto in = [&](const std::string& name) { return scratch / ("case/" + name); };
    parts.Folders = FoldersUnder(in);
    for (const std::string& line : c["bins"]) {
      std::istringstream words(line);
      std::string what;
      Drive drive;
      words >> what >> drive.Path >> drive.FileSystem >> drive.DriveType;
      drive.Path = in(drive.Path);
      if (what == "trash") {
        parts.RecycleBins.TrashFolder = drive.Path;
      } else {
        parts.RecycleBins.Drives.push_back(drive);
      }
    }
  });
  const std::string dir = t.dir.Folder("case");
  const bool anyOrder = c.count("any order") > 0;
  const auto expect = [&](const Lines& actual, const std::string& section) {
    const Lines expected = Expected(c[section], dir);
    EXPECT_EQ(anyOrder ? Sorted(actual) : actual, anyOrder ? Sorted(expected) : expected) << "[" << section << "]";
  };
  CaseTree tree;
  if (const std::string missing = tree.Build(dir, c["files"]); !missing.empty()) GTEST_SKIP() << missing;
  const bool shipped = c.count("shipped catalogue") > 0;
  const std::string catalogueFile =
      shipped ? std::string(QM_CATALOGUE_DIR) + "/PrivacyConfig.dat" : t.dir / "PrivacyConfig.dat";
  Lines warnings =
      shipped ? t.engine.LoadCatalogue(catalogueFile) : t.LoadCatalogue(Replaced(Joined(c["catalogue"]), "{dir}", dir));
  // Each warning names the catalogue file first: the cases write what follows it.
  for (std::string& warning : warnings) warning = Replaced(warning, "\"" + catalogueFile + "\" ", "");
  expect(warnings, "warnings");
  if (c.count("fill")) t.engine.Settings.SecurityFillTimes = static_cast<int16_t>(std::stoi(c["fill"].at(0)));

  const Lines treeBefore = ListTree(dir);
  const Lines registryBefore = t.registry.Dump(kRegistryRoot);
  const Lines nodes = c.count("nodes") ? c["nodes"] : Lines{"Ur All Privacy"};
  // The traces of a run of every node, in turn; true when one of the runs was stopped.
  const auto runNodes = [&](bool clear, RunListener* listener, Lines& traces) {
    bool stopped = false;
    for (const std::string& node : nodes) {
      const RunTotals totals = t.Run(clear, node, listener);
      for (std::string& trace : TraceTexts(totals.Values)) traces.push_back(std::move(trace));
      stopped = stopped || totals.Stopped;
    }
    return stopped;
  };
  if (c.count("show")) {
    Lines shown;
    runNodes(false, nullptr, shown);
    expect(shown, "show");
    EXPECT_EQ(ListTree(dir), treeBefore) << "a show changed the files";
    EXPECT_EQ(t.registry.Dump(kRegistryRoot), registryBefore) << "a show changed the registry";
  }

  t.engine.Settings.EnableFileLogging = true;
  const int stopAfter = c.count("stop") ? std::stoi(c["stop"].at(0)) : 0;
  EventJournal journal(t.engine, stopAfter);
  Lines cleared;
  bool stopped = false;
  {
    std::vector<std::unique_ptr<FileLock>> locks;
    for (const std::string& file : tree.lockedFiles) locks.push_back(std::make_unique<FileLock>(file));
    stopped = runNodes(true, &journal, cleared);
    // Locks in one folder must end in the reverse order of their taking, or the last restores the first's state.
    while (!locks.empty()) locks.pop_back();
  }
  expect(cleared, "clear");
  EXPECT_EQ(stopped, stopAfter > 0);
  EXPECT_EQ(ListTree(dir), Sorted(c["left"]));
  t.registry.Reload();
  expect(t.registry.Dump(kRegistryRoot), "registry left");
  if (c.count("log")) expect(t.LogLines(), "log");
}

Lines CaseFiles() {
  Lines files;
  for (const auto& entry : std::filesystem::directory_iterator(FixturePath("walks"))) {
    if (entry.path().extension() == ".case") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A case is named by its file; gtest refuses a name that is no C++ identifier, so a bad file name shows at once.
std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
  return std::filesystem::path(info.param).stem().string();
}

INSTANTIATE_TEST_SUITE_P(Walks, WalkCase, ::testing::ValuesIn(CaseFiles()), CaseName);

}  // namespace
}  // namespace qm::testing
