#pragma once

#include <windows.h>

#include "ui/model/run_view.h"

namespace qm::ui {

/// Shows the four panels in a status bar: panels 1 to 3 as wide as their texts in the bar's font at `dpi`,
/// panel 4 taking the rest.
void SetStatusPanels(HWND status, const StatusPanels& panels, int dpi);

}  // namespace qm::ui
