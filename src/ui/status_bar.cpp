#include "ui/status_bar.h"

#include <commctrl.h>

#include <string>

#include "platform/text_win32.h"

namespace qm::ui {

void SetStatusPanels(HWND status, const StatusPanels& panels, int dpi) {
  const std::wstring texts[4] = {text::Widen(panels.Where), text::Widen(panels.Count), text::Widen(panels.Size),
                                 text::Widen(panels.Row)};
  HDC dc = GetDC(status);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(status, WM_GETFONT, 0, 0)));
  const int padding = MulDiv(16, dpi, 96);
  int edges[4] = {0, 0, 0, -1};
  int right = 0;
  for (int i = 0; i < 3; ++i) {
    SIZE size{};
    GetTextExtentPoint32W(dc, texts[i].c_str(), static_cast<int>(texts[i].size()), &size);
    right += size.cx + padding;
    edges[i] = right;
  }
  SelectObject(dc, old);
  ReleaseDC(status, dc);
  SendMessageW(status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  for (int i = 0; i < 4; ++i) SendMessageW(status, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(texts[i].c_str()));
}

}  // namespace qm::ui
