#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace qm::ui {

/// The program's icon in the notification area. Calls that fail are ignored: the program then runs without
/// an icon.
class TrayIcon {
 public:
  /// The message the icon sends its window; lParam carries the mouse message.
  static constexpr UINT kCallbackMessage = 2025;

  /// Adds the icon for `owner`.
  void Add(HWND owner, HICON icon);
  void SetTip(const std::string& tip);
  /// Removes the icon; before the window is destroyed, so no callback reaches a window that is gone.
  void Remove();
  /// Adds the icon again with its tip, after Explorer restarted (its "TaskbarCreated" message).
  void Restore();
  bool Present() const { return present_; }

 private:
  NOTIFYICONDATAW data_{};
  bool present_ = false;
};

}  // namespace qm::ui
