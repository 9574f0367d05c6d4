#pragma once

// Windows only: drives the real windows and modal dialogs of the desktop program from a test and reads their
// controls back.

#include <windows.h>
// The common controls need what windows.h declares.
#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/model/prompt.h"

namespace qm::testing {

/// Answers every message box from a script and keeps what was asked: "caption|text" per question.
class ScriptedPrompt : public ui::Prompt {
 public:
  ui::PromptAnswer Ask(const std::string& caption, const std::string& text, ui::PromptButtons buttons,
                       ui::PromptIcon icon, bool defaultNo) override;

  /// The answers of the next questions, in order; when they run out, OK questions get Ok and the others No.
  std::deque<ui::PromptAnswer> answers;
  std::vector<std::string> asked;
  /// Called with each question before it is answered.
  std::function<void()> onAsk;
};

/// Runs `script` with the dialog captioned `caption` as soon as it is open, from inside its modal loop (a test
/// calls this right before the call that shows the dialog). A script that ends after a failed check leaves the
/// dialog cancelled, so the test does not hang.
void WhenDialogOpens(const std::string& caption, std::function<void(HWND dialog)> script);

/// Lets the thread's pending messages run.
void RunPending();
/// Lets the thread's messages run until `done` is true; false when 30 seconds pass first.
bool PumpUntil(const std::function<bool()>& done);

/// Presses a button of a dialog and lets what it posted run.
void Press(HWND dialog, int id);

/// A window's text.
std::string WindowText(HWND window);
/// Sets a window's text, as typing it does.
void SetText(HWND window, const std::string& text);

/// Each node of a tree view in display order: its text, indented by two blanks per level, then " [image
/// selected image]" by image index, and " *" when bold.
std::vector<std::string> TreeLines(HWND tree);
/// The nodes of a tree view in display order.
std::vector<HTREEITEM> TreeItems(HWND tree);
/// The check boxes of a tree view in display order: "1" ticked, "0" not, the first followed by ":".
std::string TreeChecks(HWND tree);
/// Clicks a node's check box the way the mouse does, and lets what that posted run.
void ClickCheckBox(HWND tree, HTREEITEM item);

/// Each row of a list view: its first `columns` columns' texts joined by " | ", then " | " and its image index
/// when the list shows images, and " [x]" when its check box is ticked.
std::vector<std::string> ListLines(HWND list, int columns = 2);
/// Selects exactly the given rows of a list view.
void SelectRows(HWND list, const std::vector<int>& rows);

/// The four panels of a status bar.
std::vector<std::string> StatusTexts(HWND status);

/// A menu item's caption, and whether it is checked and enabled: "caption" + " [x]" when checked + " (off)"
/// when disabled.
std::string MenuItemText(HMENU menu, int id);

/// Runs `inside` while the next popup menu of this thread is open, then closes it.
void WhileMenuOpen(std::function<void()> inside);

}  // namespace qm::testing
