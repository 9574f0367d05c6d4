#include "discovery/ini_walk.h"

#include <gtest/gtest.h>

#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

TEST(IniWalk, SectionsLargerThanTheFirstBufferAreReadWhole) {
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
}

}  // namespace
}  // namespace qm::testing
