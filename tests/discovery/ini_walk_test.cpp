#include "discovery/ini_walk.h"

#include <gtest/gtest.h>

#include "clean/scratch_folder.h"
#include "discovery/walk_harness.h"

namespace qm {
namespace {

using testing::Finals;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WalkHarness;
using testing::WriteBytes;

const char kIni[] =
    "[Recent]\r\n"
    "a=1\r\n"
    "b=\r\n"
    "c=\"\"\r\n"
    "x\r\n"
    "=novalue\r\n"
    "File1=C:\\doc.txt\r\n"
    "[Other]\r\n"
    "a=9\r\n";

TEST(IniWalk, FindsFilledEntriesOnlyAndBlanksThemInPlace) {
  ScratchFolder dir("ini-walk");
  const std::string ini = dir / "app.ini";
  WriteBytes(ini, kIni);

  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kIniFileItem, {ini, "recent"});  // sections ignore case
  const auto shown = h.Run(*item, false);
  EXPECT_EQ(Finals(shown), (std::vector<std::string>{"7 1 " + ini + ":a", "7 1 " + ini + ":File1"}));
  EXPECT_EQ(shown.values->Item(2)->Value, "C:\\doc.txt");
  EXPECT_EQ(shown.values->Item(2)->Size, 20);

  auto filtered = WalkHarness::Item(item_types::kIniFileItem, {ini, "Recent", "FILE#"});
  EXPECT_EQ(Finals(h.Run(*filtered, false)), std::vector<std::string>{"7 1 " + ini + ":File1"});

  h.log.lines.clear();
  const auto cleared = h.Run(*item, true);
  EXPECT_EQ(Finals(cleared), (std::vector<std::string>{"7 2 " + ini + ":a", "7 2 " + ini + ":File1"}));
  EXPECT_EQ(h.log.lines, (std::vector<std::string>{"Delete a", "Delete File1"}));
  const std::string after = ReadBytes(ini);
  EXPECT_NE(after.find("[Recent]"), std::string::npos);
  EXPECT_NE(after.find("a=\r\n"), std::string::npos);
  EXPECT_NE(after.find("File1=\r\n"), std::string::npos);
  EXPECT_EQ(after.find("C:\\doc.txt"), std::string::npos);
  EXPECT_NE(after.find("a=9"), std::string::npos);  // another section's entry of the same name stays
  EXPECT_LT(after.find("File1="), after.find("[Other]"));
  EXPECT_EQ(h.Run(*item, true).finishCount, 0);  // blanked entries are no traces
}

TEST(IniWalk, MissingFileOrSectionFindsNothing) {
  ScratchFolder dir("ini-missing");
  WalkHarness h;
  auto noFile = WalkHarness::Item(item_types::kIniFileItem, {dir / "none.ini", "Recent"});
  EXPECT_EQ(h.Run(*noFile, true).finishCount, 0);
  WriteBytes(dir / "app.ini", kIni);
  auto noSection = WalkHarness::Item(item_types::kIniFileItem, {dir / "app.ini", "Nope"});
  EXPECT_EQ(h.Run(*noSection, true).finishCount, 0);
  EXPECT_EQ(ReadBytes(dir / "app.ini"), kIni);
}

TEST(IniWalk, LargeSectionsAreReadWhole) {
  ScratchFolder dir("ini-large");
  // About 3000 bytes, then about 30000 bytes of non-ASCII text (more bytes than characters).
  std::string small = "[S]\r\n";
  for (int i = 0; i < 200; ++i) small += "k" + std::to_string(i) + "=value\r\n";
  WriteBytes(dir / "small.ini", small);
  EXPECT_EQ(ReadIniSection(dir / "small.ini", "S").size(), 200u);

  std::string wide = "[S]\r\n";
  for (int i = 0; i < 2000; ++i) wide += "\xC3\xA9t\xC3\xA9" + std::to_string(i) + "=\xC3\xBC\xC3\xBC\r\n";
  WriteBytes(dir / "wide.ini", wide);
  const auto lines = ReadIniSection(dir / "wide.ini", "S");
  ASSERT_EQ(lines.size(), 2000u);
  // Windows reads ini files in the ANSI code page, Linux as UTF-8: the letters differ, the entries do not.
  EXPECT_NE(lines.back().find("1999="), std::string::npos);

  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kIniFileItem, {dir / "small.ini", "S"});
  EXPECT_EQ(h.Run(*item, false).finishCount, 200);
}

TEST(IniWalk, StopEndsTheWalk) {
  ScratchFolder dir("ini-stop");
  WriteBytes(dir / "app.ini", "[S]\r\na=1\r\nb=2\r\nc=3\r\n");
  WalkHarness h;
  auto item = WalkHarness::Item(item_types::kIniFileItem, {dir / "app.ini", "S"});
  EXPECT_EQ(h.Run(*item, true, 1).finishCount, 1);
  EXPECT_EQ(ReadBytes(dir / "app.ini"), "[S]\r\na=\r\nb=2\r\nc=3\r\n");
}

}  // namespace
}  // namespace qm
