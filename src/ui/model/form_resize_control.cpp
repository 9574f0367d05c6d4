#include "ui/model/form_resize_control.h"

#include "platform/error.h"

namespace qm::ui {

namespace {

constexpr int32_t kErrorNumber = 100;
constexpr char kErrorSource[] = "FormResizeControl(user defined class)";

/// Half of `length`, rounded down. Measuring and applying a centred offset halve the same way, so a form
/// resized to the size it had when the control was added puts the control back where it was.
int Half(int length) { return length >= 0 ? length / 2 : -((1 - length) / 2); }

/// What a style keeps: the right margin, the bottom margin, or the centre, and whether it stretches the
/// control or moves it.
struct Anchors {
  bool StretchRight = false, StretchBottom = false;
  bool MoveRight = false, MoveBottom = false;
  bool CentreHorizontally = false, CentreVertically = false;
};

Anchors AnchorsOf(int style) {
  switch (style) {
    case 1: return {.StretchRight = true};
    case 2: return {.StretchRight = true, .StretchBottom = true};
    case 3: return {.StretchBottom = true};
    case 4: return {.CentreHorizontally = true};
    case 5: return {.MoveBottom = true, .CentreHorizontally = true};
    case 6: return {.MoveBottom = true};
    case 7: return {.MoveRight = true};
    case 8: return {.MoveRight = true, .CentreVertically = true};
    case 9: return {.CentreVertically = true};
    default: return {};
  }
}

}  // namespace

void FormResizeControl::Initialize(ResizableForm& form, std::optional<int> width, std::optional<int> height) {
  if (form.IsMdiChild() && (!width || !height)) {
    throw RuntimeError(kErrorNumber, kErrorSource, "MDI Child Form must set the initial size");
  }
  form_ = &form;
  initialWidth_ = width.value_or(form.Width());
  initialHeight_ = height.value_or(form.Height());
  records_.clear();
}

void FormResizeControl::SetResizeStyle(int style, const std::vector<int>& controls) {
  RequireInitialized();
  const int width = form_->Width();
  const int height = form_->Height();
  const Anchors anchors = AnchorsOf(style);
  for (int control : controls) {
    const ControlBounds b = form_->Bounds(control);
    Record record{control, style, 0, 0};
    if (anchors.StretchRight || anchors.MoveRight) record.Horizontal = width - b.Left - b.Width;
    if (anchors.CentreHorizontally) record.Horizontal = Half(width - b.Width) - b.Left;
    if (anchors.StretchBottom || anchors.MoveBottom) record.Vertical = height - b.Top - b.Height;
    if (anchors.CentreVertically) record.Vertical = Half(height - b.Height) - b.Top;
    records_.push_back(record);
  }
}

int FormResizeControl::RemoveResizeControl(int control) {
  const auto removed = std::erase_if(records_, [control](const Record& r) { return r.Control == control; });
  return static_cast<int>(removed);
}

void FormResizeControl::AutoResize() {
  RequireInitialized();
  if (form_->Width() < initialWidth_) form_->SetWidth(initialWidth_);
  if (form_->Height() < initialHeight_) form_->SetHeight(initialHeight_);
  const int width = form_->Width();
  const int height = form_->Height();
  for (const Record& record : records_) {
    const Anchors anchors = AnchorsOf(record.Style);
    // A control that cannot be placed stays where it is; the others are still placed.
    try {
      ControlBounds b = form_->Bounds(record.Control);
      if (anchors.StretchRight) b.Width = width - b.Left - record.Horizontal;
      if (anchors.MoveRight) b.Left = width - b.Width - record.Horizontal;
      if (anchors.CentreHorizontally) b.Left = Half(width - b.Width) - record.Horizontal;
      if (anchors.StretchBottom) b.Height = height - b.Top - record.Vertical;
      if (anchors.MoveBottom) b.Top = height - b.Height - record.Vertical;
      if (anchors.CentreVertically) b.Top = Half(height - b.Height) - record.Vertical;
      form_->Move(record.Control, b);
    } catch (const RuntimeError&) {
    }
  }
}

void FormResizeControl::RequireInitialized() const {
  if (!form_)
    throw RuntimeError(kErrorNumber, kErrorSource, "FormResizeControl initialization failed or not initialize it.");
}

}  // namespace qm::ui
