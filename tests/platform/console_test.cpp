#include "platform/console.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>

#include "platform/file_system.h"

namespace qm::testing {
namespace {

std::atomic<int> interrupts{0};

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

}  // namespace
}  // namespace qm::testing
