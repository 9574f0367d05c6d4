#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "platform/console.h"

namespace qm::cli {

/// An output stream onto standard output or standard error through the console service, so UTF-8 text shows
/// as such on a Windows console too. Text goes out in whole lines (a character is never split): line by line
/// on a terminal, in blocks of lines to a pipe or file, and the rest when the stream is flushed or destroyed.
class ConsoleStream : public std::ostream {
 public:
  explicit ConsoleStream(console::Stream stream);
  ~ConsoleStream() override;

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(console::Stream stream);
    ~Buffer() override;

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

   private:
    /// Writes the complete lines held so far when a terminal waits for them or a block has filled.
    void WriteCompleteLines();

    console::Stream stream_;
    bool lineByLine_;
    std::string pending_;
  };

  Buffer buffer_;
};

}  // namespace qm::cli
