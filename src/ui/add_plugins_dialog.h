#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "clean/engine.h"
#include "ui/model/prompt.h"

namespace qm::ui {

/// What the plug-in update window works on.
struct AddPluginsArgs {
  /// Required: its catalogue gets the ticked configurations; its folders and registry expand the files' paths.
  Engine* engine = nullptr;
  std::string catalogueFile;  ///< where "Add Selected" saves the catalogue
  std::string pluginsFolder;  ///< the folder whose plug-in files are offered; only read
  Prompt* prompt = nullptr;   ///< required: questions, refusals and the files that could not be read
  /// Rebuilds the main window's tree after "Add Selected" changed the catalogue.
  std::function<void()> rebuildTree;
};

/// Shows the plug-in update window modally, owned by `owner`, scanning the folder at once, until "Close".
void ShowAddPluginsDialog(HWND owner, const AddPluginsArgs& args);

}  // namespace qm::ui
