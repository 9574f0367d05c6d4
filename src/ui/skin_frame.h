#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/model/frame_layout.h"

namespace qm::ui {

/// The buttons of the title bar.
enum class FrameButton { None, Minimise, Maximise, Close };

/// The main window's own frame, drawn with GDI: the title bar with the program's name, its minimise,
/// maximise/restore and close buttons with their hover and pressed looks, the picture-menu titles with their
/// highlight, the border, the grips and the splitter bar. It keeps the hover and pressed state; the window
/// forwards mouse messages and repaints what they return.
class SkinFrame {
 public:
  /// A menu title of the bar: its text and where it is.
  struct MenuTitle {
    std::wstring Text;
    ControlBounds Bounds;
  };

  void SetLayout(const FrameLayout& layout, std::vector<MenuTitle> titles, int dpi);
  const FrameLayout& Layout() const { return layout_; }

  /// Paints the whole frame for a client area `client`; `splitter` is the splitter bar's place.
  void Paint(HDC dc, const RECT& client, const ControlBounds& splitter, bool maximised, HICON icon) const;

  /// What the system should make of the point (client coordinates): the title bar drags (HTCAPTION), the
  /// grips resize unless the window is maximised, everything else is the client's.
  LRESULT HitTest(POINT point, bool maximised) const;

  /// Hover: true when the look changed.
  bool MouseMove(POINT point);
  /// A press on a button: true when one was pressed.
  bool MouseDown(POINT point);
  /// The release: the button that was pressed and released over itself, else None.
  FrameButton MouseUp(POINT point);
  /// The pointer left the window: hover looks go.
  bool MouseLeave();

  /// The menu title under the point, or -1.
  int MenuTitleAt(POINT point) const;
  /// The title whose menu is open shows its pressed look; -1 for none.
  void SetOpenMenu(int index) { openMenu_ = index; }
  const std::vector<MenuTitle>& Titles() const { return titles_; }

 private:
  FrameButton ButtonAt(POINT point) const;
  const ControlBounds& BoundsOf(FrameButton button) const;

  FrameLayout layout_;
  std::vector<MenuTitle> titles_;
  int dpi_ = 96;
  FrameButton hover_ = FrameButton::None;
  FrameButton pressed_ = FrameButton::None;
  int hoverMenu_ = -1;
  int openMenu_ = -1;
};

}  // namespace qm::ui
