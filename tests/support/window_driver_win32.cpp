#include <gtest/gtest.h>

#include <chrono>

#include "platform/text_win32.h"
#include "support/lines.h"
#include "support/window_driver.h"

namespace qm::testing {

ui::PromptAnswer ScriptedPrompt::Ask(const std::string& caption, const std::string& text, ui::PromptButtons buttons,
                                     ui::PromptIcon, bool) {
  asked.push_back(caption + "|" + text);
  if (onAsk) onAsk();
  if (!answers.empty()) {
    const ui::PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return buttons == ui::PromptButtons::Ok ? ui::PromptAnswer::Ok : ui::PromptAnswer::No;
}

namespace {

std::string g_caption;
std::function<void(HWND)> g_script;
std::function<void()> g_inside;

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", text::Widen(g_caption).c_str());
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  const std::function<void(HWND)> script = std::move(g_script);
  script(dialog);
  if (::testing::Test::HasFailure() && IsWindow(dialog)) EndDialog(dialog, IDCANCEL);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (g_inside) g_inside();
  g_inside = nullptr;
  EndMenu();
}

void AddTreeLines(HWND tree, HTREEITEM item, int depth, Lines& lines) {
  for (; item; item = TreeView_GetNextSibling(tree, item)) {
    wchar_t text[512] = L"";
    TVITEMW info{};
    info.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = 512;
    info.stateMask = TVIS_BOLD;
    TreeView_GetItem(tree, &info);
    lines.push_back(std::string(2 * depth, ' ') + text::Narrow(text) + " [" + std::to_string(info.iImage) + " " +
                    std::to_string(info.iSelectedImage) + "]" + ((info.state & TVIS_BOLD) ? " *" : ""));
    AddTreeLines(tree, TreeView_GetChild(tree, item), depth + 1, lines);
  }
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

bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    RunPending();
  }
  return true;
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

Lines TreeLines(HWND tree) {
  Lines lines;
  AddTreeLines(tree, TreeView_GetRoot(tree), 0, lines);
  return lines;
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

Lines ListLines(HWND list, int columns) {
  Lines lines;
  const bool images = ListView_GetImageList(list, LVSIL_SMALL) != nullptr;
  const bool boxes = ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES;
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      wchar_t text[1024] = L"";
      ListView_GetItemText(list, row, column, text, 1024);
      line += (column > 0 ? " | " : "") + text::Narrow(text);
    }
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    if (images) line += " | " + std::to_string(item.iImage);
    lines.push_back(line + (boxes && ListView_GetCheckState(list, row) ? " [x]" : ""));
  }
  return lines;
}

void SelectRows(HWND list, const std::vector<int>& rows) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
}

Lines StatusTexts(HWND status) {
  Lines texts;
  for (int panel = 0; panel < 4; ++panel) {
    wchar_t text[1024] = L"";
    SendMessageW(status, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text));
    texts.push_back(text::Narrow(text));
  }
  return texts;
}

std::string MenuItemText(HMENU menu, int id) {
  wchar_t caption[256] = L"";
  GetMenuStringW(menu, id, caption, 256, MF_BYCOMMAND);
  const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
  return text::Narrow(caption) + ((state & MF_CHECKED) ? " [x]" : "") + ((state & MF_GRAYED) ? " (off)" : "");
}

void WhileMenuOpen(std::function<void()> inside) {
  g_inside = std::move(inside);
  SetTimer(nullptr, 0, 200, CloseMenu);
}

}  // namespace qm::testing
