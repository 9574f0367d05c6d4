// Drives a running Quillmere.exe through the states a user sees and saves each as a 24-bit BMP file of the
// screen: scripts/screenshots starts the program, runs this, and turns the files into PNGs.
//
// Usage: screenshot_driver.exe OUTPUT_FOLDER SUFFIX

#include <windows.h>
// The common controls need what windows.h declares.
#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/add_plugins_dialog_ids.h"
#include "ui/config_preview_ids.h"
#include "ui/custom_list_dialog_ids.h"
#include "ui/custom_maker_dialog_ids.h"
#include "ui/main_window.h"
#include "ui/model/frame_layout.h"
#include "ui/preferences_dialog_ids.h"
#include "ui/resource_ids.h"
#include "ui/tray_icon.h"

namespace {

std::wstring g_folder;
std::wstring g_suffix;

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (HWND hwnd = FindWindowW(className, title)) return hwnd;
    Sleep(100);
  }
  return nullptr;
}

/// Saves the screen as a bottom-up 24-bit BMP.
void Capture(const wchar_t* name) {
  Sleep(700);  // let the program paint
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  const DWORD stride = (width * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + stride * height;
  const std::wstring path = g_folder + L"\\" + name + g_suffix + L".bmp";
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::wprintf(L"%ls\n", path.c_str());
}

/// Waits until the run started by a button is over: its caption leaves `idle` ("Stop") while it runs. A run
/// that ends before its "Stop" is seen is waited for three seconds at most.
void WaitForRun(HWND button, const wchar_t* idle) {
  auto caption = [button] {
    wchar_t text[32] = L"";
    GetWindowTextW(button, text, 32);
    return std::wstring(text);
  };
  for (int i = 0; i < 30 && caption() == idle; ++i) Sleep(100);
  for (int i = 0; i < 600 && caption() != idle; ++i) Sleep(100);
}

/// Posts a command to `to` and waits for the window captioned `caption` that it opens.
HWND Open(HWND to, int command, const wchar_t* caption) {
  PostMessageW(to, WM_COMMAND, command, 0);
  return WaitForWindow(nullptr, caption, 15);
}

/// Clicks a button the way the mouse does, from outside the program, and waits for the window it opens.
HWND Click(HWND button, const wchar_t* caption) {
  PostMessageW(button, BM_CLICK, 0, 0);
  return WaitForWindow(nullptr, caption, 15);
}

void Cancel(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  Sleep(2500);  // a closing dialog takes a while under Wine
}

/// Preferences, each of its pages, and the Privacy Detail window its Windows page opens, with a preview.
void CapturePreferences(HWND main) {
  HWND preferences = Open(main, IDM_PREFERENCE, L"Preferences");
  if (!preferences) return;
  HWND tree = GetDlgItem(preferences, IDC_PREF_TREE);
  int page = 0;
  for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
       item = reinterpret_cast<HTREEITEM>(
           SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Capture((L"preferences-page" + std::to_wstring(++page)).c_str());
  }
  HWND advance = GetDlgItem(GetDlgItem(preferences, IDD_PREF_WINDOWS), IDC_WINS_ADVANCE);
  if (HWND detail = Click(advance, L"Privacy Detail")) {
    HWND preview = GetDlgItem(detail, IDC_PREVIEW_BUTTON);
    PostMessageW(preview, BM_CLICK, 0, 0);
    WaitForRun(preview, L"Preview");
    Capture(L"privacy-detail");
    Cancel(detail);
  }
  Cancel(preferences);
}

/// Custom List, the Custom Maker its Detail opens on the demo's custom configuration, and the Custom Item the
/// maker's Detail opens on its first item.
void CaptureCustoms(HWND main) {
  HWND list = Open(main, IDM_ADD_CUSTOM, L"Custom Settings");
  if (!list) return;
  // The arrow key selects the first row, as it does for a user.
  HWND rows = GetDlgItem(list, IDC_CL_LIST);
  PostMessageW(rows, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(rows, WM_KEYUP, VK_DOWN, 0);
  Capture(L"custom-list");
  if (HWND maker = Click(GetDlgItem(list, IDC_CL_DETAIL), L"Custom Privacy")) {
    HWND tree = GetDlgItem(maker, IDC_PREVIEW_TREE);
    const LPARAM root = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const LPARAM first = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, root);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, first);
    HWND preview = GetDlgItem(maker, IDC_PREVIEW_BUTTON);
    PostMessageW(preview, BM_CLICK, 0, 0);
    WaitForRun(preview, L"Preview");
    Capture(L"custom-maker");
    if (HWND item = Click(GetDlgItem(maker, IDC_MAKER_DETAIL), L"Custom Item")) {
      Capture(L"custom-item");
      Cancel(item);
    }
    Cancel(maker);
  }
  Cancel(list);
}

