#include "ui/model/frame_layout.h"

#include <gtest/gtest.h>

#include "support/bounds_text.h"
#include "support/lines.h"

namespace qm::testing {
namespace {

using namespace ui;

TEST(FrameLayout, TwipsScaleToEachMonitorAndTheSplitterAndGripsKeepTheirLimits) {
  const std::tuple<int, int, int> lengths[] = {{15, 96, 1},   {7, 96, 0},     {8, 96, 1},       {-8, 96, -1},
                                               {400, 96, 27}, {400, 192, 53}, {1440, 120, 120}, {2926, 96, 195}};
  for (const auto& [twips, dpi, pixels] : lengths) EXPECT_EQ(TwipsToPixels(twips, dpi), pixels) << twips << "@" << dpi;

  Lines layouts;
  for (int dpi : {96, 192}) {
    const FrameLayout f = LayOutFrame(800 * dpi / 96, 600 * dpi / 96, dpi);
    layouts.push_back(std::to_string(dpi) + " dpi, content top " + std::to_string(f.ContentTop));
    for (const ControlBounds& b :
         {f.TitleBar, f.Minimise, f.Maximise, f.Close, f.MenuTitles[0], f.MenuTitles[1], f.MenuTitles[2],
          f.MenuTitles[3], f.BottomGrip, f.RightGrip, f.CornerGrip, f.ShowButton, f.ClearButton, f.Status}) {
      layouts.push_back(BoundsText(b));
    }
    for (const OutlineShape& p : WindowOutline(640 * dpi / 96, 480 * dpi / 96, dpi)) {
      layouts.push_back((p.Shape == OutlineShape::Kind::Rectangle ? "R" : "E") + std::to_string(p.Left) + "," +
                        std::to_string(p.Top) + "," + std::to_string(p.Right) + "," + std::to_string(p.Bottom));
    }
  }
  EXPECT_EQ(Joined(layouts), Joined(FixtureLines("ui/frame_layouts.txt")));

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
