#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "config/privacy_configs.h"
#include "ui/model/prompt.h"

namespace qm::ui {

/// What the Custom List window works on.
struct CustomListArgs {
  /// Required: the program's catalogue. The window edits copies of its custom configurations; "Apply" and
  /// "OK" put them in place of the catalogue's custom configurations and save it.
  PrivacyConfigs* catalogue = nullptr;
  std::string catalogueFile;  ///< where "Apply" and "OK" save the catalogue
  Prompt* prompt = nullptr;   ///< required: questions and refusals, under "Custom List"
  /// Opens the Custom Maker, owned by `owner`, on `working`: a new configuration (`isNew`) for "Add New", a
  /// row's for "Detail". True when it closed with OK, having filled `working`.
  std::function<bool(HWND owner, PrivacyConfig& working, bool isNew)> openMaker;
  /// Rebuilds the main window's tree after "Apply" or "OK" changed the catalogue.
  std::function<void()> rebuildTree;
  /// The file "Export" writes, "" when the user cancels. Empty: the system's save dialog asks.
  std::function<std::string(HWND owner)> chooseExportFile;
};

/// Shows the Custom List window modally, owned by `owner`, until "OK" (after a successful apply), "Cancel" or
/// close. A failing apply or export is reported through the prompt and keeps the window open.
void ShowCustomListDialog(HWND owner, const CustomListArgs& args);

}  // namespace qm::ui
