#include "ui/model/preferences_fields.h"

#include "config/settings_string.h"
#include "ui/model/start_page_monitor.h"

namespace qm::ui {

namespace {

/// Items "first" to "last" (hours as "hh:00" with `clock`), each standing for its own number.
ChoiceList NumberChoices(int32_t first, int32_t last, bool clock, std::size_t fallback) {
  ChoiceList list;
  for (int32_t n = first; n <= last; ++n) {
    list.Texts.push_back(clock ? (n < 10 ? "0" : "") + std::to_string(n) + ":00" : std::to_string(n));
    list.Values.push_back(n);
  }
  list.Fallback = fallback;
  return list;
}

// Out-of-range numbers fall back to what the settings store loads in their place: 480 minutes, 12:00, one
// fill, one day; rows fall back to 1000.
const std::array<ChoiceList, kChoiceCount> kChoices = {
    ChoiceList{{"15 Minutes", "30 Minutes", "1 Hour", "2 Hours", "4 Hours", "8 Hours"}, {15, 30, 60, 120, 240, 480}, 5},
    NumberChoices(0, 23, true, 12),
    NumberChoices(1, 10, false, 0),
    NumberChoices(1, 5, false, 0),
    ChoiceList{{"100", "1000", "5000", "10000", "20000", "Unlimited"}, {100, 1000, 5000, 10000, 20000, 0}, 1},
};

int32_t ChoiceValue(const PreferencesFields& fields, Choice which) {
  const ChoiceList& list = Choices(which);
  const std::size_t index = fields[which];
  return list.Values[index < list.Values.size() ? index : list.Fallback];
}

}  // namespace

const ChoiceList& Choices(Choice which) { return kChoices[static_cast<std::size_t>(which)]; }

std::size_t ChoiceIndex(Choice which, int32_t value) {
  const ChoiceList& list = Choices(which);
  for (std::size_t i = 0; i < list.Values.size(); ++i) {
    if (list.Values[i] == value) return i;
  }
  return list.Fallback;
}

PreferencesFields FieldsFromSettings(const SystemSettings& s) {
  PreferencesFields f;
  f.RunOnStartup = s.RunOnStartupWindows;
  f.TurnOffAutoComplete = s.TurnOffFormsAutoComplete;
  f.MonitorStartPage = s.MonitorStartPage;
  f.StartPage = s.StartPage;
  f.WindowTitle = s.WindowTitle;
  f.ScheduleInterval = s.ScheduleType == "interval";
  f.ScheduleDaily = s.ScheduleType == "daily";
  f.EnableFileLogging = s.EnableFileLogging;
  f[Choice::ScheduleInterval] = ChoiceIndex(Choice::ScheduleInterval, s.ScheduleInterval);
  f[Choice::ScheduleClock] = ChoiceIndex(Choice::ScheduleClock, s.ScheduleClock);
  f[Choice::FillTimes] = ChoiceIndex(Choice::FillTimes, s.SecurityFillTimes);
  f[Choice::KeepLogDays] = ChoiceIndex(Choice::KeepLogDays, s.KeepLogDays);
  f[Choice::DisplayMaxRows] = ChoiceIndex(Choice::DisplayMaxRows, s.DisplayMaxRows);
  return f;
}

SystemSettings SettingsFromFields(const PreferencesFields& f) {
  SystemSettings s;
  s.RunOnStartupWindows = f.RunOnStartup;
  s.TurnOffFormsAutoComplete = f.TurnOffAutoComplete;
  s.MonitorStartPage = f.MonitorStartPage;
  s.StartPage = f.StartPage;
  s.WindowTitle = f.WindowTitle;
  s.ScheduleType = f.ScheduleInterval ? "interval" : f.ScheduleDaily ? "daily" : "none";
  s.ScheduleInterval = static_cast<int16_t>(ChoiceValue(f, Choice::ScheduleInterval));
  s.ScheduleClock = static_cast<int16_t>(ChoiceValue(f, Choice::ScheduleClock));
  s.SecurityFillTimes = static_cast<int16_t>(ChoiceValue(f, Choice::FillTimes));
  s.EnableFileLogging = f.EnableFileLogging;
  s.KeepLogDays = static_cast<int16_t>(ChoiceValue(f, Choice::KeepLogDays));
  s.DisplayMaxRows = ChoiceValue(f, Choice::DisplayMaxRows);
  return s;
}

void GeneralDefaults(PreferencesFields& f) { f.RunOnStartup = f.TurnOffAutoComplete = f.MonitorStartPage = false; }

void AdvanceDefaults(PreferencesFields& f) {
  f.ScheduleInterval = f.ScheduleDaily = false;
  f[Choice::ScheduleInterval] = ChoiceIndex(Choice::ScheduleInterval, 480);
  f[Choice::ScheduleClock] = ChoiceIndex(Choice::ScheduleClock, 11);
  f[Choice::FillTimes] = ChoiceIndex(Choice::FillTimes, 1);
  f.EnableFileLogging = true;
  f[Choice::KeepLogDays] = ChoiceIndex(Choice::KeepLogDays, 1);
  f[Choice::DisplayMaxRows] = ChoiceIndex(Choice::DisplayMaxRows, 1000);
}

void UseBlankPages(PreferencesFields& f) {
  f.StartPage = "about:blank";
  f.WindowTitle.clear();
}

void SetScheduleCheck(PreferencesFields& f, bool interval, bool checked) {
  (interval ? f.ScheduleInterval : f.ScheduleDaily) = checked;
  if (checked) (interval ? f.ScheduleDaily : f.ScheduleInterval) = false;
}

void ApplyToBrowser(reg::RegistryBackend& registry, const PreferencesFields& f) {
  SystemSettings pages;
  pages.StartPage = TrimBlanks(f.StartPage);
  pages.WindowTitle = TrimBlanks(f.WindowTitle);
  RecoverBrowserPages(registry, pages);
}

void SavePreferenceSettings(reg::RegistryBackend& registry, const SystemSettings& settings,
                            const SettingsRoots& roots) {
  for (const char* name :
       {setting_names::kRunOnStartupWindows, setting_names::kTurnOffFormsAutoComplete, setting_names::kMonitorStartPage,
        setting_names::kStartPage, setting_names::kWindowTitle, setting_names::kScheduleType,
        setting_names::kScheduleInterval, setting_names::kScheduleClock, setting_names::kSecurityFillTimes,
        setting_names::kEnableFileLogging, setting_names::kKeepLogDays, setting_names::kDisplayMaxRows}) {
    SaveSystemSetting(registry, settings, name, roots);
  }
}

}  // namespace qm::ui
