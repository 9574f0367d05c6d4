#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "clean/run_totals.h"
#include "ui/model/run_view.h"

namespace qm::ui {

/// Puts a result into a virtual trace list: `listed` takes its traces, `rows` how many the list shows (at most
/// `displayMaxRows` when that is above 0). Returns the status panels after it, with the selected row's text.
StatusPanels ShowTraces(HWND list, const RunTotals& totals, int32_t displayMaxRows,
                        std::shared_ptr<PrivacyValues>& listed, std::size_t& rows);

}  // namespace qm::ui
