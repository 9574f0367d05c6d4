#include "ui/model/frame_layout.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace qm::ui {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kDesignDpi = 96;

// The frame's designed lengths, in twips.
constexpr int kContentTop = 400;
constexpr int kTitleButtonTop = 120;
constexpr int kTitleButtonSize = 270;
constexpr int kTitleButtonsRightMargin = 240;
constexpr int kMenuTitlesLeft = 390;
constexpr int kMenuTitleTop = 125;
constexpr int kMenuTitleHeight = 240;
constexpr int kMenuTitleWidths[] = {465, 780, 615, 540};
constexpr int kBottomGripHeight = 240;
constexpr int kRightGripWidth = 135;
constexpr int kCommandWidth = 1200;
constexpr int kCommandHeight = 360;
constexpr int kCommandGap = 120;
constexpr int kSplitterLeftLimit = 2926;
constexpr int kSplitterRightLimit = 1000;
// The status bar's height in pixels at the design resolution.
constexpr int kStatusHeightPixels = 22;

/// `value` * `numerator` / `denominator` rounded to the nearest whole number, halves away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
  const int64_t product = static_cast<int64_t>(value) * numerator;
  const int64_t half = denominator / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

/// A designed pixel length on a monitor of `dpi`.
int ScalePixels(int pixels, int dpi) { return ScaleRounded(pixels, dpi, kDesignDpi); }

}  // namespace

int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }

FrameLayout LayOutFrame(int width, int height, int dpi) {
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  FrameLayout f;
  f.ContentTop = px(kContentTop);
  f.TitleBar = {0, 0, width, f.ContentTop};

  const int button = px(kTitleButtonSize);
  const int buttonsRight = width - px(kTitleButtonsRightMargin);
  f.Minimise = {buttonsRight - 3 * button, px(kTitleButtonTop), button, button};
  f.Maximise = {buttonsRight - 2 * button, px(kTitleButtonTop), button, button};
  f.Close = {buttonsRight - button, px(kTitleButtonTop), button, button};

  // Each title's edges are converted from the running sum of the widths, so no rounding opens a gap.
  int edge = kMenuTitlesLeft;
  for (std::size_t i = 0; i < std::size(kMenuTitleWidths); ++i) {
    const int next = edge + kMenuTitleWidths[i];
    f.MenuTitles[i] = {px(edge), px(kMenuTitleTop), px(next) - px(edge),
                       px(kMenuTitleTop + kMenuTitleHeight) - px(kMenuTitleTop)};
    edge = next;
  }

  const int gripWidth = px(kRightGripWidth);
  const int gripHeight = px(kBottomGripHeight);
  f.BottomGrip = {0, height - gripHeight, width - gripWidth, gripHeight};
  f.RightGrip = {width - gripWidth, f.ContentTop, gripWidth, height - gripHeight - f.ContentTop};
  f.CornerGrip = {width - gripWidth, height - gripHeight, gripWidth, gripHeight};

  const int statusHeight = ScalePixels(kStatusHeightPixels, dpi);
  f.Status = {0, height - gripHeight - statusHeight, width - gripWidth, statusHeight};

  const int commandWidth = px(kCommandWidth);
  const int commandHeight = px(kCommandHeight);
  const int gap = px(kCommandGap);
  f.ClearButton = {width - gripWidth - gap - commandWidth, f.Status.Top - gap - commandHeight, commandWidth,
                   commandHeight};
  f.ShowButton = {f.ClearButton.Left - gap - commandWidth, f.ClearButton.Top, commandWidth, commandHeight};
  return f;
}

std::vector<OutlineShape> WindowOutline(int width, int height, int dpi) {
  const auto s = [dpi](int pixels) { return ScalePixels(pixels, dpi); };
  const int w = width;
  const int h = height;
  using Kind = OutlineShape::Kind;
  return {
      {Kind::Rectangle, 0, s(26), w, h - s(26)},    {Kind::Rectangle, s(23), 0, w - s(23), h},
      {Kind::Rectangle, s(23), s(52), w, h - s(6)}, {Kind::Rectangle, s(52), s(52), w - s(6), h},
      {Kind::Ellipse, 0, 0, s(52), s(52)},          {Kind::Ellipse, w - s(50), 0, w + s(1), s(52)},
      {Kind::Ellipse, 0, h - s(52), s(52), h},      {Kind::Ellipse, w - s(9), h - s(9), w, h},
  };
}

std::optional<int> SplitterLeftFor(int x, int grabOffset, int windowWidth, int dpi) {
  // Compared in twips times dpi, so no rounding lets the bar a pixel nearer to either edge.
  const int64_t fromLeft = static_cast<int64_t>(x) * kTwipsPerInch;
  const int64_t fromRight = static_cast<int64_t>(windowWidth - x) * kTwipsPerInch;
  if (fromLeft < static_cast<int64_t>(kSplitterLeftLimit) * dpi) return std::nullopt;
  if (fromRight < static_cast<int64_t>(kSplitterRightLimit) * dpi) return std::nullopt;
  return x + grabOffset;
}

int GripSize(int dragged, int minimum) { return std::max(dragged, minimum); }

}  // namespace qm::ui
