#include <gtest/gtest.h>

#include "platform/text_win32.h"
#include "support/dialog_driver.h"

namespace qm::testing {
namespace {

std::string g_caption;
std::function<void(HWND)> g_script;

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", text::Widen(g_caption).c_str());
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  const std::function<void(HWND)> script = std::move(g_script);
  script(dialog);
  if (::testing::Test::HasFatalFailure() && IsWindow(dialog)) EndDialog(dialog, IDCANCEL);
}

}  // namespace

void WhenDialogOpens(const std::string& caption, std::function<void(HWND dialog)> script) {
  g_caption = caption;
  g_script = std::move(script);
  SetTimer(nullptr, 0, 20, LookForDialog);
}

void RunPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Press(HWND dialog, int id) {
  SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
  RunPending();
}

std::string WindowText(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  return text::Narrow(text);
}

void SetText(HWND window, const std::string& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text::Widen(text).c_str()));
  RunPending();
}

std::vector<HTREEITEM> TreeItems(HWND tree) {
  std::vector<HTREEITEM> items;
  for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextVisible(tree, item)) {
    items.push_back(item);
  }
  return items;
}

std::string TreeChecks(HWND tree) {
  std::string checks;
  for (HTREEITEM item : TreeItems(tree)) {
    checks += TreeView_GetCheckState(tree, item) == 1 ? "1" : "0";
    if (checks.size() == 1) checks += ":";
  }
  return checks;
}

void ClickCheckBox(HWND tree, HTREEITEM item) {
  RECT label{};
  ASSERT_TRUE(TreeView_GetItemRect(tree, item, &label, TRUE));
  // The box lies left of the node's image: the first point left of the label that hits it.
  TVHITTESTINFO hit{};
  hit.pt.y = (label.top + label.bottom) / 2;
  for (hit.pt.x = label.left - 1; hit.pt.x >= 0; --hit.pt.x) {
    TreeView_HitTest(tree, &hit);
    if (hit.flags & TVHT_ONITEMSTATEICON) break;
  }
  ASSERT_GE(hit.pt.x, 0) << "no check box";
  const LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
  SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(tree, WM_LBUTTONUP, 0, at);
  RunPending();
}

void SelectRows(HWND list, const std::vector<int>& rows) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
}

}  // namespace qm::testing
