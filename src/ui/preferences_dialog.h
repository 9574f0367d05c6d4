#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "config/privacy_configs.h"
#include "platform/registry_backend.h"
#include "settings/system_settings.h"
#include "ui/model/preferences_work.h"
#include "ui/model/prompt.h"

namespace qm::ui {

/// What Preferences opens on. The dialog edits copies of its own; only "Apply" and "OK" write, and then the
/// settings (to the registry) and the catalogue (to its file) both.
struct PreferencesArgs {
  const PrivacyConfigs* catalogue = nullptr;  ///< required: read at opening, never changed
  SystemSettings settings;                    ///< what the pages show at opening
  reg::RegistryBackend* registry = nullptr;   ///< required: the settings, and the browser's pages for "Apply to IE"
  SettingsRoots roots;                        ///< where the settings are written
  std::string catalogueFile;                  ///< where the catalogue is saved
  Prompt* prompt = nullptr;                   ///< required: the delete question and failures
  /// Opens the Privacy Detail window, owned by `owner`, on a working copy; true when it closed with OK. The
  /// Windows and Internet Explorer pages' "Advance..." and the lists' "Detail" and double clicks call it.
  std::function<bool(HWND owner, PrivacyConfig& working)> openDetail;
};

/// Shows Preferences modally, owned by `owner`, until "OK" (after a successful apply), "Cancel" or close.
/// Returns what the last successful "Apply" or "OK" wrote, whatever closed the dialog: the main window takes
/// the settings and the catalogue from it and rebuilds its tree when there is a catalogue. A failing apply is
/// reported through the prompt, under "Preferences", and keeps the dialog open.
AppliedPreferences ShowPreferencesDialog(HWND owner, const PreferencesArgs& args);

}  // namespace qm::ui
