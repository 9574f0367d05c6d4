#pragma once

#include <string>

#include "ui/model/form_resize_control.h"

namespace qm::testing {

/// A control's place as tests compare it: "left,top widthxheight".
inline std::string BoundsText(const ui::ControlBounds& b) {
  return std::to_string(b.Left) + "," + std::to_string(b.Top) + " " + std::to_string(b.Width) + "x" +
         std::to_string(b.Height);
}

}  // namespace qm::testing
