#pragma once

#include <string>
#include <string_view>

namespace qm::text {

/// UTF-8 is the text of the whole program; these convert at the edges. Invalid input never throws:
/// malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

/// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

/// The ANSI code page of catalogue, plug-in and log files: the system's on Windows, Windows-1252 elsewhere.
/// Characters the code page cannot hold become "?". On Linux every byte maps to one character and back, so
/// ANSI bytes always survive a round trip through UTF-8.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

/// ASCII-only case folding, as the registry and file names compare on every platform we test.
std::string ToLowerAscii(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace qm::text
