#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace qm::ui {

/// A control's place on its form, in the form's units.
struct ControlBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  friend bool operator==(const ControlBounds&, const ControlBounds&) = default;
};

/// The form whose controls are kept anchored: its size and its controls' places, read and set.
class ResizableForm {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  virtual bool IsMdiChild() const { return false; }
  virtual ControlBounds Bounds(int control) const = 0;
  /// Raises when the control cannot be moved; the resize goes on with the next one.
  virtual void Move(int control, const ControlBounds& bounds) = 0;
  virtual ~ResizableForm() = default;
};

/// Keeps chosen controls at their distances from the form's edges or centres as the form is resized, and the
/// form at least its initial size. Styles 1 to 9: 1 right margin, 2 right and bottom margins, 3 bottom margin
/// (all three stretch the control), 4 horizontal centre, 5 horizontal centre and bottom margin, 6 bottom
/// margin, 7 right margin (these move it), 8 right margin and vertical centre, 9 vertical centre.
class FormResizeControl {
 public:
  /// Takes the form's initial size (its current size for a size not given) and forgets every record. An MDI
  /// child needs both sizes: error 100 "MDI Child Form must set the initial size".
  void Initialize(ResizableForm& form, std::optional<int> width = {}, std::optional<int> height = {});

  /// Measures each control's offsets for `style` now and keeps a record of it (a style outside 1 to 9 keeps
  /// the control where it is). Error 100 "FormResizeControl initialization failed or not initialize it."
  /// before a successful Initialize.
  void SetResizeStyle(int style, const std::vector<int>& controls);

  /// Forgets every record of `control`; returns how many there were.
  int RemoveResizeControl(int control);

  /// Sets the form back to its initial width or height where it is smaller, then applies every record in the
  /// order they were made; a control that cannot be moved is skipped. Error 100 before Initialize.
  void AutoResize();

 private:
  struct Record {
    int Control = 0;
    int Style = 0;
    int Horizontal = 0;
    int Vertical = 0;
  };

  void RequireInitialized() const;

  ResizableForm* form_ = nullptr;
  int initialWidth_ = 0;
  int initialHeight_ = 0;
  std::vector<Record> records_;
};

}  // namespace qm::ui
