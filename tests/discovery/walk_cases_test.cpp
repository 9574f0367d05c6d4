// Runs the walk cases under tests/fixtures/walks: each case file builds a tree of files and registry keys,
// loads a catalogue written for it, runs a Show (which must change nothing) and a Clear, and compares the
// traces, their statuses, the log and what is left with what the file expects.
//
// A case file is made of sections, each a "[name]" line and the lines below it ("#" lines are comments):
//   [only posix] / [only windows]  the case runs on that platform only
//   [files]      the tree, in CaseTree's form, below the case folder {dir}; the user's placeholder folders are
//                {dir}/profile (%userprofiledir%), {dir}/profile/AppData, {dir}/windows, {dir}/windows/system32,
//                {dir}/temp and {dir}/programs
//   [registry]   .reg lines; {key} is HKEY_CURRENT_USER\Software\QuillmereTest\Case
//   [bins]       recycle bins: "drive NAME FILESYSTEM TYPE" (a folder {dir}/NAME) or "trash NAME"
//   [catalogue]  plain catalogue lines; {dir} is the case folder
//   [warnings]   what loading the catalogue warns of, after the catalogue file's name
//   [settings]   "fill N" (overwrite passes)
//   [stop] N     the clear is stopped once N traces were reported
//   [any order]  traces compare without regard to their order
//   [show], [clear]  the traces, "kind status path"; {dir} and "/" are the case folder and the separator of
//                this platform, {key} is Software\QuillmereTest\Case
//   [left]       what the clear leaves in {dir} (ListTree's form)
//   [registry left]  what the clear leaves below {key} (RegistryFixture::Dump's form)
//   [log]        the log lines of the clear, banners left out
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "platform/file_system.h"
#include "support/case_tree.h"
#include "support/event_journal.h"
#include "support/file_lock.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

constexpr char kRegistryRoot[] = "Software\\QuillmereTest\\Case";

using Sections = std::map<std::string, std::vector<std::string>>;

Sections ReadCase(const std::string& file) {
  Sections sections;
  std::vector<std::string>* current = nullptr;
  std::istringstream in(ReadBytes(file));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line.size() > 2 && line.front() == '[' && line.find(']') != std::string::npos &&
        (line.rfind("[Config]", 0) != 0 && line.rfind("[{key}", 0) != 0 && line.rfind("[-{key}", 0) != 0)) {
      const std::size_t close = line.find(']');
      current = &sections[line.substr(1, close - 1)];
      if (close + 1 < line.size()) current->push_back(line.substr(close + 2));
      continue;
    }
    if (current) current->push_back(line);
  }
  return sections;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

/// An expected line in this platform's form: the case folder, the registry root, and file paths with this
/// platform's separator (registry paths keep their backslashes).
std::string Expected(std::string line, const std::string& dir, bool filePaths) {
  line = Replace(line, "{key}", kRegistryRoot);
  const std::size_t start = line.find("{dir}");
  if (start == std::string::npos) return line;
  std::string tail = line.substr(start + 5);
  if (filePaths) std::replace(tail.begin(), tail.end(), '/', FileSystem::Separator());
  return line.substr(0, start) + dir + tail;
}

std::vector<std::string> ExpectedTraces(const std::vector<std::string>& lines, const std::string& dir) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    const bool registry = line[0] == '1' || line[0] == '2';
    out.push_back(Expected(line, dir, !registry));
  }
  return out;
}

std::vector<std::string> Sorted(std::vector<std::string> lines, bool sort) {
  if (sort) std::sort(lines.begin(), lines.end());
  return lines;
}

RecycleBinPlaces Bins(const std::vector<std::string>& lines, const std::string& dir) {
  RecycleBinPlaces places;
  for (const std::string& line : lines) {
    std::istringstream words(line);
    std::string what, name;
    words >> what >> name;
    const std::string path = (std::filesystem::path(dir) / name).string();
    if (what == "trash") {
      places.TrashFolder = path;
    } else {
      Drive drive{path, 2, ""};
      words >> drive.FileSystem >> drive.DriveType;
      places.Drives.push_back(drive);
    }
  }
  return places;
}

class WalkCase : public ::testing::TestWithParam<std::string> {};

