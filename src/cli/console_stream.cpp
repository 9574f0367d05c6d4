#include "cli/console_stream.h"

namespace qm::cli {
namespace {
/// A pipe or file gets its lines in blocks of about this size: one write per trace line would cost more than
/// finding the trace.
constexpr std::size_t kBlockBytes = 64 * 1024;
}  // namespace

ConsoleStream::ConsoleStream(console::Stream stream) : std::ostream(nullptr), buffer_(stream) {
  rdbuf(&buffer_);
}

ConsoleStream::~ConsoleStream() { flush(); }

ConsoleStream::Buffer::Buffer(console::Stream stream)
    : stream_(stream), lineByLine_(console::IsTerminal(stream)) {}

ConsoleStream::Buffer::~Buffer() { sync(); }

ConsoleStream::Buffer::int_type ConsoleStream::Buffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  pending_ += traits_type::to_char_type(c);
  if (c == '\n') WriteCompleteLines();
  return c;
}

std::streamsize ConsoleStream::Buffer::xsputn(const char* s, std::streamsize n) {
  pending_.append(s, static_cast<std::size_t>(n));
  WriteCompleteLines();
  return n;
}

void ConsoleStream::Buffer::WriteCompleteLines() {
  if (!lineByLine_ && pending_.size() < kBlockBytes) return;
  const std::size_t lastBreak = pending_.rfind('\n');
  if (lastBreak == std::string::npos) return;
  console::Write(stream_, std::string_view(pending_).substr(0, lastBreak + 1));
  pending_.erase(0, lastBreak + 1);
}

int ConsoleStream::Buffer::sync() {
  if (!pending_.empty()) {
    console::Write(stream_, pending_);
    pending_.clear();
  }
  return 0;
}

}  // namespace qm::cli
