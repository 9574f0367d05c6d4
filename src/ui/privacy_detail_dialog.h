#pragma once

#include <windows.h>

#include <cstdint>

#include "clean/engine.h"
#include "config/privacy_config.h"
#include "ui/model/prompt.h"

namespace qm::ui {

/// What the Privacy Detail window works on.
struct PrivacyDetailArgs {
  PrivacyConfig& config;       ///< the opener's working copy: OK writes its ticks and hold lists back into it
  Engine& engine;              ///< searches the preview; nothing is erased or logged
  Prompt& prompt;              ///< the refusals and errors, under "Privacy Detail"
  int32_t displayMaxRows = 0;  ///< "Display Max Rows": the list shows at most this many rows; 0 for all
};

/// Shows the Privacy Detail window modally, owned by `owner`: the configuration and its items as a ticked tree,
/// a preview of what the selected node finds, and the hold lists of the items that keep one. True when OK wrote
/// the ticks and hold lists back; false after Cancel or close, with the configuration untouched.
bool ShowPrivacyDetailDialog(HWND owner, const PrivacyDetailArgs& args);

}  // namespace qm::ui
