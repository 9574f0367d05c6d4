#include "ui/check_list.h"

#include <commctrl.h>

#include "platform/text_win32.h"

namespace qm::ui {

CheckList::CheckList(HWND dialog, int id, std::initializer_list<std::pair<const char*, int>> columns)
    : list_(GetDlgItem(dialog, id)) {
  ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  int index = 0;
  for (const auto& [title, width] : columns) {
    RECT units{0, 0, width, 0};
    MapDialogRect(dialog, &units);
    std::wstring text = text::Widen(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = units.right;
    ListView_InsertColumn(list_, index++, &column);
  }
}

int CheckList::Count() const { return ListView_GetItemCount(list_); }

int CheckList::Add(const std::vector<std::string>& texts, bool checked) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = Count();
  std::wstring first = text::Widen(texts.empty() ? "" : texts[0]);
  item.pszText = first.data();
  const int row = ListView_InsertItem(list_, &item);
  Set(row, texts, checked);
  return row;
}

void CheckList::Set(int row, const std::vector<std::string>& texts, bool checked) {
  for (std::size_t column = 0; column < texts.size(); ++column) {
    std::wstring text = text::Widen(texts[column]);
    ListView_SetItemText(list_, row, static_cast<int>(column), text.data());
  }
  ListView_SetCheckState(list_, row, checked);
}

void CheckList::Remove(int row) { ListView_DeleteItem(list_, row); }

void CheckList::Clear() { ListView_DeleteAllItems(list_); }

std::vector<bool> CheckList::Checks() const {
  std::vector<bool> checks;
  for (int row = 0; row < Count(); ++row) checks.push_back(ListView_GetCheckState(list_, row) != 0);
  return checks;
}

void CheckList::CheckAll(bool checked) {
  for (int row = 0; row < Count(); ++row) ListView_SetCheckState(list_, row, checked);
}

std::vector<bool> CheckList::Highlighted() const {
  std::vector<bool> highlighted;
  for (int row = 0; row < Count(); ++row) {
    highlighted.push_back(ListView_GetItemState(list_, row, LVIS_SELECTED) != 0);
  }
  return highlighted;
}

int CheckList::Selection() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

void CheckList::Select(int row) {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, row, FALSE);
}

}  // namespace qm::ui
