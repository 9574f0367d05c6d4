#include "clean/engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "support/case_tree.h"
#include "support/event_journal.h"
#include "support/file_system_extras.h"
#include "support/lines.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

constexpr char kFolderItem[] =
    "[Config]\nType:Root\nSoftware:App\nSelected:1\nCache<>1<>0<>Folder><{dir}\\cache\n"
    "Files<>1<>0<>File><{dir}\\cache\n";

/// A listener that runs `action` when the trace of `path` is reported, and keeps the paths of the walk's
/// problems and the run's warnings as it hears them.
class OnReport : public RunListener {
 public:
  explicit OnReport(std::string path = "", std::function<void()> action = {})
      : path_(std::move(path)), action_(std::move(action)) {}
  void AppendValue(PrivacyItem&, PrivacyValue& pv) override {
    if (pv.Path == path_) action_();
  }
  void WalkProblem(PrivacyItem&, const std::string& path, const RuntimeError&) override { told.push_back(path); }
  void Warning(const std::string& message) override { told.push_back(message); }
  Lines told;

 private:
  std::string path_;
  std::function<void()> action_;
};

TEST(Engine, TwoEnginesOnTwoThreadsShareNothing) {
  TestEngine first("", "[HKEY_CURRENT_USER\\Software\\QuillmereTest\\One]\r\n\"a\"=\"1\"\r\n");
  TestEngine second;
  for (TestEngine* t : {&first, &second}) {
    CaseTree().Build(t->dir.Path(), {"cache/" + std::string(t == &first ? "one" : "two") + ".dat = x"});
    t->LoadCatalogue(kFolderItem);
    t->engine.Settings.EnableFileLogging = true;
  }
  // The second one's stop must not reach the first, nor the first one's settings the second; asked before its
  // clear, the stop lets it erase nothing.
  second.engine.RequestStop();
  second.engine.Settings.EnableFileLogging = false;
  RunTotals totals[2];
  std::thread other([&] { totals[1] = second.Run(true); });
  totals[0] = first.Run(false);
  other.join();

  EXPECT_EQ(TraceTexts(totals[0].Values),
            (Lines{"4 1 " + first.dir / "cache/one.dat", "4 1 " + first.dir / "cache/one.dat"}));
  EXPECT_FALSE(totals[0].Stopped);
  EXPECT_TRUE(totals[1].Stopped);
  EXPECT_EQ(totals[1].Count, 0);
  EXPECT_EQ(ListTree(second.dir / "cache"), Lines{"two.dat = x"});
  EXPECT_EQ(first.LogLines().size(), 2u);
  EXPECT_EQ(totals[1].LogFileName, "");
  EXPECT_FALSE(second.engine.StopRequested()) << "a run's end clears its stop for the next one";
}

TEST(Engine, WhatAnotherRunRemovedFirstIsErasedAllTheSameAndAFolderSwappedForALinkIsNeverWalkedThrough) {
  TestEngine t;
  CaseTree().Build(t.dir.Path(), {"cache/sub/inner.dat = i", "cache/other.dat = o"});
  t.LoadCatalogue(kFolderItem);
  // Once the walk has read the folder, another run removes the sub-folder and the file before it can; then,
  // right after the walk has read "sub" as a folder, "sub" becomes a link to a folder outside the item.
  OnReport other(t.dir / "cache/sub", [&] {
    std::filesystem::remove_all(t.dir / "cache/sub");
    std::filesystem::remove(t.dir / "cache/other.dat");
  });
  const RunTotals totals = t.Run(true, "Ur All Privacy", &other);
  EXPECT_EQ(TraceTexts(totals.Values), (Lines{"5 2 " + t.dir / "cache/sub", "4 2 " + t.dir / "cache/other.dat"}));
  EXPECT_TRUE(other.told.empty());

  CaseTree().Build(t.dir.Path(), {"cache/sub/inner.dat = i", "outside/secret.dat = s", "outside/deep/d.dat = d"});
  if (!MakeSymbolicLink(t.dir / "outside", t.dir / "probe")) GTEST_SKIP() << "no symbolic links here";
  OnReport swap(t.dir / "cache/sub", [&] {
    std::filesystem::rename(t.dir / "cache/sub", t.dir / "moved");
    MakeSymbolicLink(t.dir / "outside", t.dir / "cache/sub");
  });
  const RunTotals swapped = t.Run(true, "Ur All Privacy", &swap);
  EXPECT_EQ(ListTree(t.dir / "outside"), (Lines{"deep/", "deep/d.dat = d", "secret.dat = s"}));
  EXPECT_EQ(TraceTexts(swapped.Values), Lines{"5 -1 " + t.dir / "cache/sub"});
  EXPECT_EQ(swap.told, Lines{t.dir / "cache/sub"}) << "the folder it could not enter is told";
  EXPECT_EQ(swapped.Unreadable, 1);
}

