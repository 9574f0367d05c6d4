#pragma once

#include <windows.h>

#include "ui/model/prompt.h"

namespace qm::ui {

/// Questions and messages as message boxes owned by a window.
class MessageBoxPrompt : public Prompt {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons, PromptIcon icon,
                   bool defaultNo) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace qm::ui
