#pragma once

#include <string>

namespace qm::ui {

/// The buttons and icon of a question or message.
enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptIcon { Exclamation, Question, Information };
enum class PromptAnswer { Ok, Cancel, Yes, No };

/// Every message box of the program goes through this seam: the window shows a real one, tests answer from a
/// script.
class Prompt {
 public:
  virtual ~Prompt() = default;
  /// Shows `text` under `caption`; destructive questions pass `defaultNo`.
  virtual PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons, PromptIcon icon,
                           bool defaultNo = false) = 0;
};

}  // namespace qm::ui
