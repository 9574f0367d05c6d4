// The main window's Show against the command line's on the same catalogue, in one Wine or Windows process
// each: from the click to the last status-bar update, and the process's peak working set.
//
// Usage: window_show_bench_win32.exe window|cli CATALOGUE

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "cli/command.h"
#include "cli/interrupts.h"
#include "cli/options.h"
#include "clean/engine.h"
#include "platform/clock.h"
#include "platform/registry_backend.h"
#include "ui/main_window.h"
#include "ui/resource_ids.h"

namespace {

/// Answers every question with its first button, silently.
class SilentPrompt : public qm::ui::Prompt {
 public:
  qm::ui::PromptAnswer Ask(const std::string&, const std::string&, qm::ui::PromptButtons buttons,
                           qm::ui::PromptIcon, bool) override {
    return buttons == qm::ui::PromptButtons::YesNo ? qm::ui::PromptAnswer::Yes : qm::ui::PromptAnswer::Ok;
  }
};

/// Counts the lines written and keeps nothing.
class LineCounter : public std::streambuf {
 public:
  std::size_t lines = 0;

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    for (std::streamsize i = 0; i < count; ++i) lines += text[i] == '\n';
    return count;
  }
  int_type overflow(int_type c) override {
    lines += c == '\n';
    return c;
  }
};

/// The seconds a Show took and the traces it reported.
struct Outcome {
  double seconds = 0;
  std::string traces;
};

Outcome WindowShow(const std::string& catalogue) {
  std::unique_ptr<qm::reg::RegistryBackend> registry = qm::reg::OpenRegistry();
  qm::Engine engine(qm::EngineParts::System(*registry));
  SilentPrompt prompt;
  qm::ui::MainWindowArgs args;
  args.engine = &engine;
  args.prompt = &prompt;
  args.clock = &qm::SystemClock();
  args.catalogueFile = catalogue;
  args.start = [](const std::string&, const std::string&) {};
  args.quitWithWindow = false;
  qm::ui::MainWindow window(std::move(args));
  const auto start = std::chrono::steady_clock::now();
  SendMessageW(GetDlgItem(window.Handle(), IDC_SHOW), BM_CLICK, 0, 0);
  MSG message;
  while (!window.ProcessEnd()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  // The status bar has its final texts once they are painted.
  UpdateWindow(window.Handle());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  wchar_t count[64] = L"";
  SendMessageW(GetDlgItem(window.Handle(), IDC_STATUS), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(count));
  return {seconds, std::string(count, count + wcslen(count))};
}

Outcome CommandLineShow(const std::string& catalogue) {
  qm::cli::Options options;
  options.command = "show";
  options.catalogue = catalogue;
  options.json = true;
  LineCounter outBuffer, errBuffer;
  std::ostream out(&outBuffer), err(&errBuffer);
  qm::cli::Interrupts interrupts;
  const auto start = std::chrono::steady_clock::now();
  qm::cli::RunShow(qm::cli::CommandContext{options, out, err, interrupts});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Every line but the summary is a trace.
  return {seconds, std::to_string(outBuffer.lines - 1)};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode != "window" && mode != "cli") {
    std::fprintf(stderr, "usage: window_show_bench_win32 window|cli CATALOGUE\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_LINK_CLASS;
  InitCommonControlsEx(&controls);
  const Outcome outcome = mode == "window" ? WindowShow(argv[2]) : CommandLineShow(argv[2]);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  std::printf("%-6s show: %.3f s, %s traces, peak working set %zu KiB\n", mode.c_str(), outcome.seconds,
              outcome.traces.c_str(), memory.PeakWorkingSetSize / 1024);
  return 0;
}
