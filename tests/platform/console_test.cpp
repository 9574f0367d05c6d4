#include "platform/console.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>

#include "platform/file_system.h"

namespace qm::testing {
namespace {

std::atomic<int> interrupts{0};

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
