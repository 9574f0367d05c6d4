#include <windows.h>

#include <cstdio>
#include <iostream>
#include <utility>

#include "platform/console.h"
#include "platform/text_win32.h"

namespace qm::console {

namespace {

HANDLE HandleOf(Stream stream) {
  switch (stream) {
    case Stream::In: return GetStdHandle(STD_INPUT_HANDLE);
    case Stream::Out: return GetStdHandle(STD_OUTPUT_HANDLE);
    case Stream::Err: return GetStdHandle(STD_ERROR_HANDLE);
  }
  return INVALID_HANDLE_VALUE;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

std::function<void()>& InterruptHandler() {
  static std::function<void()> handler;
  return handler;
}

BOOL WINAPI OnConsoleControl(DWORD type) {
  if ((type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT) && InterruptHandler()) {
    InterruptHandler()();
    return TRUE;
  }
  return FALSE;
}

[[noreturn]] void Fail() {
  const DWORD code = GetLastError();
  throw RuntimeError(errors::kDeviceIo, "Console", "cannot write the output (error " + std::to_string(code) + ")")
      .WithLastPlatformError(static_cast<int32_t>(code));
}

}  // namespace

void Write(Stream stream, std::string_view utf8) {
  std::fflush(stream == Stream::Err ? stderr : stdout);
  std::cout.flush();
  HANDLE handle = HandleOf(stream);
  if (IsConsole(handle)) {
    // A console shows characters, whatever its code page: hand it UTF-16.
    const std::wstring wide = text::Widen(utf8);
    DWORD written = 0;
    if (!WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) Fail();
    return;
  }
  // A pipe or a file gets the UTF-8 bytes as they are.
  while (!utf8.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) || written == 0) Fail();
    utf8.remove_prefix(written);
  }
}

bool IsBrokenPipe(const RuntimeError& error) {
  return error.Source() == "Console" &&
         (error.LastPlatformError() == ERROR_BROKEN_PIPE || error.LastPlatformError() == ERROR_NO_DATA);
}

bool IsTerminal(Stream stream) { return IsConsole(HandleOf(stream)); }

void OnInterrupt(std::function<void()> handler) {
  InterruptHandler() = std::move(handler);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

std::optional<std::string> ReadLine(const std::atomic<bool>& interrupted) {
  HANDLE handle = HandleOf(Stream::In);
  if (IsConsole(handle)) {
    // A console types characters: read them as UTF-16, one line at a time.
    std::wstring line;
    wchar_t c = 0;
    DWORD read = 0;
    bool any = false;
    // Ctrl+C ends a console read with nothing read; the handler has set the flag by then.
    while (!interrupted.load() && ReadConsoleW(handle, &c, 1, &read, nullptr) && read == 1) {
      any = true;
      if (c == L'\n') break;
      if (c != L'\r') line += c;
    }
    if (!any || interrupted.load()) return std::nullopt;
    return text::Narrow(line);
  }
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace qm::console
