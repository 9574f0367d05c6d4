#pragma once

#include "platform/registry_backend.h"
#include "settings/system_settings.h"

namespace qm::ui {

/// Which of the settings a menu command changed.
enum class MenuSetting { RunOnStartup, TurnOffAutoComplete, Monitor, Schedule, FileLogging };

/// The menus' check marks that carry settings.
struct MenuChecks {
  bool RunOnStartup = false;
  bool TurnOffAutoComplete = false;
  bool Monitor = false;
  bool ScheduleInterval = false;
  bool ScheduleDaily = false;
  bool FileLogging = false;
};

/// Takes the one setting `which` from the check marks into `settings` and writes only that value into the
/// settings key (made when missing), with its effect outside the program: the Run value written or deleted
/// for RunOnStartup, the browser's three FormSuggest values for TurnOffAutoComplete. The schedule type is
/// "interval" when its mark is set, else "daily" when that one is, else "none". Registry failures raise.
void ApplyMenuSettings(reg::RegistryBackend& registry, SystemSettings& settings, MenuSetting which,
                       const MenuChecks& checks, const SettingsRoots& roots = SettingsRoots{});

}  // namespace qm::ui
