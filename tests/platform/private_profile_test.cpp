#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"
#include "support/file_system_extras.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"

namespace qm {

namespace {

using profile::IniEntry;
using namespace testing;

bool OnWindows() { return FileSystem::Separator() == '\\'; }

/// The bytes of a file as the case tables write them: C escapes (\r \n \t \0 \xHH), and "utf16:" in front for a
/// UTF-16LE file with its byte-order mark.
std::string FileBytes(const std::string& text) {
  std::string bytes;
  for (std::size_t i = text.rfind("utf16:", 0) == 0 ? 6 : 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      bytes += text[i];
    } else if (const char c = text[++i]; c == 'x') {
      bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      bytes += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '0' ? '\0' : c;
    }
  }
  return text.rfind("utf16:", 0) == 0 ? Utf16LeFile(bytes) : bytes;
}

}  // namespace

TEST(PrivateProfileTest, SectionsReadLikeWindows) {
  ScratchFolder scratch("ini-read");
  int n = 0;
  for (const auto& [file, read] : FixtureCases("platform/ini_reads.txt")) {
    const Lines parts = Split(file, " | ");
    SCOPED_TRACE(parts.at(1) + " of " + parts[0]);
    // A file of its own for each case: Windows caches ini files by name and time.
    const std::string ini = scratch.Write("r" + std::to_string(++n) + ".ini", FileBytes(parts[0]));
    std::string buffer;
    EXPECT_EQ(profile::ReadSection(parts[1], buffer, 1000, ini), std::stoul(read));
    EXPECT_EQ(buffer, FileBytes(read.substr(std::min(read.size(), read.find('|') + 2))));
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

TEST(PrivateProfileTest, WritingAndBlankingChangeOnlyTheEntriesTheyMust) {
  ScratchFolder scratch("ini-edit");
  int n = 0;
  for (const auto& [written, after] : FixtureCases("platform/ini_writes.txt")) {
    const Lines parts = Split(written, " | ");
    SCOPED_TRACE(written);
    const std::string file = scratch / ("w" + std::to_string(++n) + ".ini");
    if (!parts.at(0).empty()) WriteBytes(file, FileBytes(parts[0]));
    const std::optional<std::string> value =
        parts.at(3) == "(none)" ? std::nullopt : std::optional(FileBytes(parts[3]));
    ASSERT_TRUE(profile::WriteString(parts.at(1), parts.at(2), value, file));
    EXPECT_EQ(ReadBytes(file), FileBytes(after));
  }
  // Nothing but the ini files themselves is left behind.
  EXPECT_EQ(FileSystem().GetFolder(scratch.Path()).Files().size(), static_cast<std::size_t>(n));

  // Blanking cuts only the listed values and never adds a line.
  for (const auto& [blanked, results] : FixtureCases("platform/ini_blanks.txt")) {
    const Lines parts = Split(blanked, " | ");
    SCOPED_TRACE(blanked);
    std::vector<IniEntry> entries;
    for (const std::string& entry : Split(parts.at(2), ", ")) {
      const std::size_t hash = entry.find('#');
      entries.push_back({FileBytes(entry.substr(0, hash)),
                         static_cast<uint32_t>(hash == entry.npos ? 0 : std::stoul(entry.substr(hash + 1)))});
    }
    const std::string file = scratch.Write("b" + std::to_string(++n) + ".ini", FileBytes(parts[0]));
    // Windows answers otherwise where a key has lines of its own in the section: it blanks the first only.
    const Lines answers = Split(results, " || ");
    const Lines answer = Split(OnWindows() ? answers.back() : answers.front(), " | ");
    std::string blank;
    for (bool b : profile::BlankEntries(file, parts.at(1), entries)) blank += b ? "1" : "0";
    EXPECT_EQ(blank, answer.at(0));
    EXPECT_EQ(ReadBytes(file), FileBytes(answer.at(1)));
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