void CaptureAddPlugins(HWND main) {
  if (HWND plugins = Open(main, IDM_ADD_PLUGINS, L"Plugins Adding")) {
    Capture(L"add-plugins");
    Cancel(plugins);
  }
}

void CloseMenu() {
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  Sleep(300);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: screenshot_driver OUTPUT_FOLDER SUFFIX\n");
    return 2;
  }
  g_folder = argv[1];
  g_suffix = argv[2];
  HWND main = WaitForWindow(qm::ui::MainWindow::kClassName, nullptr, 60);
  if (!main) {
    std::fwprintf(stderr, L"the main window did not appear\n");
    return 1;
  }
  SetForegroundWindow(main);
  HWND show = GetDlgItem(main, IDC_SHOW), clear = GetDlgItem(main, IDC_CLEAR);
  Capture(L"main-started");
  PostMessageW(main, WM_COMMAND, IDC_SHOW, 0);
  WaitForRun(show, L"Show");
  Capture(L"main-after-show");

  // The Actions menu, opened from its title in the bar as a click would.
  RECT frame{}, client{};
  GetWindowRect(main, &frame);
  GetClientRect(main, &client);
  const int dpi = static_cast<int>(GetDpiForWindow(main));
  const qm::ui::ControlBounds actions = qm::ui::LayOutFrame(client.right, client.bottom, dpi).MenuTitles[1];
  PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(actions.Left + actions.Width / 2, actions.Top + actions.Height / 2));
  Capture(L"menu-actions");
  CloseMenu();

  SetCursorPos(frame.right - MulDiv(120, dpi, 96), frame.bottom - MulDiv(120, dpi, 96));
  PostMessageW(main, qm::ui::TrayIcon::kCallbackMessage, 0, WM_RBUTTONUP);
  Capture(L"menu-tray");
  CloseMenu();

  // The secondary windows while the demo's traces are still there to preview.
  CapturePreferences(main);
  CaptureCustoms(main);
  CaptureAddPlugins(main);

  PostMessageW(main, WM_COMMAND, IDM_CLEAR, 0);
  Sleep(300);
  WaitForRun(clear, L"Clear");
  Capture(L"main-after-clear");

  // Maximised and restored with the title bar's own button, as a user does.
  const qm::ui::ControlBounds maximise = qm::ui::LayOutFrame(client.right, client.bottom, dpi).Maximise;
  const LPARAM onMaximise = MAKELPARAM(maximise.Left + maximise.Width / 2, maximise.Top + maximise.Height / 2);
  PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, onMaximise);
  PostMessageW(main, WM_LBUTTONUP, 0, onMaximise);
  Capture(L"main-maximised");
  ShowWindow(main, SW_RESTORE);

  if (HWND about = Open(main, IDM_ABOUT, L"About Quillmere")) {
    Capture(L"about");
    Cancel(about);
  }
  PostMessageW(main, WM_COMMAND, IDM_EXIT, 0);
  return 0;
}
