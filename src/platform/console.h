#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm::console {

enum class Stream { In, Out, Err };

/// Writes UTF-8 text to standard output or standard error: on a Windows console as Unicode characters, to a
/// pipe or file as the bytes given.
void Write(Stream stream, std::string_view utf8);

/// True when the stream is an interactive terminal (a console window on Windows), not a pipe or file.
bool IsTerminal(Stream stream);

/// Calls `handler` when the user presses Ctrl+C (or Ctrl+Break on Windows); the program is not ended then.
/// The handler runs in a signal handler on Linux and on a thread of its own on Windows: it may only set
/// atomic flags. A later call replaces the handler.
void OnInterrupt(std::function<void()> handler);

/// One line of standard input as UTF-8, without its line break; nothing at the end of the input.
std::optional<std::string> ReadLine();

/// Reads one answer line: true for "y" or "yes" in any letter case (spaces around allowed), false for
/// anything else and at the end of the input.
bool ReadYesNo();

}  // namespace qm::console
