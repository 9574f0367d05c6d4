#include "ui/model/frame_layout.h"

#include <gtest/gtest.h>

#include "support/bounds_text.h"

namespace qm::testing {
namespace {

using namespace ui;

TEST(FrameLayout, TwipsScaleToThePixelsOfEachMonitor) {
  const std::tuple<int, int, int> lengths[] = {{15, 96, 1},   {7, 96, 0},     {8, 96, 1},       {-8, 96, -1},
                                               {400, 96, 27}, {400, 192, 53}, {1440, 120, 120}, {2926, 96, 195}};
  for (const auto& [twips, dpi, pixels] : lengths) EXPECT_EQ(TwipsToPixels(twips, dpi), pixels) << twips << "@" << dpi;

  // A window of 800 x 600 pixels at 96 dpi and of twice that at 192: title bar, minimise, maximise, close,
  // the four menu titles, bottom, right and corner grips, Show, Clear, status bar, and the content's top.
  const std::pair<int, const char*> frames[] = {
      {96,
       "0,0 800x27|730,8 18x18|748,8 18x18|766,8 18x18|26,8 31x16|57,8 52x16|109,8 41x16|150,8 36x16|"
       "0,584 791x16|791,27 9x557|791,584 9x16|615,530 80x24|703,530 80x24|0,562 791x22|27"},
      {192,
       "0,0 1600x53|1460,16 36x36|1496,16 36x36|1532,16 36x36|52,17 62x32|114,17 104x32|218,17 82x32|"
       "300,17 72x32|0,1168 1582x32|1582,53 18x1115|1582,1168 18x32|1230,1060 160x48|1406,1060 160x48|"
       "0,1124 1582x44|53"},
  };
  for (const auto& [dpi, expected] : frames) {
    const FrameLayout f = LayOutFrame(800 * dpi / 96, 600 * dpi / 96, dpi);
    std::string parts;
    for (const ControlBounds& b :
         {f.TitleBar, f.Minimise, f.Maximise, f.Close, f.MenuTitles[0], f.MenuTitles[1], f.MenuTitles[2],
          f.MenuTitles[3], f.BottomGrip, f.RightGrip, f.CornerGrip, f.ShowButton, f.ClearButton, f.Status}) {
      parts += BoundsText(b) + "|";
    }
    EXPECT_EQ(parts + std::to_string(f.ContentTop), expected) << dpi;
  }
}

TEST(FrameLayout, TheOutlineScalesAndTheSplitterAndGripsKeepTheirLimits) {
  // Each piece as "R" for a rectangle or "E" for an ellipse, then left, top, right and bottom.
  const auto pieces = [](int width, int height, int dpi) {
    std::string text;
    for (const OutlineShape& p : WindowOutline(width, height, dpi)) {
      text += (p.Shape == OutlineShape::Kind::Rectangle ? "R" : "E") + std::to_string(p.Left) + "," +
              std::to_string(p.Top) + "," + std::to_string(p.Right) + "," + std::to_string(p.Bottom) + " ";
    }
    return text;
  };
  EXPECT_EQ(pieces(640, 480, 96),
            "R0,26,640,454 R23,0,617,480 R23,52,640,474 R52,52,634,480 E0,0,52,52 E590,0,641,52 E0,428,52,480 "
            "E631,471,640,480 ");
  EXPECT_EQ(pieces(1280, 960, 192),
            "R0,52,1280,908 R46,0,1234,960 R46,104,1280,948 R104,104,1268,960 E0,0,104,104 E1180,0,1282,104 "
            "E0,856,104,960 E1262,942,1280,960 ");

  // 2926 twips from the left edge and 1000 from the right are 195.07 and 66.67 pixels at 96 dpi.
  const std::tuple<int, int, int, int, std::optional<int>> drags[] = {
      {195, -3, 800, 96, {}},  {196, -3, 800, 96, 193},  {733, 2, 800, 96, 735},     {734, 2, 800, 96, {}},
      {390, 0, 1600, 192, {}}, {391, 0, 1600, 192, 391}, {1466, 0, 1600, 192, 1466}, {1467, 0, 1600, 192, {}}};
  for (const auto& [x, grab, width, dpi, left] : drags) {
    EXPECT_EQ(SplitterLeftFor(x, grab, width, dpi), left) << x << " in " << width << "@" << dpi;
  }
  EXPECT_EQ(GripSize(479, 480), 480);
  EXPECT_EQ(GripSize(480, 480), 480);
  EXPECT_EQ(GripSize(481, 480), 481);
}

}  // namespace
}  // namespace qm::testing
