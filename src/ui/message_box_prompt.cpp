#include "ui/message_box_prompt.h"

#include "platform/text_win32.h"

namespace qm::ui {

PromptAnswer MessageBoxPrompt::Ask(const std::string& caption, const std::string& text, PromptButtons buttons,
                                   PromptIcon icon, bool defaultNo) {
  UINT style = buttons == PromptButtons::YesNo      ? MB_YESNO
               : buttons == PromptButtons::OkCancel ? MB_OKCANCEL
                                                    : MB_OK;
  style |= icon == PromptIcon::Exclamation ? MB_ICONEXCLAMATION
           : icon == PromptIcon::Question  ? MB_ICONQUESTION
                                           : MB_ICONINFORMATION;
  if (defaultNo) style |= MB_DEFBUTTON2;
  switch (MessageBoxW(owner_, text::Widen(text).c_str(), text::Widen(caption).c_str(), style)) {
    case IDYES: return PromptAnswer::Yes;
    case IDNO: return PromptAnswer::No;
    case IDCANCEL: return PromptAnswer::Cancel;
    default: return PromptAnswer::Ok;
  }
}

}  // namespace qm::ui
