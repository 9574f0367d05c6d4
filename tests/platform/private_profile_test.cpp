#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/file_system_extras.h"
#include "support/scratch_folder.h"
#include "platform/file_system.h"

namespace qm {

namespace {

using profile::IniEntry;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

/// The section as the ini walk reads it: a 1000-character buffer made five times larger while it is full.
std::string ReadWholeSection(const std::string& section, const std::string& file) {
  std::string buffer;
  uint32_t size = 1000;
  while (profile::ReadSection(section, buffer, size, file) == size - 2) size *= 5;
  return buffer;
}

const std::string kCanonical = "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\n[B]\r\nx=1\r\n";

bool OnWindows() { return FileSystem::Separator() == '\\'; }

}  // namespace

TEST(PrivateProfileTest, SectionReadsLikeWindows) {
  ScratchFolder scratch("ini-read");
  const std::string ini = scratch.Path("app.ini");
  WriteBytes(ini,
             "; leading comment\r\n[Other]\r\nx=1\r\n[MRU List]\r\na=1\r\n\r\n; comment\r\n  b = 2  \r\nnoeq\r\n"
             "c=\"\"\r\nd=\r\n=e\r\n;x=y\r\n\t\r\n[mru list]\r\nz=9\r\n");

  std::string buffer;
  // Any letter case finds the first section of that name; comments and blank lines are left out, lines are
  // trimmed around the "=", a line without "=" comes as it is, and quotes stay.
  const std::string expected = std::string("a=1\0b=2\0noeq\0c=\"\"\0d=\0=e\0", 24);
  EXPECT_EQ(profile::ReadSection("mru LIST", buffer, 1000, ini), 24u);
  EXPECT_EQ(buffer, expected);
  EXPECT_EQ(profile::ReadSection("MRU List", buffer, 1000, ini), 24u);
  EXPECT_EQ(buffer, expected);

  EXPECT_EQ(profile::ReadSection("Missing", buffer, 1000, ini), 0u);
  EXPECT_EQ(buffer, "");
  EXPECT_EQ(profile::ReadSection("Other", buffer, 1000, scratch.Path("none.ini")), 0u);
  EXPECT_EQ(buffer, "");

  // Line breaks of every kind, a header with spaces or text after it, a last line without a break.
  const std::string loose = scratch.Path("loose.ini");
  WriteBytes(loose, "x=0\r\n [ Sec ] ; note\nq=1\rr=2\n\n\nlast");
  EXPECT_EQ(profile::ReadSection("sec", buffer, 1000, loose), 13u);
  EXPECT_EQ(buffer, std::string("q=1\0r=2\0last\0", 13));

  // A header runs to its last "]"; a "[" line without one is no header.
  const std::string odd = scratch.Path("odd.ini");
  WriteBytes(odd, "[Sec\r\na=1\r\n[Sec]]\r\nb=2\r\n[Sec]\r\nc=3\r\n");
  EXPECT_EQ(profile::ReadSection("Sec", buffer, 1000, odd), 4u);
  EXPECT_EQ(buffer, std::string("c=3\0", 4));
}

TEST(PrivateProfileTest, FilesInTheCodePageWithABomOrInUtf16AreRead) {
  ScratchFolder scratch("ini-encoding");
  std::string buffer;
  const std::string ansi = scratch.Path("ansi.ini");
  WriteBytes(ansi, "[Sec]\r\na=caf\xE9\r\n");
  EXPECT_EQ(profile::ReadSection("SEC", buffer, 1000, ansi), 7u);
  EXPECT_EQ(buffer, std::string("a=caf\xC3\xA9\0", 8));

  const std::string bom = scratch.Path("bom.ini");
  WriteBytes(bom, "\xEF\xBB\xBF[Sec]\r\na=caf\xC3\xA9\r\n");
  EXPECT_EQ(profile::ReadSection("SEC", buffer, 1000, bom), 7u);
  EXPECT_EQ(buffer, std::string("a=caf\xC3\xA9\0", 8));

  const std::string wide = scratch.Path("wide.ini");
  WriteBytes(wide, std::string("\xFF\xFE[\0S\0e\0c\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0", 22));
  EXPECT_EQ(profile::ReadSection("sec", buffer, 1000, wide), 4u);
  EXPECT_EQ(buffer, std::string("a=\xC3\xA9\0", 5));
  // Writing keeps the file in UTF-16.
  ASSERT_TRUE(profile::WriteString("Sec", "a", "", wide));
  EXPECT_EQ(ReadBytes(wide), std::string("\xFF\xFE[\0S\0e\0c\0]\0\r\0\n\0a\0=\0\r\0\n\0", 24));
}

TEST(PrivateProfileTest, AFullBufferIsCutAndAnswersItsSizeLessTwo) {
  ScratchFolder scratch("ini-truncate");
  const std::string ini = scratch.Path("small.ini");
  WriteBytes(ini, "[S]\r\nabc=12345\r\nxy=67\r\n");
  const struct {
    uint32_t size;
    uint32_t result;
    std::string text;
  } cases[] = {
      {2, 0, ""},
      {3, 1, "a"},
      {6, 4, "abc="},
      {11, 9, "abc=12345"},
      {12, 10, std::string("abc=12345\0", 10)},
      {13, 11, std::string("abc=12345\0x", 11)},
      {17, 15, std::string("abc=12345\0xy=67", 15)},
      {18, 16, std::string("abc=12345\0xy=67\0", 16)},
      {100, 16, std::string("abc=12345\0xy=67\0", 16)},
  };
  for (const auto& c : cases) {
    std::string buffer;
    EXPECT_EQ(profile::ReadSection("s", buffer, c.size, ini), c.result) << "size " << c.size;
    EXPECT_EQ(buffer, c.text) << "size " << c.size;
  }

  // A section of several thousand bytes is read whole by growing the buffer.
  std::string big = "[Big]\r\n";
  std::string expected;
  for (int i = 0; i < 60; ++i) {
    const std::string line = "key" + std::to_string(i) + "=" + std::string(40, static_cast<char>('a' + i % 26));
    big += line + "\r\n";
    expected += line + '\0';
  }
  big += "[After]\r\nz=1\r\n";
  const std::string large = scratch.Path("large.ini");
  WriteBytes(large, big);
  ASSERT_GT(expected.size(), 2000u);
  std::string buffer;
  EXPECT_EQ(profile::ReadSection("big", buffer, 1000, large), 998u);
  EXPECT_EQ(buffer.size(), 998u);
  EXPECT_EQ(ReadWholeSection("big", large), expected);
}

TEST(PrivateProfileTest, WritingChangesOnlyTheEntryItMust) {
  ScratchFolder scratch("ini-write");
  int n = 0;
  const auto fresh = [&] {
    const std::string path = scratch.Path("w" + std::to_string(++n) + ".ini");
    WriteBytes(path, kCanonical);
    return path;
  };

  // Blanking with an empty text leaves "key=", the key keeping its own spelling; found again, it reads "K2=".
  std::string ini = fresh();
  ASSERT_TRUE(profile::WriteString("a", "k2", "", ini));
  EXPECT_EQ(ReadBytes(ini), "; head\r\n[A]\r\nk1=v1\r\nK2=\r\n;c\r\n[B]\r\nx=1\r\n");
  std::string buffer;
  EXPECT_EQ(profile::ReadSection("A", buffer, 1000, ini), 10u);
  EXPECT_EQ(buffer, std::string("k1=v1\0K2=\0", 10));

  ini = fresh();
  ASSERT_TRUE(profile::WriteString("A", "K1", "new value", ini));
  EXPECT_EQ(ReadBytes(ini), "; head\r\n[A]\r\nk1=new value\r\nK2=v2\r\n;c\r\n[B]\r\nx=1\r\n");

  ini = fresh();
  ASSERT_TRUE(profile::WriteString("b", "X", "\"q\"", ini));
  EXPECT_EQ(ReadBytes(ini), "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\n[B]\r\nx=\"q\"\r\n");

  // A new key goes at the end of its section, a new section at the end of the file.
  ini = fresh();
  ASSERT_TRUE(profile::WriteString("A", "k3", "v3", ini));
  EXPECT_EQ(ReadBytes(ini), "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\nk3=v3\r\n[B]\r\nx=1\r\n");
  ini = fresh();
  ASSERT_TRUE(profile::WriteString("C", "n", "1", ini));
  EXPECT_EQ(ReadBytes(ini), kCanonical + "[C]\r\nn=1\r\n");

  // No value deletes the key.
  ini = fresh();
  ASSERT_TRUE(profile::WriteString("A", "k2", std::nullopt, ini));
  EXPECT_EQ(ReadBytes(ini), "; head\r\n[A]\r\nk1=v1\r\n;c\r\n[B]\r\nx=1\r\n");

  // A last line without a line break gets one before the new key; a missing file is created.
  ini = scratch.Path("unterminated.ini");
  WriteBytes(ini, "[A]\r\nk=1");
  ASSERT_TRUE(profile::WriteString("A", "j", "2", ini));
  EXPECT_EQ(ReadBytes(ini), "[A]\r\nk=1\r\nj=2\r\n");
  ini = scratch.Path("created.ini");
  ASSERT_TRUE(profile::WriteString("A", "k", "v", ini));
  EXPECT_EQ(ReadBytes(ini), "[A]\r\nk=v\r\n");

  // Nothing but the ini files themselves is left behind.
  size_t files = 0;
  for (const File& file : FileSystem().GetFolder(scratch.Path()).Files()) {
    EXPECT_NE(file.Name.find(".ini"), std::string::npos) << file.Name;
    EXPECT_EQ(file.Name.find(".ini"), file.Name.size() - 4) << file.Name;
    ++files;
  }
  EXPECT_EQ(files, static_cast<size_t>(n) + 2);
}

TEST(PrivateProfileTest, QuotedEmptyValuesAreReturnedWithTheirQuotesAndBlankedToKeyEquals) {
  ScratchFolder scratch("ini-quotes");
  const std::string ini = scratch.Path("q.ini");
  WriteBytes(ini, "[Sec]\r\n\"q\"=\" x \"\r\nk = \"\"\r\nm=\"\"\r\n");
  std::string buffer;
  EXPECT_EQ(profile::ReadSection("sec", buffer, 1000, ini), 20u);
  EXPECT_EQ(buffer, std::string("\"q\"=\" x \"\0k=\"\"\0m=\"\"\0", 20));
  ASSERT_TRUE(profile::WriteString("Sec", "m", "", ini));
  EXPECT_EQ(profile::ReadSection("sec", buffer, 1000, ini), 18u);
  EXPECT_EQ(buffer, std::string("\"q\"=\" x \"\0k=\"\"\0m=\0", 18));
}

TEST(PrivateProfileTest, BlankingCutsOnlyTheListedValuesAndNeverAddsALine) {
  // Lines as Wine writes them back, so the files keep their bytes on both builds.
  const std::string ini = "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\nk1=v3\r\nd=\r\n[B]\r\nk1=x\r\n";
  // A key of U+263D U+3D41 U+0100: bytes 0x3D that are no "=".
  const std::string utf16Key("\x3D\x26\x41\x3D\x00\x01", 6);
  const std::string utf16 = "\xFF\xFE" + std::string("[\0A\0]\0\r\0\n\0", 10) + utf16Key +
                            std::string("=\0v\0=\0w\0\r\0\n\0j\0=\0v\0\r\0\n\0", 22);
  const struct {
    std::string before;
    std::string section;
    std::vector<IniEntry> entries;
    std::vector<bool> blank;
    std::string after;
    std::vector<bool> windowsBlank = {};  ///< when Windows answers otherwise: it blanks a key's first line only
    std::string windowsAfter = {};
  } cases[] = {
      {ini, "a", {{"k2"}}, {true}, "; head\r\n[A]\r\nk1=v1\r\nK2=\r\n;c\r\nk1=v3\r\nd=\r\n[B]\r\nk1=x\r\n"},
      {ini,
       "A",
       {{"k1", 0}, {"K1", 1}},
       {true, true},
       "; head\r\n[A]\r\nk1=\r\nK2=v2\r\n;c\r\nk1=\r\nd=\r\n[B]\r\nk1=x\r\n",
       {true, false},
       "; head\r\n[A]\r\nk1=\r\nK2=v2\r\n;c\r\nk1=v3\r\nd=\r\n[B]\r\nk1=x\r\n"},
      {ini,
       "A",
       {{"k1", 1}},
       {true},
       "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\nk1=\r\nd=\r\n[B]\r\nk1=x\r\n",
       {false},
       ini},
      // Already blank, a third "k1" (only [B] has one), a comment, a key that is nowhere, a missing section.
      {ini, "A", {{"d"}, {"k1", 2}, {";c"}, {"zz"}}, {true, false, false, false}, ini},
      {ini, "Z", {{"k1"}}, {false}, ini},
      // A NUL inside a key names no line, and never a new one.
      {ini,
       "A",
       {{std::string("k1\0", 3)}, {std::string("K2\0v", 4)}, {"k2"}},
       {false, false, true},
       "; head\r\n[A]\r\nk1=v1\r\nK2=\r\n;c\r\nk1=v3\r\nd=\r\n[B]\r\nk1=x\r\n"},
      // UTF-16 stays UTF-16, cut after the first "=" of the line.
      {utf16,
       "A",
       {{"\xE2\x98\xBD\xE3\xB5\x81\xC4\x80"}},
       {true},
       "\xFF\xFE" + std::string("[\0A\0]\0\r\0\n\0", 10) + utf16Key + std::string("=\0\r\0\n\0j\0=\0v\0\r\0\n\0", 16)},
  };
  ScratchFolder scratch("ini-blank");
  int n = 0;
  for (const auto& c : cases) {
    const std::string file = scratch.Write("b" + std::to_string(++n) + ".ini", c.before);
    const bool windowsDiffers = OnWindows() && !c.windowsBlank.empty();
    EXPECT_EQ(profile::BlankEntries(file, c.section, c.entries), windowsDiffers ? c.windowsBlank : c.blank)
        << "case " << n;
    EXPECT_EQ(ReadBytes(file), windowsDiffers ? c.windowsAfter : c.after) << "case " << n;
  }
}

TEST(PrivateProfileTest, BlankingEditsALinksTargetAndRefusesReadOnlyFilesAndFifos) {
  ScratchFolder scratch("ini-blank-paths");
  const std::string ini = "[A]\r\nk=v\r\n";
  const std::vector<IniEntry> entries{{"k"}};

  const std::string readOnly = scratch.Write("read-only.ini", ini);
  using std::filesystem::perms;
  std::filesystem::permissions(readOnly, perms::owner_write | perms::group_write | perms::others_write,
                               std::filesystem::perm_options::remove);
  EXPECT_EQ(profile::BlankEntries(readOnly, "A", entries), std::vector<bool>{false});
  EXPECT_EQ(ReadBytes(readOnly), ini);

  const std::string target = scratch.Write("target.ini", ini);
  const std::string link = scratch.Path("link.ini");
  ASSERT_TRUE(testing::MakeSymbolicLink(target, link));
  EXPECT_EQ(profile::BlankEntries(link, "A", entries), std::vector<bool>{true});
  EXPECT_EQ(ReadBytes(target), "[A]\r\nk=\r\n");
  ASSERT_TRUE(profile::WriteString("A", "k", "w", link));
  EXPECT_EQ(ReadBytes(target), "[A]\r\nk=w\r\n");
  // Wine shows a link to a file as a file, and MinGW's remove_all never ends on one whose target went first.
  if (!OnWindows()) {
    EXPECT_TRUE(std::filesystem::is_symlink(link));
  }
  FileSystem().RemoveFile(link);

  // Opening a FIFO would wait for a writer: it is refused from its status alone, as is a link to one.
  const std::string fifo = scratch.Path("fifo.ini");
  ASSERT_EQ(testing::MakeFifo(fifo), !OnWindows());
  if (OnWindows()) return;
  const std::string fifoLink = scratch.Path("fifo-link.ini");
  ASSERT_TRUE(testing::MakeSymbolicLink(fifo, fifoLink));
  for (const std::string& path : {fifo, fifoLink}) {
    std::string buffer;
    EXPECT_EQ(profile::ReadSection("A", buffer, 1000, path), 0u) << path;
    EXPECT_EQ(profile::BlankEntries(path, "A", entries), std::vector<bool>{false}) << path;
    EXPECT_FALSE(profile::WriteString("A", "k", "", path)) << path;
  }
  EXPECT_FALSE(std::filesystem::is_regular_file(std::filesystem::symlink_status(fifo)));
  EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(fifoLink)));
}

}  // namespace qm
