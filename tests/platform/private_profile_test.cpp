#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "platform/file_system.h"
#include "platform/text.h"
#include "support/file_system_extras.h"
#include "support/scratch_folder.h"

namespace qm {

namespace {

using profile::IniEntry;
using testing::ReadBytes;
using testing::ScratchFolder;

bool OnWindows() { return FileSystem::Separator() == '\\'; }

/// `utf8` as the bytes of a UTF-16LE file with its BOM.
std::string Utf16File(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text::Utf8ToUtf16(utf8)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

TEST(PrivateProfileTest, SectionsReadLikeWindows) {
  const std::string mru =
      "; leading comment\r\n[Other]\r\nx=1\r\n[MRU List]\r\na=1\r\n\r\n; comment\r\n  b = 2  \r\nnoeq\r\n"
      "c=\"\"\r\nd=\r\n=e\r\n;x=y\r\n\t\r\n[mru list]\r\nz=9\r\n";
  const std::string mruSection("a=1\0b=2\0noeq\0c=\"\"\0d=\0=e\0", 24);
  const struct {
    std::string file;
    std::string section;
    uint32_t size;
    uint32_t result;
    std::string text;
  } cases[] = {
      // Any letter case finds the first section of that name; comments and blank lines are left out, lines are
      // trimmed around the "=", a line without "=" comes as it is, and quotes stay.
      {mru, "mru LIST", 1000, 24, mruSection},
      {mru, "MRU List", 1000, 24, mruSection},
      {mru, "Missing", 1000, 0, ""},
      {"[Sec]\r\n\"q\"=\" x \"\r\nk = \"\"\r\n", "sec", 1000, 15, std::string("\"q\"=\" x \"\0k=\"\"\0", 15)},
      // Line breaks of every kind, a header with spaces or text after it, a last line without a break.
      {"x=0\r\n [ Sec ] ; note\nq=1\rr=2\n\n\nlast", "sec", 1000, 13, std::string("q=1\0r=2\0last\0", 13)},
      // A header runs to its last "]"; a "[" line without one is no header.
      {"[Sec\r\na=1\r\n[Sec]]\r\nb=2\r\n[Sec]\r\nc=3\r\n", "Sec", 1000, 4, std::string("c=3\0", 4)},
      // Files in the code page, in UTF-8 with a BOM and in UTF-16 all give UTF-8; the count is of characters.
      {"[Sec]\r\na=caf\xE9\r\n", "SEC", 1000, 7, std::string("a=caf\xC3\xA9\0", 8)},
      {"\xEF\xBB\xBF[Sec]\r\na=caf\xC3\xA9\r\n", "SEC", 1000, 7, std::string("a=caf\xC3\xA9\0", 8)},
      {Utf16File("[Sec]\r\na=\xC3\xA9\r\n"), "sec", 1000, 4, std::string("a=\xC3\xA9\0", 5)},
  };
  ScratchFolder scratch("ini-read");
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(++n));
    // A file of its own for each case: Windows caches ini files by name and time.
    const std::string ini = scratch.Write("r" + std::to_string(n) + ".ini", c.file);
    std::string buffer;
    EXPECT_EQ(profile::ReadSection(c.section, buffer, c.size, ini), c.result);
    EXPECT_EQ(buffer, c.text);
  }
  // A full buffer is cut and answers its size less two.
  const std::string cut = scratch.Write("cut.ini", "[S]\r\nabc=12345\r\nxy=67\r\n");
  const std::string whole("abc=12345\0xy=67\0", 16);
  for (uint32_t size = 2; size < 20; ++size) {
    std::string buffer;
    EXPECT_EQ(profile::ReadSection("s", buffer, size, cut), std::min(size - 2, 16u)) << size;
    EXPECT_EQ(buffer, whole.substr(0, size - 2)) << size;
  }
  std::string buffer = "left over";
  EXPECT_EQ(profile::ReadSection("Other", buffer, 1000, scratch / "none.ini"), 0u);
  EXPECT_EQ(buffer, "");
}

TEST(PrivateProfileTest, WritingChangesOnlyTheEntryItMust) {
  const std::string ini = "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\n[B]\r\nx=1\r\n";
  const struct {
    std::string before;  ///< "" for a missing file
    std::string section;
    std::string key;
    std::optional<std::string> value;
    std::string after;
  } cases[] = {
      // An empty text leaves "key=", the key keeping its own spelling.
      {ini, "a", "k2", "", "; head\r\n[A]\r\nk1=v1\r\nK2=\r\n;c\r\n[B]\r\nx=1\r\n"},
      {"[Sec]\r\nk=\"\"\r\nm=\"\"\r\n", "Sec", "m", "", "[Sec]\r\nk=\"\"\r\nm=\r\n"},
      {ini, "A", "K1", "new value", "; head\r\n[A]\r\nk1=new value\r\nK2=v2\r\n;c\r\n[B]\r\nx=1\r\n"},
      {ini, "b", "X", "\"q\"", "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\n[B]\r\nx=\"q\"\r\n"},
      // A new key goes at the end of its section, a new section at the end of the file.
      {ini, "A", "k3", "v3", "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\nk3=v3\r\n[B]\r\nx=1\r\n"},
      {ini, "C", "n", "1", ini + "[C]\r\nn=1\r\n"},
      // No value deletes the key.
      {ini, "A", "k2", std::nullopt, "; head\r\n[A]\r\nk1=v1\r\n;c\r\n[B]\r\nx=1\r\n"},
      // A last line without a line break gets one before the new key; a missing file is created.
      {"[A]\r\nk=1", "A", "j", "2", "[A]\r\nk=1\r\nj=2\r\n"},
      {"", "A", "k", "v", "[A]\r\nk=v\r\n"},
      // UTF-16 stays UTF-16.
      {Utf16File("[Sec]\r\na=\xC3\xA9\r\n"), "Sec", "a", "", Utf16File("[Sec]\r\na=\r\n")},
  };
  ScratchFolder scratch("ini-write");
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(++n));
    const std::string file = scratch / ("w" + std::to_string(n) + ".ini");
    if (!c.before.empty()) testing::WriteBytes(file, c.before);
    ASSERT_TRUE(profile::WriteString(c.section, c.key, c.value, file));
    EXPECT_EQ(ReadBytes(file), c.after);
  }
  // Nothing but the ini files themselves is left behind.
  EXPECT_EQ(FileSystem().GetFolder(scratch.Path()).Files().size(), std::size(cases));
}

