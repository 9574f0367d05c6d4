#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/console.h"

namespace qm::testing {
namespace {

/// Standard input from a pipe holding `text` while the object lives; the pipe stays open for more unless `close`.
class PipedInput {
 public:
  PipedInput(const std::string& text, bool close) : saved_(::dup(STDIN_FILENO)) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    EXPECT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    writer_ = close ? (::close(ends[1]), -1) : ends[1];
    ::dup2(ends[0], STDIN_FILENO);
    ::close(ends[0]);
  }
  ~PipedInput() {
    if (writer_ >= 0) ::close(writer_);
    ::dup2(saved_, STDIN_FILENO);
    ::close(saved_);
  }

 private:
  int saved_;
  int writer_ = -1;
};

TEST(ConsoleInput, AnswersAreReadLineByLineAndACtrlCAnswersNo) {
  std::atomic<bool> interrupted{false};
  {
    PipedInput input("Yes\r\n n\n\n  y \nmaybe\nYES", true);
    for (const bool expected : {true, false, false, true, false, true, false}) {
      EXPECT_EQ(console::ReadYesNo(interrupted), expected);  // the end of the input is no
    }
  }
  // Nobody types: a Ctrl+C (the flag it sets) ends the wait with no.
  PipedInput silence("", false);
  std::thread press([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    interrupted.store(true);
  });
  EXPECT_FALSE(console::ReadYesNo(interrupted));
  press.join();
}

}  // namespace
}  // namespace qm::testing
