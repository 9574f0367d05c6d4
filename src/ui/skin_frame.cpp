#include "ui/skin_frame.h"

#include <algorithm>

namespace qm::ui {
namespace {

constexpr COLORREF kBarTop = RGB(24, 92, 104);
constexpr COLORREF kBarBottom = RGB(14, 62, 72);
constexpr COLORREF kBody = RGB(226, 234, 236);
constexpr COLORREF kBorder = RGB(10, 48, 56);
constexpr COLORREF kTitleText = RGB(255, 255, 255);
constexpr COLORREF kHover = RGB(52, 128, 140);
constexpr COLORREF kPressed = RGB(8, 40, 48);
constexpr COLORREF kCloseHover = RGB(200, 48, 40);

RECT RectOf(const ControlBounds& b) { return RECT{b.Left, b.Top, b.Left + b.Width, b.Top + b.Height}; }

bool Contains(const ControlBounds& b, POINT p) {
  return p.x >= b.Left && p.x < b.Left + b.Width && p.y >= b.Top && p.y < b.Top + b.Height;
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  TRIVERTEX vertices[2] = {
      {rect.left, rect.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
       static_cast<COLOR16>(GetBValue(top) << 8), 0},
      {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
       static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0}};
  GRADIENT_RECT span{0, 1};
  GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
}

void Stroke(HDC dc, COLORREF color, int width, std::initializer_list<POINT> points) {
  HPEN pen = CreatePen(PS_SOLID, width, color);
  HGDIOBJ old = SelectObject(dc, pen);
  const POINT* first = points.begin();
  MoveToEx(dc, first->x, first->y, nullptr);
  for (const POINT* p = first + 1; p != points.end(); ++p) LineTo(dc, p->x, p->y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

HFONT FrameFont(int dpi, int weight) {
  return CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI");
}

// The button's glyph, drawn in a square of the button's height centred in it.
void DrawGlyph(HDC dc, FrameButton button, const RECT& r, bool maximised, int dpi) {
  const int unit = std::max(1, MulDiv(1, dpi, 96));
  const int side = std::min(r.right - r.left, r.bottom - r.top) * 2 / 5;
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const int l = cx - side / 2, t = cy - side / 2, rr = l + side, b = t + side;
  switch (button) {
    case FrameButton::Minimise:
      Stroke(dc, kTitleText, unit, {{l, b}, {rr, b}});
      break;
    case FrameButton::Maximise:
      if (maximised) {
        const int o = side / 4;
        Stroke(dc, kTitleText, unit, {{l + o, t}, {rr, t}, {rr, b - o}});
        Stroke(dc, kTitleText, unit, {{l, t + o}, {rr - o, t + o}, {rr - o, b}, {l, b}, {l, t + o}});
      } else {
        Stroke(dc, kTitleText, unit, {{l, t}, {rr, t}, {rr, b}, {l, b}, {l, t}});
      }
      break;
    case FrameButton::Close:
      Stroke(dc, kTitleText, unit, {{l, t}, {rr + 1, b + 1}});
      Stroke(dc, kTitleText, unit, {{rr, t}, {l - 1, b + 1}});
      break;
    case FrameButton::None:
      break;
  }
}

}  // namespace

void SkinFrame::SetLayout(const FrameLayout& layout, std::vector<MenuTitle> titles, int dpi) {
  layout_ = layout;
  titles_ = std::move(titles);
  dpi_ = dpi;
}

const ControlBounds& SkinFrame::BoundsOf(FrameButton button) const {
  switch (button) {
    case FrameButton::Minimise: return layout_.Minimise;
    case FrameButton::Maximise: return layout_.Maximise;
    default: return layout_.Close;
  }
}

FrameButton SkinFrame::ButtonAt(POINT point) const {
  for (FrameButton b : {FrameButton::Minimise, FrameButton::Maximise, FrameButton::Close}) {
    if (Contains(BoundsOf(b), point)) return b;
  }
  return FrameButton::None;
}

int SkinFrame::MenuTitleAt(POINT point) const {
  for (std::size_t i = 0; i < titles_.size(); ++i) {
    if (Contains(titles_[i].Bounds, point)) return static_cast<int>(i);
  }
  return -1;
}

LRESULT SkinFrame::HitTest(POINT point, bool maximised) const {
  if (!maximised) {
    if (Contains(layout_.CornerGrip, point)) return HTBOTTOMRIGHT;
    if (Contains(layout_.BottomGrip, point)) return HTBOTTOM;
    if (Contains(layout_.RightGrip, point)) return HTRIGHT;
  }
  if (Contains(layout_.TitleBar, point) && ButtonAt(point) == FrameButton::None && MenuTitleAt(point) < 0) {
    return HTCAPTION;
  }
  return HTCLIENT;
}

bool SkinFrame::MouseMove(POINT point) {
  const FrameButton hover = ButtonAt(point);
  const int hoverMenu = MenuTitleAt(point);
  const bool changed = hover != hover_ || hoverMenu != hoverMenu_;
  hover_ = hover;
  hoverMenu_ = hoverMenu;
  return changed;
}

bool SkinFrame::MouseDown(POINT point) {
  pressed_ = ButtonAt(point);
  return pressed_ != FrameButton::None;
}

FrameButton SkinFrame::MouseUp(POINT point) {
  const FrameButton clicked = pressed_ != FrameButton::None && ButtonAt(point) == pressed_ ? pressed_ : FrameButton::None;
  pressed_ = FrameButton::None;
  return clicked;
}

bool SkinFrame::MouseLeave() {
  const bool changed = hover_ != FrameButton::None || hoverMenu_ >= 0;
  hover_ = FrameButton::None;
  hoverMenu_ = -1;
  return changed;
}

void SkinFrame::Paint(HDC dc, const RECT& client, const ControlBounds& splitter, bool maximised, HICON icon) const {
  FillColor(dc, client, kBody);
  RECT bar = RectOf(layout_.TitleBar);
  bar.bottom = layout_.ContentTop;
  VerticalGradient(dc, bar, kBarTop, kBarBottom);

  const int iconSize = MulDiv(16, dpi_, 96);
  const ControlBounds& close = layout_.Close;
  const int textLeft = titles_.empty() ? MulDiv(12, dpi_, 96)
                                       : titles_.back().Bounds.Left + titles_.back().Bounds.Width + MulDiv(16, dpi_, 96);
  HFONT bold = FrameFont(dpi_, FW_SEMIBOLD);
  HFONT plain = FrameFont(dpi_, FW_NORMAL);
  HGDIOBJ oldFont = SelectObject(dc, bold);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTitleText);
  // The program's name in the middle of the bar, its icon before it.
  RECT nameRect{textLeft, layout_.Minimise.Top, layout_.Minimise.Left, layout_.Minimise.Top + layout_.Minimise.Height};
  SIZE nameSize{};
  GetTextExtentPoint32W(dc, L"Quillmere", 9, &nameSize);
  const int nameLeft = std::max(textLeft + iconSize + 6, static_cast<int>((client.right - nameSize.cx) / 2));
  if (icon && nameLeft + nameSize.cx < layout_.Minimise.Left) {
    DrawIconEx(dc, nameLeft - iconSize - MulDiv(6, dpi_, 96), nameRect.top + (close.Height - iconSize) / 2, icon, iconSize,
               iconSize, 0, nullptr, DI_NORMAL);
    nameRect.left = nameLeft;
    DrawTextW(dc, L"Quillmere", -1, &nameRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }

  SelectObject(dc, plain);
  for (std::size_t i = 0; i < titles_.size(); ++i) {
    RECT r = RectOf(titles_[i].Bounds);
    const bool open = static_cast<int>(i) == openMenu_;
    if (open || static_cast<int>(i) == hoverMenu_) FillColor(dc, r, open ? kPressed : kHover);
    DrawTextW(dc, titles_[i].Text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  SelectObject(dc, oldFont);
  DeleteObject(bold);
  DeleteObject(plain);

  for (FrameButton b : {FrameButton::Minimise, FrameButton::Maximise, FrameButton::Close}) {
    const RECT r = RectOf(BoundsOf(b));
    if (b == pressed_ && b == hover_) {
      FillColor(dc, r, kPressed);
    } else if (b == hover_) {
      FillColor(dc, r, b == FrameButton::Close ? kCloseHover : kHover);
    }
    DrawGlyph(dc, b, r, maximised, dpi_);
  }

  // The splitter: a raised bar with a grip of three dots in its middle.
  const RECT split = RectOf(splitter);
  FillColor(dc, split, RGB(200, 212, 216));
  const int dot = std::max(2, MulDiv(2, dpi_, 96));
  for (int i = -1; i <= 1; ++i) {
    const int y = (split.top + split.bottom) / 2 + i * dot * 3;
    const RECT d{(split.left + split.right - dot) / 2, y, (split.left + split.right + dot) / 2, y + dot};
    FillColor(dc, d, RGB(120, 140, 148));
  }

  if (!maximised) {
    // Grip marks in the corner: three short diagonals.
    const ControlBounds& c = layout_.CornerGrip;
    const int right = c.Left + c.Width - 2, bottom = c.Top + c.Height - 2;
    const int step = std::max(3, MulDiv(4, dpi_, 96));
    for (int i = 1; i <= 3; ++i) {
      Stroke(dc, RGB(130, 150, 156), 1, {{right - i * step, bottom}, {right, bottom - i * step}});
    }
  }
  HBRUSH border = CreateSolidBrush(kBorder);
  FrameRect(dc, &client, border);
  DeleteObject(border);
}

}  // namespace qm::ui
