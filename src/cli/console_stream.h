#pragma once

#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

#include "platform/console.h"
#include "platform/error.h"

namespace qm::cli {

/// An output stream onto standard output or standard error through the console service, so UTF-8 text shows
/// as such on a Windows console too. Text goes out in whole lines (a character is never split): line by line
/// on a terminal, in blocks of lines to a pipe or file, and the rest when the stream is flushed or destroyed.
/// A write that fails puts the stream in a failed state and keeps the reason; nothing more is written.
class ConsoleStream : public std::ostream {
 public:
  explicit ConsoleStream(console::Stream stream);
  ~ConsoleStream() override;

  /// Why the output could not be written, once it could not.
  const std::optional<RuntimeError>& Failure() const { return buffer_.Failure(); }

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(console::Stream stream);
    ~Buffer() override;

    const std::optional<RuntimeError>& Failure() const { return failure_; }

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

   private:
    /// Writes the complete lines held so far when a terminal waits for them or a block has filled.
    bool WriteCompleteLines();
    /// Writes `text`; false once the output failed.
    bool Put(std::string_view text);

    console::Stream stream_;
    bool lineByLine_;
    std::string pending_;
    std::optional<RuntimeError> failure_;
  };

  Buffer buffer_;
};

}  // namespace qm::cli
