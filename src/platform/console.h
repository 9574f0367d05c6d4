#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace qm::console {

enum class Stream { In, Out, Err };

/// Writes UTF-8 text to standard output or standard error: on a Windows console as Unicode characters, to a
/// pipe or file as the bytes given. Raises RuntimeError when the text cannot be written (a full disk, a
/// closed stream, a pipe whose reader is gone), with the system's code as the last platform error.
void Write(Stream stream, std::string_view utf8);

/// True when a failure of Write was a pipe whose reader has gone (`show | head -1`): no one is left to tell.
bool IsBrokenPipe(const RuntimeError& error);

/// True when the stream is an interactive terminal (a console window on Windows), not a pipe or file.
bool IsTerminal(Stream stream);

/// Calls `handler` when the user presses Ctrl+C (or Ctrl+Break on Windows); the program is not ended then.
/// The handler runs in a signal handler on Linux and on a thread of its own on Windows: it may only set
/// atomic flags. A later call replaces the handler. A write to a pipe whose reader has gone no longer ends the
/// program either: Write reports it.
void OnInterrupt(std::function<void()> handler);

/// One line of standard input as UTF-8, without its line break; nothing at the end of the input, and nothing
/// as soon as `interrupted` is set (a Ctrl+C while the program waits for an answer).
std::optional<std::string> ReadLine(const std::atomic<bool>& interrupted);

/// Reads one answer line: true for "y" or "yes" in any letter case (spaces around allowed), false for
/// anything else, at the end of the input and when `interrupted` is set.
bool ReadYesNo(const std::atomic<bool>& interrupted);

}  // namespace qm::console
