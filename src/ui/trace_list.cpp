#include "ui/trace_list.h"

#include <commctrl.h>

namespace qm::ui {

StatusPanels ShowTraces(HWND list, const RunTotals& totals, int32_t displayMaxRows,
                        std::shared_ptr<PrivacyValues>& listed, std::size_t& rows) {
  listed = totals.Values;
  rows = listed ? ListedRows(totals.Count, displayMaxRows) : 0;
  ListView_SetItemCountEx(list, static_cast<int>(rows), 0);
  InvalidateRect(list, nullptr, TRUE);
  StatusPanels panels = FinishedPanels(totals);
  const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  if (listed && selected >= 0 && static_cast<std::size_t>(selected) < rows) {
    panels.Row = RowOf(*listed->Item(selected + 1)).Text;
  }
  return panels;
}

}  // namespace qm::ui
