#include "ui/model/menu_settings.h"

namespace qm::ui {

void ApplyMenuSettings(reg::RegistryBackend& registry, SystemSettings& settings, MenuSetting which,
                       const MenuChecks& checks, const SettingsRoots& roots) {
  std::string_view name;  // stays empty, which saving refuses, only for a value outside the enumeration
  switch (which) {
    case MenuSetting::RunOnStartup:
      settings.RunOnStartupWindows = checks.RunOnStartup;
      name = setting_names::kRunOnStartupWindows;
      break;
    case MenuSetting::TurnOffAutoComplete:
      settings.TurnOffFormsAutoComplete = checks.TurnOffAutoComplete;
      name = setting_names::kTurnOffFormsAutoComplete;
      break;
    case MenuSetting::Monitor:
      settings.MonitorStartPage = checks.Monitor;
      name = setting_names::kMonitorStartPage;
      break;
    case MenuSetting::Schedule:
      settings.ScheduleType = checks.ScheduleInterval ? "interval" : checks.ScheduleDaily ? "daily" : "none";
      name = setting_names::kScheduleType;
      break;
    case MenuSetting::FileLogging:
      settings.EnableFileLogging = checks.FileLogging;
      name = setting_names::kEnableFileLogging;
      break;
  }
  SaveSystemSetting(registry, settings, name, roots);
}

}  // namespace qm::ui
