#pragma once

// Windows only: drives the real windows of the desktop program from a test and reads their controls back.

#include <windows.h>
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

/// Lets the thread's messages run until `done` is true; false when 30 seconds pass first.
bool PumpUntil(const std::function<bool()>& done);

/// Each node of a tree view in display order: its text, indented by two blanks per level, then " [image
/// selected image]" by image index, and " *" when bold.
std::vector<std::string> TreeLines(HWND tree);

/// Each row of a list view: "text | second column | image index".
std::vector<std::string> ListLines(HWND list);

/// The four panels of a status bar.
std::vector<std::string> StatusTexts(HWND status);

/// A menu item's caption, and whether it is checked and enabled: "caption" + " [x]" when checked + " (off)"
/// when disabled.
std::string MenuItemText(HMENU menu, int id);

/// Runs `inside` while the next popup menu of this thread is open, then closes it.
void WhileMenuOpen(std::function<void()> inside);

}  // namespace qm::testing
