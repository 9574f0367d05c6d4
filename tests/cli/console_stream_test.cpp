#include "cli/console_stream.h"

#include <gtest/gtest.h>

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
    for (std::size_t at = 0; at < expected.size();) {
      // Text and single characters, as << writes them.
      const std::size_t line = expected.find('\n', at);
      const std::size_t end = line == std::string::npos ? expected.size() : line;
      out << expected.substr(at, end - at);
      if (line != std::string::npos) out << '\n';
      at = end + 1;
    }
  }
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), expected);
}

}  // namespace
}  // namespace qm::cli