TEST(Engine, AStopInsideAFileOrParserWalkEndsItBeforeTheNextFile) {
  TestEngine t;
  CaseTree().Build(t.dir.Path(),
                   {"files/a.dat = a", "files/b.dat = b", "moz/p/s/Cache/c1 = 1", "moz/p/s/Cache/c2 = 2"});
  t.LoadCatalogue(
      "[Config]\nSoftware:App\nSelected:1\nFiles<>1<>0<>File><{dir}\\files\n"
      "[Config]\nSoftware:Moz\nSelected:1\nCache<>1<>0<>Customize><ParseMozillaCacheFiles<>{dir}\\moz\n");
  for (const char* node : {"Ur All Privacy\\App", "Ur All Privacy\\Moz"}) {
    EventJournal journal(t.engine, 1);
    const RunTotals totals = t.Run(true, node, &journal);
    EXPECT_TRUE(totals.Stopped) << node;
    EXPECT_EQ(TraceTexts(totals.Values).size(), 1u) << node;
  }
  EXPECT_EQ(ListTree(t.dir / "files").size(), 1u);
  EXPECT_EQ(ListTree(t.dir / "moz/p/s/Cache").size(), 1u);
}

TEST(Engine, TagsSelectTheNodeAtTheirPlaceEvenWhenNamesRepeat) {
  TestEngine t;
  Sections c = ReadSections(FixturePath("clean/repeated_names.case"));
  CaseTree().Build(t.dir.Path(), c["files"]);
  const Lines warnings = t.LoadCatalogue(Joined(c["catalogue"]));
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_NE(warnings[0].find("line 16: configuration \"Plug-ins\" repeats the item title \"Files\" of line 15"),
            std::string::npos)
      << warnings[0];
  EXPECT_NE(warnings[1].find("\"Plug-ins\" cannot be named by its name in a tree tag; its tag is "
                             "\"Ur All Privacy\\Plug-ins (2)\""),
            std::string::npos)
      << warnings[1];

  const auto shown = [&](const std::string& tag, bool all = false) {
    return TraceTexts(t.Run(false, tag, nullptr, all).Values);
  };
  EXPECT_EQ(shown("Ur All Privacy\\Customs\\Tool"), Lines{"4 1 " + t.dir / "cust/c.dat"});
  EXPECT_EQ(shown("Ur All Privacy\\Plug-ins\\Tool\\Files"), Lines{"4 1 " + t.dir / "plug/p.dat"});
  EXPECT_EQ(shown("Ur All Privacy\\Plug-ins (2)"), Lines{"4 1 " + t.dir / "root/r.dat"});
  EXPECT_EQ(shown("Ur All Privacy\\Plug-ins (2)\\Files (2)", true), Lines{"4 1 " + t.dir / "root/r.dat"});
  EXPECT_FALSE(SelectRunTarget(t.engine.Catalogue(), "Ur All Privacy\\Plug-ins (2)\\Files (2)").has_value())
      << "an unselected item is no node of the tree without --all";
}

TEST(Engine, ALogThatCannotBeOpenedIsAWarningAndTheRunGoesOn) {
  TestEngine t("", "", [](EngineParts& parts, const ScratchFolder& dir) {
    parts.LogsFolder = dir.Write("not-a-folder", "x") + "/logs";
  });
  CaseTree().Build(t.dir.Path(), {"cache/a.dat = a"});
  t.LoadCatalogue(kFolderItem);
  t.engine.Settings.EnableFileLogging = true;
  OnReport listener;
  const RunTotals totals = t.Run(true, "Ur All Privacy", &listener);
  EXPECT_EQ(totals.Count, 1);
  EXPECT_FALSE(std::filesystem::exists(t.dir / "cache/a.dat"));
  ASSERT_EQ(listener.told.size(), 1u);
  EXPECT_NE(listener.told[0].find("not-a-folder"), std::string::npos) << listener.told[0];
}

}  // namespace
}  // namespace qm::testing
