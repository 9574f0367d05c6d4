#pragma once

#include <optional>
#include <vector>

#include "ui/model/form_resize_control.h"

namespace qm::ui {

/// Lengths are designed in twips (1440 to the inch) and drawn in pixels of a monitor of `dpi`.
int TwipsToPixels(int twips, int dpi);

/// The smallest size of the main window: 9600 x 7200 twips.
inline constexpr int kMinimumWidthTwips = 9600;
inline constexpr int kMinimumHeightTwips = 7200;

/// Where the parts of the main window's own frame go for a window of `width` x `height` pixels: the title
/// bar across the top, down to the content; its minimise, maximise and close buttons 270 twips square, 120
/// twips from the top, side by side and ending 240 twips from the right edge; the four picture-menu titles
/// 125 twips from the top, 240 high, left to right without gaps from 390 twips (465, 780, 615 and 540 twips
/// wide); the bottom grip 240 twips high (as wide as the window less the right grip), the right grip 135
/// twips wide (from the content's top down to the bottom grip) and the corner grip where they meet; the tree,
/// splitter and list 400 twips below the top; the status bar 22 pixels at 96 dpi high, just above the bottom
/// grip and as wide; the Show and Clear buttons 1200 x 360 twips, 120 twips apart, 120 twips above the status
/// bar and 120 twips left of the right grip.
struct FrameLayout {
  ControlBounds TitleBar;
  ControlBounds Minimise, Maximise, Close;
  ControlBounds MenuTitles[4];  ///< File, Actions, Tools, Help
  ControlBounds BottomGrip, RightGrip, CornerGrip;
  ControlBounds ShowButton, ClearButton;
  ControlBounds Status;
  int ContentTop = 0;  ///< the top of the tree, the splitter and the list
};
FrameLayout LayOutFrame(int width, int height, int dpi);

/// One piece of the window's outline, in pixels.
struct OutlineShape {
  enum class Kind { Rectangle, Ellipse };
  Kind Shape = Kind::Rectangle;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;

  friend bool operator==(const OutlineShape&, const OutlineShape&) = default;
};

/// The pieces whose union is the window's outline (large rounded corners at the top and bottom left, a small
/// one at the bottom right), for a window of `width` x `height` pixels; the designed pixel sizes grow with
/// `dpi` / 96.
std::vector<OutlineShape> WindowOutline(int width, int height, int dpi);

/// The splitter's new left edge when it is dragged with the cursor at `x` (pixels from the window's left
/// edge) and `grabOffset` = the bar's left minus the cursor's x when it was pressed; nothing when x is nearer
/// than 2926 twips to the left edge or 1000 twips to the right edge, where the bar stays.
std::optional<int> SplitterLeftFor(int x, int grabOffset, int windowWidth, int dpi);

/// A grip's dragged size, never below the minimum (`minimum` in pixels): a length at or below it becomes it.
int GripSize(int dragged, int minimum);

}  // namespace qm::ui
