#include "ui/tray_icon.h"

#include "platform/text_win32.h"

namespace qm::ui {

void TrayIcon::Add(HWND owner, HICON icon) {
  data_.cbSize = sizeof(data_);
  data_.hWnd = owner;
  data_.uID = 0;
  data_.uFlags = NIF_ICON | NIF_MESSAGE;
  data_.uCallbackMessage = kCallbackMessage;
  data_.hIcon = icon;
  present_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::SetTip(const std::string& tip) {
  const std::wstring wide = text::Widen(tip);
  lstrcpynW(data_.szTip, wide.c_str(), static_cast<int>(std::size(data_.szTip)));
  data_.uFlags = NIF_TIP;
  Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void TrayIcon::Remove() {
  data_.uFlags = 0;
  Shell_NotifyIconW(NIM_DELETE, &data_);
  present_ = false;
}

void TrayIcon::Restore() {
  data_.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  present_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

}  // namespace qm::ui