TEST(PrivateProfileTest, BlankingCutsOnlyTheListedValuesAndNeverAddsALine) {
  // Lines as Wine writes them back, so the files keep their bytes on both builds.
  const std::string ini = "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\nk1=v3\r\nd=\r\n[B]\r\nk1=x\r\n";
  const std::string k2Blanked = "; head\r\n[A]\r\nk1=v1\r\nK2=\r\n;c\r\nk1=v3\r\nd=\r\n[B]\r\nk1=x\r\n";
  const std::string firstK1Blanked = "; head\r\n[A]\r\nk1=\r\nK2=v2\r\n;c\r\nk1=v3\r\nd=\r\n[B]\r\nk1=x\r\n";
  const std::string secondK1Blanked = "; head\r\n[A]\r\nk1=v1\r\nK2=v2\r\n;c\r\nk1=\r\nd=\r\n[B]\r\nk1=x\r\n";
  const std::string bothK1Blanked = "; head\r\n[A]\r\nk1=\r\nK2=v2\r\n;c\r\nk1=\r\nd=\r\n[B]\r\nk1=x\r\n";
  // A key of U+263D U+3D41 U+0100: in UTF-16 it holds bytes 0x3D that are no "=".
  const std::string oddKey = "\xE2\x98\xBD\xE3\xB5\x81\xC4\x80";
  const struct {
    std::string before;
    std::string section;
    std::vector<IniEntry> entries;
    std::vector<bool> blank;
    std::string after;
    std::vector<bool> windowsBlank = {};  ///< when Windows answers otherwise: it blanks a key's first line only
    std::string windowsAfter = {};
  } cases[] = {
      {ini, "a", {{"k2"}}, {true}, k2Blanked},
      {ini, "A", {{"k1", 0}, {"K1", 1}}, {true, true}, bothK1Blanked, {true, false}, firstK1Blanked},
      {ini, "A", {{"k1", 1}}, {true}, secondK1Blanked, {false}, ini},
      // Already blank, a third "k1" (only [B] has one), a comment, a key that is nowhere, a missing section.
      {ini, "A", {{"d"}, {"k1", 2}, {";c"}, {"zz"}}, {true, false, false, false}, ini},
      {ini, "Z", {{"k1"}}, {false}, ini},
      // A NUL inside a key names no line, and never a new one.
      {ini, "A", {{std::string("k1\0", 3)}, {std::string("K2\0v", 4)}, {"k2"}}, {false, false, true}, k2Blanked},
      // UTF-16 stays UTF-16, cut after the first "=" of the line.
      {Utf16File("[A]\r\n" + oddKey + "=v=w\r\nj=v\r\n"),
       "A",
       {{oddKey}},
       {true},
       Utf16File("[A]\r\n" + oddKey + "=\r\nj=v\r\n")},
  };
  ScratchFolder scratch("ini-blank");
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(++n));
    const std::string file = scratch.Write("b" + std::to_string(n) + ".ini", c.before);
    const bool windowsDiffers = OnWindows() && !c.windowsBlank.empty();
    EXPECT_EQ(profile::BlankEntries(file, c.section, c.entries), windowsDiffers ? c.windowsBlank : c.blank);
    EXPECT_EQ(ReadBytes(file), windowsDiffers ? c.windowsAfter : c.after);
  }
}

