#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "clean/engine.h"
#include "config/privacy_config.h"
#include "config/privacy_item.h"
#include "ui/model/prompt.h"

namespace qm::ui {

/// What the Custom Maker window works on.
struct CustomMakerArgs {
  /// The custom configuration to fill in: a new one (without a name yet) or an existing one. Only OK writes it,
  /// with the lines of a custom configuration file; saving them is the opener's business.
  PrivacyConfig& config;
  Engine& engine;              ///< searches the preview; nothing is erased or logged
  Prompt& prompt;              ///< the refusals and questions, under "Custom Maker"
  int32_t displayMaxRows = 0;  ///< "Display Max Rows": the list shows at most this many rows; 0 for all
  /// Required: opens the Custom Item dialog, owned by `owner`, on `item`: a fresh one for Add (`isNew`), or the
  /// item to edit for Detail. True when its OK wrote the item.
  std::function<bool(HWND owner, PrivacyItem& item, bool isNew)> openItem;
};

/// Shows the Custom Maker window ("Custom Privacy") modally, owned by `owner`: the configuration's name,
/// description and items, which are added, edited, deleted, ticked and previewed on a working copy. True when
/// OK filled the configuration; false after Cancel or close, with the configuration untouched.
bool ShowCustomMakerDialog(HWND owner, const CustomMakerArgs& args);

}  // namespace qm::ui
