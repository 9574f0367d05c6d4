#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "settings/system_settings.h"

namespace qm::ui {

/// The drop-down lists of the Advance page, in the order of `PreferencesFields::Choice`.
enum class Choice : std::size_t { ScheduleInterval, ScheduleClock, FillTimes, KeepLogDays, DisplayMaxRows };
inline constexpr std::size_t kChoiceCount = 5;

/// A drop-down list's fixed items and the setting each stands for.
struct ChoiceList {
  std::vector<std::string> Texts;
  std::vector<int32_t> Values;  ///< the setting's value of each item
  std::size_t Fallback = 0;     ///< the item shown for a value no item stands for
};

/// The items of one drop-down list.
const ChoiceList& Choices(Choice which);

/// The item that shows `value`: the first item standing for it, else the list's fallback.
std::size_t ChoiceIndex(Choice which, int32_t value);

/// What the General and Advance pages show: every setting as its control holds it.
struct PreferencesFields {
  bool RunOnStartup = false;
  bool TurnOffAutoComplete = false;
  bool MonitorStartPage = false;
  std::string StartPage;
  std::string WindowTitle;
  bool ScheduleInterval = false;  ///< "Run clear process every"
  bool ScheduleDaily = false;     ///< "Run clear process every day at"
  bool EnableFileLogging = false;
  std::array<std::size_t, kChoiceCount> Choice{};  ///< the selected item of each list, by `ui::Choice`

  std::size_t& operator[](ui::Choice which) { return Choice[static_cast<std::size_t>(which)]; }
  std::size_t operator[](ui::Choice which) const { return Choice[static_cast<std::size_t>(which)]; }
};

/// The pages as they open on `settings`. A number out of its list's range shows the item the settings store
/// would load in its place, so every list opens with an item selected.
PreferencesFields FieldsFromSettings(const SystemSettings& settings);

/// The settings the pages hold: the schedule type is "interval" when its box is checked, else "daily" when
/// that one is, else "none"; the numbers are the selected items' values (an index outside a list counts as
/// its fallback item).
SystemSettings SettingsFromFields(const PreferencesFields& fields);

/// "Default" of the General page: the three check boxes unchecked, the texts left alone.
void GeneralDefaults(PreferencesFields& fields);

/// "Default" of the Advance page: no schedule, "8 Hours", "11:00", one fill, logging on for one day, 1000 rows.
void AdvanceDefaults(PreferencesFields& fields);

/// "Use Blank": the start page "about:blank", no window title.
void UseBlankPages(PreferencesFields& fields);

/// A schedule box clicked to `checked`: checking one unchecks the other; both may be unchecked.
void SetScheduleCheck(PreferencesFields& fields, bool interval, bool checked);

/// "Apply to IE": the browser's start page becomes the trimmed start-page text; its window title the trimmed
/// title text, or is deleted when that is empty. The settings are not changed. Registry failures raise.
void ApplyToBrowser(reg::RegistryBackend& registry, const PreferencesFields& fields);

/// Writes the twelve settings, one by one in the store's order, with their effects outside the program.
/// Unlike a silent whole save, a value that cannot be written raises, so the dialog can say so.
void SavePreferenceSettings(reg::RegistryBackend& registry, const SystemSettings& settings, const SettingsRoots& roots);

}  // namespace qm::ui
