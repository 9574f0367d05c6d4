#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry_backend.h"

namespace qm {

/// The program's preferences. Before `LoadSystemSettings` every field holds zero, false or "".
struct SystemSettings {
  bool RunOnStartupWindows = false;       ///< start the program when the user logs on
  bool TurnOffFormsAutoComplete = false;  ///< switch off the browser's form and password AutoComplete
  bool MonitorStartPage = false;          ///< watch the browser's start page and window title
  std::string StartPage;                  ///< the start page address the user wants kept
  std::string WindowTitle;                ///< the browser window title the user wants kept
  std::string ScheduleType;               ///< "none", "daily" or "interval"
  int16_t ScheduleInterval = 0;           ///< minutes between scheduled clearings, 0 to 480
  int16_t ScheduleClock = 0;              ///< hour of the daily clearing, 0 to 23
  int16_t SecurityFillTimes = 0;          ///< overwrite passes for a file that cannot be deleted, 1 to 10
  bool EnableFileLogging = false;         ///< write the activity log
  int16_t KeepLogDays = 0;                ///< days of log files kept, 1 to 5
  int32_t DisplayMaxRows = 0;             ///< most rows the main window lists; 0 = no limit
};

/// The registry value names of the settings, one for each field of SystemSettings.
namespace setting_names {
inline constexpr char kRunOnStartupWindows[] = "Run On Startup Windows";
inline constexpr char kTurnOffFormsAutoComplete[] = "Turn Off Forms AutoComplete";
inline constexpr char kMonitorStartPage[] = "Monitor Start Page";
inline constexpr char kStartPage[] = "Start Page";
inline constexpr char kWindowTitle[] = "Window Title";
inline constexpr char kScheduleType[] = "Schedule Type";
inline constexpr char kScheduleInterval[] = "Schedule Interval";
inline constexpr char kScheduleClock[] = "Schedule Clock";
inline constexpr char kSecurityFillTimes[] = "Security Fill Times";
inline constexpr char kEnableFileLogging[] = "Enable File Logging";
inline constexpr char kKeepLogDays[] = "Keep Log Days";
inline constexpr char kDisplayMaxRows[] = "Display Max Rows";
}  // namespace setting_names

/// The settings key, below HKEY_LOCAL_MACHINE, or below HKEY_CURRENT_USER for a user who may not write the
/// machine's key.
inline constexpr char kSettingsKeyPath[] = "Software\\Dunvorel\\Quillmere";

/// The browser's key (below HKEY_CURRENT_USER) of its form AutoComplete values, start page and window title.
inline constexpr char kBrowserMainKeyPath[] = "Software\\Microsoft\\Internet Explorer\\Main";

/// The roots the settings key lives below: the machine's, and the user's that takes its place. The program
/// uses HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER; tests may name a machine root that refuses every write.
struct SettingsRoots {
  uint32_t Machine = 0x80000002u;
  uint32_t User = 0x80000001u;
};

/// Whether loading the settings may create their key.
enum class SettingsKey {
  CreateWhenMissing,  ///< the program's start: the key exists from then on
  ReadOnly,           ///< a search that must change nothing: a missing key gives the defaults
};

/// Reads the settings key of `registry` into `settings`: a missing, empty or non-numeric value takes its
/// default, a number out of range its replacement (a number that does not convert leaves the field as it
/// was). The user's key is read when it exists, the machine's key otherwise. A value that cannot be read
/// counts as empty; nothing is reported.
void LoadSystemSettings(reg::RegistryBackend& registry, SystemSettings& settings, SettingsKey key,
                        const SettingsRoots& roots = SettingsRoots{});

/// Writes all twelve settings, then applies the two with effects outside the program: the "Quillmere" value
/// of the user's Run key (written or deleted) and the browser's three form AutoComplete values. The settings
/// go to the user's key when it exists; otherwise to the machine's key, and to the user's key instead when
/// the machine's key cannot be created or written. A failing step is skipped; nothing is reported.
void SaveSystemSettings(reg::RegistryBackend& registry, const SystemSettings& settings,
                        const SettingsRoots& roots = SettingsRoots{});

/// Writes the one setting `name` (one of setting_names) into the key SaveSystemSettings writes, made when
/// missing, and applies its effect outside the program as SaveSystemSettings does: the Run value for
/// kRunOnStartupWindows, the browser's values for kTurnOffFormsAutoComplete. Where the machine's key cannot
/// be written and the user has no key yet, the user's key is made with every setting. Unlike a whole save,
/// a registry failure raises; an unknown name raises error 5.
void SaveSystemSetting(reg::RegistryBackend& registry, const SystemSettings& settings, std::string_view name,
                       const SettingsRoots& roots = SettingsRoots{});

}  // namespace qm