TEST(PrivateProfileTest, BlankingEditsALinksTargetAndRefusesReadOnlyFilesAndFifos) {
  ScratchFolder scratch("ini-blank-paths");
  const std::string ini = "[A]\r\nk=v\r\n";
  const std::vector<IniEntry> entries{{"k"}};

  const std::string readOnly = scratch.Write("read-only.ini", ini);
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
  EXPECT_EQ(profile::BlankEntries(readOnly, "A", entries), std::vector<bool>{false});
  EXPECT_EQ(ReadBytes(readOnly), ini);

  const std::string target = scratch.Write("target.ini", ini);
  const std::string link = scratch / "link.ini";
  ASSERT_TRUE(testing::MakeSymbolicLink(target, link));
  EXPECT_EQ(profile::BlankEntries(link, "A", entries), std::vector<bool>{true});
  EXPECT_EQ(ReadBytes(target), "[A]\r\nk=\r\n");
  ASSERT_TRUE(profile::WriteString("A", "k", "w", link));
  EXPECT_EQ(ReadBytes(target), "[A]\r\nk=w\r\n");
  // Wine shows a link to a file as a file, and MinGW's remove_all never ends on one whose target went first.
  EXPECT_TRUE(OnWindows() || std::filesystem::is_symlink(link));
  FileSystem().RemoveFile(link);

  // Opening a FIFO would wait for a writer: it is refused from its status alone, as is a link to one.
  const std::string fifo = scratch / "fifo.ini";
  ASSERT_EQ(testing::MakeFifo(fifo), !OnWindows());
  if (OnWindows()) return;
  const std::string fifoLink = scratch / "fifo-link.ini";
  ASSERT_TRUE(testing::MakeSymbolicLink(fifo, fifoLink));
  for (const std::string& path : {fifo, fifoLink}) {
    SCOPED_TRACE(path);
    std::string buffer;
    EXPECT_EQ(profile::ReadSection("A", buffer, 1000, path), 0u);
    EXPECT_EQ(profile::BlankEntries(path, "A", entries), std::vector<bool>{false});
    EXPECT_FALSE(profile::WriteString("A", "k", "", path));
  }
  EXPECT_FALSE(std::filesystem::is_regular_file(std::filesystem::symlink_status(fifo)));
  EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(fifoLink)));
}

}  // namespace qm
