// Drives a running Quillmere.exe through the states a user sees and saves each as a 24-bit BMP file of the
// screen: scripts/screenshots starts the program, runs this, and turns the files into PNGs.
//
// Usage: screenshot_driver.exe OUTPUT_FOLDER SUFFIX

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/main_window.h"
#include "ui/model/frame_layout.h"
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

/// Waits until the run started by a button is over: its caption reads "Stop" while it runs.
void WaitForRun(HWND button, const wchar_t* idle) {
  wchar_t caption[32] = L"";
  for (int i = 0; i < 600; ++i) {
    Sleep(100);
    GetWindowTextW(button, caption, 32);
    if (std::wstring(caption) == idle) return;
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

  PostMessageW(main, WM_COMMAND, IDM_ABOUT, 0);
  if (HWND about = WaitForWindow(nullptr, L"About Quillmere", 10)) {
    Capture(L"about");
    PostMessageW(about, WM_COMMAND, IDOK, 0);
  }
  Sleep(300);
  PostMessageW(main, WM_COMMAND, IDM_EXIT, 0);
  return 0;
}
