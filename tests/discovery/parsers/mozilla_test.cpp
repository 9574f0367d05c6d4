#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "discovery/parsers/mozilla_address_history.h"
#include "discovery/parsers/parser_harness.h"
#include "platform/file_lock.h"
#include "support/registry_fixture.h"
#include "support/trace_text.h"

namespace qm {

namespace {

using testing::Exists;
using testing::ParserHarness;
using testing::ReadBytes;
using testing::ScratchFolder;

std::string Fixture(const std::string& name) { return ReadBytes(test::FixturePath("parsers/" + name)); }

std::string FileTrace(const std::string& path, int32_t status) {
  return "4 " + std::to_string(status) + " " + path;
}

std::vector<std::string> Values(const PrivacyValues& values) {
  std::vector<std::string> out;
  for (const auto& pv : values) out.push_back(pv->Value);
  return out;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

TEST(ParseMozillaAddressHistoryTest, UpperCaseSequenceIsListedThenCutOutOfTheFile) {
  ScratchFolder scratch("parse");
  const std::string original = Fixture("localstore_upper.rdf");
  const std::string file = scratch.Write("Profiles/default/x1y2z3.slt/localstore.rdf", original);
  // A profile folder without the file, and a file one level too high: neither is looked at.
  scratch.Folder("Profiles/empty/abc.slt");
  const std::string tooHigh = scratch.Write("Profiles/default/localstore.rdf", original);
  ParserHarness harness;
  const std::vector<std::string> settings = {scratch.Path("Profiles")};

  std::shared_ptr<PrivacyValues> shown = harness.Call("ParseMozillaAddressHistory", false, settings);
  ASSERT_TRUE(shown);
  EXPECT_EQ(Values(*shown), (std::vector<std::string>{"http://www.example.com/",
                                                      "http://news.example.org/story?id=42&amp;p=1",
                                                      "ftp://files.example.net/pub/"}));
  EXPECT_EQ(shown->Item(1)->ValueName, "URL:");
  EXPECT_EQ(shown->Item(1)->Size, 2 * 23);
  EXPECT_EQ(harness.reported, std::vector<std::string>(3, "7 1 " + file + ":URL:"));
  EXPECT_EQ(ReadBytes(file), original);

  std::shared_ptr<PrivacyValues> cleared = harness.Call("ParseMozillaAddressHistory", true, settings);
  EXPECT_EQ(test::TraceTexts(cleared), std::vector<std::string>(3, "7 2 " + file + ":URL:"));
  EXPECT_EQ(ReadBytes(file),
            "<?xml version=\"1.0\"?>\r\n"
            "<RDF:RDF xmlns:NC=\"http://home.netscape.com/NC-rdf#\"\r\n"
            "         xmlns:RDF=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\r\n"
            "  <RDF:Seq about=\"nc:urlbar-history\">\r\n"
            "  </RDF:Seq>\r\n"
            "  <RDF:Description about=\"chrome://navigator/content/navigator.xul#main-window\"\r\n"
            "                   width=\"800\" height=\"600\" />\r\n"
            "</RDF:RDF>\r\n");
  EXPECT_FALSE(Exists(file + ".tmp"));
  EXPECT_EQ(ReadBytes(tooHigh), original);
  EXPECT_EQ(harness.Call("ParseMozillaAddressHistory", true, settings)->Count(), 0);
}

TEST(ParseMozillaAddressHistoryTest, LowerCaseMarkersAreRecognisedAndALeftoverTmpIsReplaced) {
  ScratchFolder scratch("parse");
  const std::string file = scratch.Write("P/prof/s.default/localstore.rdf", Fixture("localstore_lower.rdf"));
  const std::string tmp = scratch.Write("P/prof/s.default/localstore.rdf.tmp", "half of an earlier rewrite");
  std::filesystem::permissions(tmp, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  ParserHarness harness;

  std::shared_ptr<PrivacyValues> cleared =
      harness.Call("ParseMozillaAddressHistory", true, {scratch.Path("P")});
  EXPECT_EQ(Values(*cleared),
            (std::vector<std::string>{"http://lower.example.com/", "https://mixed.example.com/path"}));
  EXPECT_EQ(test::TraceTexts(cleared), std::vector<std::string>(2, "7 2 " + file + ":URL:"));
  // The rewrite ends its lines with CR LF.
  EXPECT_EQ(
      ReadBytes(file),
      "<?xml version=\"1.0\"?>\r\n"
      "<rdf:RDF xmlns:NC=\"http://home.netscape.com/NC-rdf#\"\r\n"
      "         xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\r\n"
      "  <rdf:seq about=\"nc:urlbar-history\">\r\n"
      "  </rdf:seq>\r\n"
      "  <rdf:Description about=\"chrome://navigator/content/navigator.xul#main-window\" width=\"640\" />\r\n"
      "</rdf:RDF>\r\n");
  EXPECT_FALSE(Exists(tmp));
}

TEST(ParseMozillaAddressHistoryTest, FileWithoutTheSequenceStaysUnchanged) {
  ScratchFolder scratch("parse");
  const std::string original = Fixture("localstore_noseq.rdf");
  const std::string file = scratch.Write("P/prof/s/localstore.rdf", original);
  ParserHarness harness;
  EXPECT_EQ(harness.Call("ParseMozillaAddressHistory", false, {scratch.Path("P")})->Count(), 0);
  EXPECT_EQ(harness.Call("ParseMozillaAddressHistory", true, {scratch.Path("P")})->Count(), 0);
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_FALSE(Exists(file + ".tmp"));
}

TEST(ParseMozillaAddressHistoryTest, BadLineInTheSequenceLeavesTheFileAsItWas) {
  ScratchFolder scratch("parse");
  const std::string original = Fixture("localstore_badline.rdf");
  const std::string file = scratch.Write("P/prof/s/localstore.rdf", original);
  ParserHarness harness;

  std::shared_ptr<PrivacyValues> shown =
      harness.Call("ParseMozillaAddressHistory", false, {scratch.Path("P")});
  EXPECT_EQ(Values(*shown), std::vector<std::string>{"http://first.example.com/"});
  EXPECT_EQ(test::TraceTexts(shown), std::vector<std::string>{"7 1 " + file + ":URL:"});

  std::shared_ptr<PrivacyValues> cleared =
      harness.Call("ParseMozillaAddressHistory", true, {scratch.Path("P")});
  // Reported as it was being erased, but the URL is still in the file: its final status says so.
  EXPECT_EQ(harness.reported, std::vector<std::string>{"7 2 " + file + ":URL:"});
  EXPECT_EQ(test::TraceTexts(cleared), std::vector<std::string>{"7 -1 " + file + ":URL:"});
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_FALSE(Exists(file + ".tmp"));
}

TEST(ParseMozillaAddressHistoryTest, UrlIsCutBetweenTheEntryMarkersInAnyCase) {
  EXPECT_EQ(AddressHistoryUrl("  <RDF:li>http://a/</RDF:li>"), "http://a/");
  EXPECT_EQ(AddressHistoryUrl("<rdf:LI>x</Rdf:li> <RDF:li>y</RDF:li>"), "x");
  EXPECT_EQ(AddressHistoryUrl("<RDF:li></RDF:li>"), "");
  EXPECT_THROW(AddressHistoryUrl("<RDF:li>no end"), RuntimeError);
  EXPECT_THROW(AddressHistoryUrl("no start</RDF:li>"), RuntimeError);
  EXPECT_THROW(AddressHistoryUrl("</RDF:li><RDF:li>"), RuntimeError);
}

TEST(ParseMozillaFilesTest, TwoProfilesWithCookiesGiveTwoTracesAndBothGo) {
  ScratchFolder scratch("parse");
  const std::string a =
      scratch.Write("P/one/a.slt/cookies.txt", "# Netscape HTTP Cookie File\n.example.com\tTRUE\n");
  const std::string b = scratch.Write("P/two/b.slt/cookies.txt", "# Netscape HTTP Cookie File\n");
  const std::string elsewhere = scratch.Write("P/two/cookies.txt", "not in a salted folder");
  ParserHarness harness;

  std::shared_ptr<PrivacyValues> shown = harness.Call("ParseMozillaCookies", false, {scratch.Path("P")});
  EXPECT_EQ(Sorted(test::TraceTexts(shown)), Sorted({FileTrace(a, 1), FileTrace(b, 1)}));
  EXPECT_EQ(harness.reported, test::TraceTexts(shown));
  std::shared_ptr<PrivacyValues> cleared = harness.Call("ParseMozillaCookies", true, {scratch.Path("P")});
  EXPECT_EQ(Sorted(test::TraceTexts(cleared)), Sorted({FileTrace(a, 2), FileTrace(b, 2)}));
  EXPECT_FALSE(Exists(a) || Exists(b));
  EXPECT_TRUE(Exists(elsewhere));
}

TEST(ParseMozillaFilesTest, LockedHistoryIsOverwrittenWithBlanksAndKept) {
  ScratchFolder scratch("parse");
  const std::string history = scratch.Write("P/prof/s/history.dat", std::string(25000, 'h'));
  ParserHarness harness;
  std::shared_ptr<PrivacyValues> cleared;
  {
    FileLock lock(history);
    cleared = harness.Call("ParseMozillaHistoryFile", true, {scratch.Path("P")});
  }
  EXPECT_EQ(test::TraceTexts(cleared), std::vector<std::string>{FileTrace(history, 3)});
  EXPECT_EQ(cleared->Item(1)->Size, 25000);
  EXPECT_EQ(ReadBytes(history), std::string(25000, '\0'));

  EXPECT_EQ(test::TraceTexts(harness.Call("ParseMozillaHistoryFile", true, {scratch.Path("P")})),
            std::vector<std::string>{FileTrace(history, 2)});
  EXPECT_FALSE(Exists(history));
}

TEST(ParseMozillaFilesTest, CacheFilesGoTheCacheFolderAndItsSubFoldersStay) {
  ScratchFolder scratch("parse");
  const std::string one = scratch.Write("P/prof/s/Cache/_CACHE_001_", "1");
  const std::string two = scratch.Write("P/prof/s/Cache/9A3F1C2Bd01", "22");
  const std::string deeper = scratch.Write("P/prof/s/Cache/doomed/inner", "3");
  ParserHarness harness;
  EXPECT_EQ(
      Sorted(test::TraceTexts(harness.Call("ParseMozillaCacheFiles", false, {scratch.Path("P")}))),
      Sorted({FileTrace(one, 1), FileTrace(two, 1)}));
  EXPECT_EQ(
      Sorted(test::TraceTexts(harness.Call("ParseMozillaCacheFiles", true, {scratch.Path("P")}))),
      Sorted({FileTrace(one, 2), FileTrace(two, 2)}));
  EXPECT_FALSE(Exists(one) || Exists(two));
  EXPECT_TRUE(Exists(deeper));
  EXPECT_TRUE(Exists(scratch.Path("P/prof/s/Cache")));
}

TEST(ParseMozillaFilesTest, StopRequestedBeforeTheFirstFileAndMissingFoldersGiveEmptyResults) {
  ScratchFolder scratch("parse");
  const std::string rdf = scratch.Write("P/prof/s/localstore.rdf", Fixture("localstore_upper.rdf"));
  const std::string history = scratch.Write("P/prof/s/history.dat", "h");
  const std::string cookies = scratch.Write("P/prof/s/cookies.txt", "c");
  const std::string cache = scratch.Write("P/prof/s/Cache/entry", "e");
  ParserHarness harness;
  for (const char* parser : {"ParseMozillaAddressHistory", "ParseMozillaHistoryFile",
                             "ParseMozillaCacheFiles", "ParseMozillaCookies"}) {
    StopRequested = true;
    std::shared_ptr<PrivacyValues> values = harness.Call(parser, true, {scratch.Path("P")});
    ASSERT_TRUE(values) << parser;
    EXPECT_EQ(values->Count(), 0) << parser;
    StopRequested = false;
    values = harness.Call(parser, true, {scratch.Path("missing")});
    ASSERT_TRUE(values) << parser;
    EXPECT_EQ(values->Count(), 0) << parser;
    // Without the folder setting there is nothing to walk either.
    EXPECT_EQ(harness.Call(parser, true)->Count(), 0) << parser;
  }
  EXPECT_TRUE(harness.reported.empty());
  EXPECT_EQ(ReadBytes(rdf), Fixture("localstore_upper.rdf"));
  EXPECT_TRUE(Exists(history) && Exists(cookies) && Exists(cache));
}

}  // namespace qm
