#pragma once

// Windows only: reads back a list view with check boxes.

#include <string>
#include <vector>

#include "platform/text_win32.h"
#include "support/dialog_driver.h"

namespace qm::testing {

/// Each row of a list view with check boxes: its columns' texts joined by " | ", then " [x]" when ticked.
inline std::vector<std::string> CheckedRows(HWND list, int columns) {
  std::vector<std::string> rows;
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      wchar_t text[512] = L"";
      ListView_GetItemText(list, row, column, text, 512);
      line += (column > 0 ? " | " : "") + text::Narrow(text);
    }
    rows.push_back(line + (ListView_GetCheckState(list, row) ? " [x]" : ""));
  }
  return rows;
}

}  // namespace qm::testing
