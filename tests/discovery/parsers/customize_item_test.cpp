#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/customize_parse.h"
#include "discovery/parsers/parser_harness.h"
#include "discovery/walk_harness.h"

namespace qm {

TEST(CustomizeItemTest, ItemCallsItsParserByNameAndReRaisesItsTraces) {
  testing::ScratchFolder scratch("parse");
  const std::string cookies = scratch.Write("P/prof/s/cookies.txt", "c");
  testing::WalkHarness harness;
  testing::ParserHarness parsers;
  RegisterCustomizeParse(harness.parsers, parsers.parse);
  auto item = testing::WalkHarness::Item(item_types::kCustomize, {"ParseMozillaCookies", scratch.Path("P")});

  testing::WalkResult shown = harness.Run(*item, false);
  EXPECT_EQ(testing::Finals(shown), std::vector<std::string>{"4 1 " + cookies});
  EXPECT_EQ(shown.reported, std::vector<std::string>{"4 1 " + cookies});
  EXPECT_EQ(shown.finishCount, 1);
  EXPECT_EQ(harness.log.lines, std::vector<std::string>{"Find " + cookies});

  testing::WalkResult cleared = harness.Run(*item, true);
  EXPECT_EQ(testing::Finals(cleared), std::vector<std::string>{"4 2 " + cookies});
  EXPECT_EQ(cleared.reported, std::vector<std::string>{"4 2 " + cookies});
  EXPECT_FALSE(testing::Exists(cookies));

  // The parser's events reach only the item whose parser runs.
  auto other = testing::WalkHarness::Item(item_types::kFile, {scratch.Path("P")});
  EXPECT_EQ(harness.Run(*other, false).finishCount, 0);

  // A name that is no parser's (names are exact) leaves the item's empty result.
  auto unknown =
      testing::WalkHarness::Item(item_types::kCustomize, {"parsemozillacookies", scratch.Path("P")});
  testing::WalkResult none = harness.Run(*unknown, false);
  ASSERT_TRUE(none.values);
  EXPECT_EQ(none.values->Count(), 0);
  EXPECT_EQ(none.finishCount, 0);
}

TEST(CustomizeItemTest, TablesHoldTheSixParsersByTheirExactNames) {
  testing::ParserHarness harness;
  // The program's own table and one registered for a parser object of a test are filled alike.
  for (CustomizeParsers* table : {&TheCustomizeParsers(), &harness.table}) {
    for (const char* name : {"ParseRecycleBin", "ParseIEAutoComplete", "ParseMozillaAddressHistory",
                             "ParseMozillaHistoryFile", "ParseMozillaCacheFiles", "ParseMozillaCookies"}) {
      EXPECT_NE(table->Find(name), nullptr) << name;
    }
    EXPECT_EQ(table->Find("parserecyclebin"), nullptr);
    EXPECT_EQ(table->Find("ParseFolderTree"), nullptr);
  }
  EXPECT_EQ(TheCustomizeParsers().Events, TheCustomizeParse());
  EXPECT_EQ(harness.table.Events, harness.parse);
}

}  // namespace qm
