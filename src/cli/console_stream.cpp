#include "cli/console_stream.h"

namespace qm::cli {

ConsoleStream::ConsoleStream(console::Stream stream) : std::ostream(nullptr), buffer_(stream) { rdbuf(&buffer_); }

ConsoleStream::~ConsoleStream() { flush(); }

ConsoleStream::Buffer::~Buffer() { sync(); }

ConsoleStream::Buffer::int_type ConsoleStream::Buffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  pending_ += traits_type::to_char_type(c);
  if (c == '\n') sync();
  return c;
}

int ConsoleStream::Buffer::sync() {
  if (!pending_.empty()) {
    console::Write(stream_, pending_);
    pending_.clear();
  }
  return 0;
}

}  // namespace qm::cli
