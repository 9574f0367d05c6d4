#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "clean/engine.h"
#include "config/privacy_configs.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/registry_backend.h"
#include "platform/shell.h"
#include "platform/text_win32.h"
#include "settings/system_settings.h"
#include "ui/main_window.h"
#include "ui/message_box_prompt.h"

namespace {

constexpr wchar_t kInstanceMutex[] = L"Local\\Dunvorel.Quillmere.Instance";

/// A second start brings the running program to the front instead of opening a second window and icon.
bool HandOverToRunningInstance() {
  CreateMutexW(nullptr, FALSE, kInstanceMutex);
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  if (HWND running = FindWindowW(qm::ui::MainWindow::kClassName, nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    PostMessageW(running, qm::ui::MainWindow::kActivateMessage, 0, 0);
  }
  return true;
}

void StartWithShell(const std::string& program, const std::string& file) {
  const std::wstring wideFile = qm::text::Widen(file);
  if (program.empty()) {
    ShellExecuteW(nullptr, L"open", wideFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  // Quoted, so a path with blanks reaches the program as one argument.
  const std::wstring argument = L"\"" + wideFile + L"\"";
  ShellExecuteW(nullptr, L"open", qm::text::Widen(program).c_str(), argument.c_str(), nullptr, SW_SHOWNORMAL);
}

int RunProgram() {
  std::unique_ptr<qm::reg::RegistryBackend> registry = qm::reg::OpenRegistry();
  qm::Engine engine(qm::EngineParts::System(*registry));
  qm::ui::MessageBoxPrompt prompt;
  qm::ui::MainWindowArgs args;
  args.engine = &engine;
  args.prompt = &prompt;
  args.clock = &qm::SystemClock();
  args.catalogueFile = qm::FileSystem::Join(qm::shell::ProgramFolder(), qm::kDefaultCatalogueFileName);
  qm::LoadSystemSettings(*registry, args.settings, qm::SettingsKey::CreateWhenMissing);
  args.start = StartWithShell;
  qm::ui::MainWindow window(std::move(args));
  prompt.SetOwner(window.Handle());
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (HandOverToRunningInstance()) return 0;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_LINK_CLASS | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  try {
    return RunProgram();
  } catch (const qm::RuntimeError& e) {
    MessageBoxW(nullptr, qm::text::Widen(e.Description()).c_str(), L"Quillmere", MB_OK | MB_ICONEXCLAMATION);
  }
  return 1;
}
