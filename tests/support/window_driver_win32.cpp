#include "support/window_driver.h"

#include <chrono>

#include "platform/text_win32.h"

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

bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

namespace {

void AddTreeLines(HWND tree, HTREEITEM item, int depth, std::vector<std::string>& lines) {
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

std::string ListText(HWND list, int row, int column) {
  wchar_t text[1024] = L"";
  ListView_GetItemText(list, row, column, text, 1024);
  return text::Narrow(text);
}

}  // namespace

std::vector<std::string> TreeLines(HWND tree) {
  std::vector<std::string> lines;
  AddTreeLines(tree, TreeView_GetRoot(tree), 0, lines);
  return lines;
}

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const int count = ListView_GetItemCount(list);
  for (int row = 0; row < count; ++row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    lines.push_back(ListText(list, row, 0) + " | " + ListText(list, row, 1) + " | " + std::to_string(item.iImage));
  }
  return lines;
}

std::vector<std::string> StatusTexts(HWND status) {
  std::vector<std::string> texts;
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

namespace {
std::function<void()> g_inside;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (g_inside) g_inside();
  g_inside = nullptr;
  EndMenu();
}
}  // namespace

void WhileMenuOpen(std::function<void()> inside) {
  g_inside = std::move(inside);
  SetTimer(nullptr, 0, 200, CloseMenu);
}

}  // namespace qm::testing
