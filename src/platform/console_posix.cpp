#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <utility>

#include "platform/console.h"

namespace qm::console {

namespace {

int DescriptorOf(Stream stream) {
  switch (stream) {
    case Stream::In: return STDIN_FILENO;
    case Stream::Out: return STDOUT_FILENO;
    case Stream::Err: return STDERR_FILENO;
  }
  return STDOUT_FILENO;
}

std::function<void()>& InterruptHandler() {
  static std::function<void()> handler;
  return handler;
}

void OnSigint(int) {
  if (InterruptHandler()) InterruptHandler()();
}

}  // namespace

void Write(Stream stream, std::string_view utf8) {
  // C stdio carries everything else the program prints: flush it first so the order is kept.
  std::fflush(stream == Stream::Err ? stderr : stdout);
  std::cout.flush();
  const int fd = DescriptorOf(stream);
  while (!utf8.empty()) {
    const ssize_t put = ::write(fd, utf8.data(), utf8.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      throw RuntimeError(errors::kDeviceIo, "Console", std::string("cannot write the output: ") + std::strerror(errno))
          .WithLastPlatformError(errno);
    }
    utf8.remove_prefix(static_cast<size_t>(put));
  }
}

bool IsBrokenPipe(const RuntimeError& error) {
  return error.Source() == "Console" && error.LastPlatformError() == EPIPE;
}

bool IsTerminal(Stream stream) { return ::isatty(DescriptorOf(stream)) == 1; }

void OnInterrupt(std::function<void()> handler) {
  // Block the signal while the handler is swapped so it never sees a half-assigned std::function.
  sigset_t block;
  sigemptyset(&block);
  sigaddset(&block, SIGINT);
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &block, &previous);
  InterruptHandler() = std::move(handler);
  struct sigaction action {};
  action.sa_handler = OnSigint;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

std::optional<std::string> ReadLine(const std::atomic<bool>& interrupted) {
  // Read byte by byte behind a short poll, so a Ctrl+C (which only sets the flag) ends the wait.
  std::string line;
  while (!interrupted.load()) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&input, 1, 100);
    if (ready < 0 && errno != EINTR) return std::nullopt;
    if (ready <= 0) continue;
    char c = 0;
    const ssize_t got = ::read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return line.empty() ? std::nullopt : std::optional<std::string>(line);
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    line += c;
  }
  return std::nullopt;
}

}  // namespace qm::console
