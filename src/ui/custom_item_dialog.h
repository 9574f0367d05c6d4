#pragma once

#include <windows.h>

#include "config/placeholders.h"
#include "config/privacy_item.h"
#include "ui/model/prompt.h"

namespace qm::ui {

/// What the Custom Item dialog defines or edits.
struct CustomItemArgs {
  /// Required: the item to define (a fresh one for Add) or to edit. Only OK writes it: title, type, seek
  /// settings and definition line; its check states, holds and software stay as they are.
  PrivacyItem* item = nullptr;
  Prompt* prompt = nullptr;  ///< required: the refusals, under "Custom Item"
  SpecialFolders folders;    ///< the placeholder folders the special-path lists offer (the engine's)
};

/// Shows the Custom Item dialog modally, owned by `owner`. True when OK wrote the item; false after Cancel
/// or close, with the item untouched.
bool ShowCustomItemDialog(HWND owner, const CustomItemArgs& args);

}  // namespace qm::ui
