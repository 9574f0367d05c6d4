#include "ui/model/form_resize_control.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/error.h"
#include "support/bounds_text.h"
#include "support/lines.h"
#include "support/raised_error.h"

namespace qm::testing {
namespace {

using ui::ControlBounds;
using ui::FormResizeControl;

/// A form of controls numbered by the test; moving a control in `stuck` raises.
class FakeForm : public ui::ResizableForm {
 public:
  int Width() const override { return width; }
  int Height() const override { return height; }
  void SetWidth(int w) override { width = w; }
  void SetHeight(int h) override { height = h; }
  bool IsMdiChild() const override { return mdiChild; }
  ControlBounds Bounds(int control) const override { return controls.at(control); }
  void Move(int control, const ControlBounds& bounds) override {
    if (stuck.count(control)) throw RuntimeError(380, "Form", "Invalid property value");
    controls[control] = bounds;
  }
  /// "width x height", then each control as "left,top width x height".
  std::string Looks() const {
    std::string looks = std::to_string(width) + "x" + std::to_string(height);
    for (const auto& [id, b] : controls) looks += " | " + BoundsText(b);
    return looks;
  }

  int width = 9600;
  int height = 7200;
  bool mdiChild = false;
  std::map<int, ControlBounds> controls;
  std::set<int> stuck;
};

TEST(FormResizeControl, EachStyleKeepsItsMarginsOrCentreAsTheFormGrows) {
  constexpr ControlBounds kAdded{1000, 500, 2001, 1001};
  for (const auto& [styleText, grown] : FixtureCases("ui/resize_styles.txt")) {
    const int style = std::stoi(styleText);
    FakeForm form;
    form.controls[1] = kAdded;
    FormResizeControl resize;
    resize.Initialize(form);
    resize.SetResizeStyle(style, {1});
    resize.AutoResize();
    EXPECT_EQ(form.controls[1], kAdded) << "style " << style << " at the size it was added at";
    form.width += 600;
    form.height += 400;
    resize.AutoResize();
    EXPECT_EQ(BoundsText(form.controls[1]), grown) << "style " << style;
  }
}

TEST(FormResizeControl, TheFormKeepsItsMinimumAndControlsComeAndGo) {
  FakeForm form;
  form.controls = {{1, {1000, 1000, 100, 100}}, {2, {1000, 1000, 100, 100}}, {3, {1000, 1000, 100, 100}}};
  FormResizeControl resize;
  const std::string error = "100|FormResizeControl(user defined class)|";
  const std::string notInitialized = error + "FormResizeControl initialization failed or not initialize it.";
  EXPECT_EQ(RaisedError([&] { resize.SetResizeStyle(1, {1}); }), notInitialized);
  EXPECT_EQ(RaisedError([&] { resize.AutoResize(); }), notInitialized);
  form.mdiChild = true;
  EXPECT_EQ(RaisedError([&] { resize.Initialize(form, 9600); }), error + "MDI Child Form must set the initial size");
  form.mdiChild = false;
  resize.Initialize(form, std::nullopt, 7200);

  // Control 1 twice, the stuck control 2 between its records, control 3 last: every one that can move does,
  // in a form set back to its initial width. A removed control stays where it is.
  resize.SetResizeStyle(1, {1, 2});
  resize.SetResizeStyle(6, {1, 3});
  form.stuck.insert(2);
  form.width = 8000;
  form.height = 9500;
  resize.AutoResize();
  EXPECT_EQ(form.Looks(), "9600x9500 | 1000,3300 100x100 | 1000,1000 100x100 | 1000,3300 100x100");

  EXPECT_EQ(resize.RemoveResizeControl(1), 2);
  EXPECT_EQ(resize.RemoveResizeControl(1), 0);
  form.stuck.clear();
  form.width = 10000;
  form.height = 6000;
  resize.AutoResize();
  EXPECT_EQ(form.Looks(), "10000x7200 | 1000,3300 100x100 | 1000,1000 500x100 | 1000,1000 100x100");
}

}  // namespace
}  // namespace qm::testing