TEST_P(WalkCase, ShowChangesNothingAndClearLeavesWhatTheCaseSays) {
  Sections c = ReadCase(GetParam());
  const bool windows = FileSystem::Separator() == '\\';
  if (c.count("only posix") && windows) GTEST_SKIP() << "a Linux case";
  if (c.count("only windows") && !windows) GTEST_SKIP() << "a Windows case";

  const std::string registryText =
      c.count("registry") ? Replace(Joined(c["registry"]), "{key}", std::string("HKEY_CURRENT_USER\\") + kRegistryRoot)
                          : "";
  // The user's folders lie inside the case folder, so cases reach them (and their ancestors) too.
  TestEngine t("", registryText, [&](EngineParts& parts, const ScratchFolder& scratch) {
    const std::string root = scratch / "case";
    parts.Folders = {root + "/profile", root + "/profile/AppData", root + "/windows", root + "/windows/system32",
                     root + "/temp", root + "/programs"};
    for (std::string* folder : {&parts.Folders.UserProfileDir, &parts.Folders.AppDataDir, &parts.Folders.WindowsDir,
                                &parts.Folders.SystemDir, &parts.Folders.TemporaryDir, &parts.Folders.ProgramFilesDir}) {
      std::replace(folder->begin(), folder->end(), '/', FileSystem::Separator());
    }
    parts.RecycleBins = Bins(c["bins"], root);
  });
  const std::string dir = t.dir.Folder("case");
  CaseTree tree;
  if (const std::string missing = tree.Build(dir, c["files"]); !missing.empty()) GTEST_SKIP() << missing;
  const std::vector<std::string> warnings = t.LoadCatalogue(Replace(Joined(c["catalogue"]), "{dir}", dir));
  // Each warning names the catalogue file first: the cases write what follows it.
  const std::string fileName = "\"" + t.dir / "PrivacyConfig.dat" + "\"";
  std::vector<std::string> shortWarnings;
  for (const std::string& warning : warnings) shortWarnings.push_back(Replace(warning, fileName + " ", ""));
  std::vector<std::string> expectedWarnings;
  for (const std::string& line : c["warnings"]) expectedWarnings.push_back(Expected(line, dir, true));
  EXPECT_EQ(shortWarnings, expectedWarnings);
  for (const std::string& setting : c["settings"]) {
    if (setting.rfind("fill ", 0) == 0) t.engine.Settings.SecurityFillTimes = static_cast<int16_t>(std::stoi(setting.substr(5)));
  }
  const bool anyOrder = c.count("any order") > 0;

  const std::vector<std::string> treeBefore = ListTree(dir);
  const std::vector<std::string> registryBefore = t.registry.Dump(kRegistryRoot);
  if (c.count("show")) {
    const RunTotals shown = t.Run(false);
    EXPECT_EQ(Sorted(TraceTexts(shown.Values), anyOrder), Sorted(ExpectedTraces(c["show"], dir), anyOrder));
    EXPECT_EQ(ListTree(dir), treeBefore) << "a show changed the files";
    EXPECT_EQ(t.registry.Dump(kRegistryRoot), registryBefore) << "a show changed the registry";
  }
  if (!c.count("clear")) return;

  t.engine.Settings.EnableFileLogging = true;
  const int stopAfter = c.count("stop") ? std::stoi(c["stop"].at(0)) : 0;
  EventJournal journal(t.engine, stopAfter);
  RunTotals cleared;
  {
    std::vector<std::unique_ptr<FileLock>> locks;
    for (const std::string& file : tree.lockedFiles) locks.push_back(std::make_unique<FileLock>(file));
    cleared = t.Run(true, "Ur All Privacy", &journal);
  }
  EXPECT_EQ(Sorted(TraceTexts(cleared.Values), anyOrder), Sorted(ExpectedTraces(c["clear"], dir), anyOrder));
  EXPECT_EQ(cleared.Stopped, stopAfter > 0);
  if (c.count("left")) {
    std::vector<std::string> expected;
    for (const std::string& line : c["left"]) expected.push_back(ListedEntry(line));
    EXPECT_EQ(ListTree(dir), Sorted(expected, true));
  }
  if (c.count("registry left")) {
    t.registry.Reload();
    std::vector<std::string> expected;
    for (const std::string& line : c["registry left"]) expected.push_back(Expected(line, dir, false));
    EXPECT_EQ(t.registry.Dump(kRegistryRoot), expected);
  }
  if (c.count("log")) {
    std::vector<std::string> expected;
    for (const std::string& line : c["log"]) expected.push_back(Expected(line, dir, true));
    EXPECT_EQ(Sorted(t.LogLines(), anyOrder), Sorted(expected, anyOrder));
  }
}

std::vector<std::string> CaseFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(FixturePath("walks"))) {
    if (entry.path().extension() == ".case") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = std::filesystem::path(info.param).stem().string();
  std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Walks, WalkCase, ::testing::ValuesIn(CaseFiles()), CaseName);

}  // namespace
}  // namespace qm::testing
