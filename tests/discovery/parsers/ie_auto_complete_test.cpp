#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/parsers/parser_harness.h"
#include "platform/registry_backend.h"
#include "support/registry_fixture.h"
#include "support/trace_text.h"

namespace qm {

namespace {

const std::string kStore =
    "Software\\Microsoft\\Protected Storage System Provider\\S-1-5-21-0-0-0-1000\\Data\\"
    "e161255a-37c3-11d2-bcaa-00c04fd929db\\e161255a-37c3-11d2-bcaa-00c04fd929db";

bool KeyExists(const std::string& path) { return test::KeyExists(reg::kCurrentUser, path); }

std::vector<std::string> Entries(int32_t status) {
  std::vector<std::string> entries;
  for (const char* name : {"email:StringData", "q:StringData", "username:StringData"}) {
    entries.push_back("2 " + std::to_string(status) + " " + kStore + "\\" + name);
  }
  return entries;
}

}  // namespace

TEST(ParseIEAutoCompleteTest, EntriesAreListedThenErasedWithThePasswords) {
  test::RegistryFixture fixture("parsers/auto_complete.reg");
  testing::ParserHarness harness;

  std::shared_ptr<PrivacyValues> shown = harness.Call("ParseIEAutoComplete", false);
  ASSERT_TRUE(shown);
  EXPECT_EQ(test::TraceTexts(shown), Entries(1));
  EXPECT_EQ(harness.reported, Entries(1));
  EXPECT_TRUE(harness.sameItem);
  fixture.Reload();
  EXPECT_TRUE(KeyExists(kStore + "\\q:StringData"));
  EXPECT_TRUE(KeyExists("Software\\Microsoft\\Internet Explorer\\IntelliForms"));

  std::shared_ptr<PrivacyValues> cleared = harness.Call("ParseIEAutoComplete", true);
  EXPECT_EQ(test::TraceTexts(cleared), Entries(2));
  EXPECT_EQ(harness.reported, Entries(2));
  EXPECT_TRUE(harness.logLines.empty());
  fixture.Reload();
  EXPECT_FALSE(KeyExists(kStore + "\\q:StringData"));
  EXPECT_TRUE(KeyExists(kStore));
  // The passwords go too, without being traces of the item.
  EXPECT_FALSE(KeyExists("Software\\Microsoft\\Internet Explorer\\IntelliForms"));

  // Nothing left: an empty collection, not nothing.
  std::shared_ptr<PrivacyValues> again = harness.Call("ParseIEAutoComplete", true);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Count(), 0);
}

}  // namespace qm
