#include "cli/console_stream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace qm::cli {
namespace {

TEST(ConsoleStreamTest, EveryByteReachesAPipeInOrder) {
  if (console::IsTerminal(console::Stream::Out)) GTEST_SKIP() << "standard output is a terminal here";
  // Enough lines for several blocks, one line longer than a block, and an unfinished last line.
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += "trace " + std::to_string(i) + " caf\xC3\xA9\n";
  expected += std::string(100000, 'x') + "\n";
  expected += "no line break";

  ::testing::internal::CaptureStdout();
  {
    ConsoleStream out(console::Stream::Out);
    // Text and single characters, as << writes them.
    std::istringstream lines(expected);
    for (std::string line; std::getline(lines, line);) {
      out << line;
      if (!lines.eof()) out << '\n';
    }
  }
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), expected);
}

}  // namespace
}  // namespace qm::cli
