#include "cli/console_stream.h"

namespace qm::cli {
namespace {
/// A pipe or file gets its lines in blocks of about this size: one write per trace line would cost more than
/// finding the trace.
constexpr std::size_t kBlockBytes = 64 * 1024;
}  // namespace

ConsoleStream::ConsoleStream(console::Stream stream) : std::ostream(nullptr), buffer_(stream) { rdbuf(&buffer_); }

ConsoleStream::~ConsoleStream() { flush(); }

ConsoleStream::Buffer::Buffer(console::Stream stream) : stream_(stream), lineByLine_(console::IsTerminal(stream)) {}

ConsoleStream::Buffer::~Buffer() { sync(); }

ConsoleStream::Buffer::int_type ConsoleStream::Buffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  if (failure_) return traits_type::eof();
  pending_ += traits_type::to_char_type(c);
  if (c == '\n' && !WriteCompleteLines()) return traits_type::eof();
  return c;
}

std::streamsize ConsoleStream::Buffer::xsputn(const char* s, std::streamsize n) {
  if (failure_) return 0;
  pending_.append(s, static_cast<std::size_t>(n));
  return WriteCompleteLines() ? n : 0;
}

bool ConsoleStream::Buffer::WriteCompleteLines() {
  if (!lineByLine_ && pending_.size() < kBlockBytes) return true;
  const std::size_t lastBreak = pending_.rfind('\n');
  if (lastBreak == std::string::npos) return true;
  const bool written = Put(std::string_view(pending_).substr(0, lastBreak + 1));
  pending_.erase(0, lastBreak + 1);
  return written;
}

int ConsoleStream::Buffer::sync() {
  if (pending_.empty()) return failure_ ? -1 : 0;
  const bool written = Put(pending_);
  pending_.clear();
  return written ? 0 : -1;
}

bool ConsoleStream::Buffer::Put(std::string_view text) {
  if (failure_) return false;
  try {
    console::Write(stream_, text);
    return true;
  } catch (const RuntimeError& error) {
    failure_ = error;
    return false;
  }
}

}  // namespace qm::cli
