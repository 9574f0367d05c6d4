#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "platform/console.h"

namespace qm::cli {

/// An output stream onto standard output or standard error through the console service, so UTF-8 text shows
/// as such on a Windows console too. Text goes out a whole line at a time (a character is never split) and
/// the rest when the stream is flushed or destroyed.
class ConsoleStream : public std::ostream {
 public:
  explicit ConsoleStream(console::Stream stream);
  ~ConsoleStream() override;

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(console::Stream stream) : stream_(stream) {}
    ~Buffer() override;

   protected:
    int_type overflow(int_type c) override;
    int sync() override;

   private:
    console::Stream stream_;
    std::string pending_;
  };

  Buffer buffer_;
};

}  // namespace qm::cli
