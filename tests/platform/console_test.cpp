#include "platform/console.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <iostream>
#include <sstream>

#include "platform/file_system.h"

namespace qm {

namespace {

/// Feeds std::cin from a text for the life of the object.
class FakeInput {
 public:
  explicit FakeInput(const std::string& text) : input_(text), saved_(std::cin.rdbuf(input_.rdbuf())) {}
  ~FakeInput() {
    std::cin.rdbuf(saved_);
    std::cin.clear();
  }

 private:
  std::istringstream input_;
  std::streambuf* saved_;
};

std::atomic<int> interrupts{0};

}  // namespace

TEST(ConsoleTest, AnswersAreReadLineByLine) {
  if (console::IsTerminal(console::Stream::In)) GTEST_SKIP() << "standard input is a terminal here";
  FakeInput input("Yes\r\n n\n\n  y \nmaybe\nYES");
  EXPECT_TRUE(console::ReadYesNo());
  EXPECT_FALSE(console::ReadYesNo());
  EXPECT_FALSE(console::ReadYesNo());
  EXPECT_TRUE(console::ReadYesNo());
  EXPECT_FALSE(console::ReadYesNo());
  EXPECT_TRUE(console::ReadYesNo());
  EXPECT_FALSE(console::ReadYesNo());  // the end of the input is no
  EXPECT_EQ(console::ReadLine(), std::nullopt);
}

TEST(ConsoleTest, OutputIsTheUtf8BytesOnAPipe) {
  if (console::IsTerminal(console::Stream::Out)) GTEST_SKIP() << "standard output is a terminal here";
  ::testing::internal::CaptureStdout();
  console::Write(console::Stream::Out, "caf\xC3\xA9 \xF0\x9F\x98\x80\n");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "caf\xC3\xA9 \xF0\x9F\x98\x80\n");
}

TEST(ConsoleTest, CtrlCCallsTheHandlerInsteadOfEndingTheProgram) {
  if (FileSystem::Separator() == '\\') GTEST_SKIP() << "Ctrl+C reaches a Windows program only through a console";
  console::OnInterrupt([] { ++interrupts; });
  std::raise(SIGINT);
  std::raise(SIGINT);
  EXPECT_EQ(interrupts.load(), 2);
  console::OnInterrupt([] {});
  std::raise(SIGINT);
  EXPECT_EQ(interrupts.load(), 2);
}

}  // namespace qm
