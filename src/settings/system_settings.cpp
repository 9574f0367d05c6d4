#include "settings/system_settings.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/ordered_collection.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "registry/reg_key.h"
#include "settings/numeric_text.h"

namespace qm {

namespace {

constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValueName[] = "Quillmere";
constexpr const char* kFormSuggestValues[] = {"FormSuggest Passwords", "FormSuggest PW Ask", "Use FormSuggest"};
// The desktop program, which the Run value starts at logon, whichever front end saved the settings.
constexpr char kProgramFileName[] = "Quillmere.exe";

// What a failing step does: loading and saving all settings skip it and run the next one (no right to the
// key, a broken value); saving the one setting a command changed raises it, so the user hears of it.
enum class Failure { Skip, Raise };

void Step(const std::function<void()>& step, Failure failure = Failure::Skip) {
  if (failure == Failure::Raise) return step();
  try {
    step();
  } catch (const RuntimeError&) {
  }
}

std::string ReadText(RegKey& key, const std::string& name) {
  std::optional<RegValue> value = key.GetRegValue(name);
  return value ? value->ValueDataString() : "";
}

bool KeyExists(reg::RegistryBackend& registry, uint32_t root) {
  return RegKey(registry, root, kSettingsKeyPath).GetRegValue("").has_value();
}

// Creates "Software\Dunvorel" and then the settings key below the root, as two steps.
void MakeSettingsKey(reg::RegistryBackend& registry, uint32_t root) {
  Step([&] { RegKey(registry).SetRegKey("Dunvorel", root, "Software"); });
  Step([&] { RegKey(registry).SetRegKey("Quillmere", root, "Software\\Dunvorel"); });
}

bool ParseBoolean(const std::string& text) { return text::ToLowerAscii(text) == "true"; }

// A missing or non-numeric text gives the default. A number is read with "0" before it, so a signed text
// such as "-5" does not convert: the variable then keeps the value it had.
void LoadShort(const std::string& text, int16_t& variable, int16_t defaultValue) {
  if (!IsNumericText(text)) {
    variable = defaultValue;
  } else if (std::optional<int16_t> number = TextToInt16("0" + text)) {
    variable = *number;
  }
}

void Clamp(int16_t& variable, int16_t low, int16_t high, int16_t replacement) {
  if (variable < low || variable > high) variable = replacement;
}

const char* BooleanText(bool value) { return value ? "true" : "false"; }

using SettingsValueList = std::vector<std::pair<const char*, std::string>>;

// The twelve values in the order they are saved.
SettingsValueList SettingsValues(const SystemSettings& s) {
  return {
      {setting_names::kRunOnStartupWindows, BooleanText(s.RunOnStartupWindows)},
      {setting_names::kTurnOffFormsAutoComplete, BooleanText(s.TurnOffFormsAutoComplete)},
      {setting_names::kMonitorStartPage, BooleanText(s.MonitorStartPage)},
      {setting_names::kStartPage, s.StartPage},
      {setting_names::kWindowTitle, s.WindowTitle},
      {setting_names::kScheduleType, s.ScheduleType},
      {setting_names::kScheduleInterval, std::to_string(s.ScheduleInterval)},
      {setting_names::kScheduleClock, std::to_string(s.ScheduleClock)},
      {setting_names::kSecurityFillTimes, std::to_string(s.SecurityFillTimes)},
      {setting_names::kEnableFileLogging, BooleanText(s.EnableFileLogging)},
      {setting_names::kKeepLogDays, std::to_string(s.KeepLogDays)},
      {setting_names::kDisplayMaxRows, std::to_string(s.DisplayMaxRows)},
  };
}

// Writes every value; false as soon as one cannot be written.
bool WriteAll(RegKey& key, const SettingsValueList& values) {
  for (const auto& [name, text] : values) {
    try {
      key.SetRegValue(name, reg::kSz, text);
    } catch (const RuntimeError&) {
      return false;
    }
  }
  return true;
}

// Writes `values` into the key the settings live in: the user's key when it exists; otherwise the machine's
// key (made when missing). A user who may not create or write the machine's key gets the same key of their
// own with every setting in it, since loading prefers that key from then on; so settings are never lost.
void WriteSettingsValues(reg::RegistryBackend& registry, const SystemSettings& s, const SettingsValueList& values,
                         const SettingsRoots& roots, Failure failure) {
  const bool userKey = KeyExists(registry, roots.User);
  if (!userKey) {
    MakeSettingsKey(registry, roots.Machine);
    RegKey machine(registry, roots.Machine, kSettingsKeyPath);
    if (WriteAll(machine, values)) return;
  }
  RegKey user(registry, roots.User, kSettingsKeyPath);
  const SettingsValueList& written = userKey ? values : SettingsValues(s);
  for (const auto& [name, text] : written) Step([&] { user.SetRegValue(name, reg::kSz, text); }, failure);
}

// The user's Run value: the desktop program's path, or none.
void WriteRunValue(reg::RegistryBackend& registry, bool runOnStartup, Failure failure) {
  RegKey run(registry, reg::kCurrentUser, kRunKeyPath);
  if (runOnStartup) {
    std::string program = FileSystem::Join(shell::ProgramFolder(), kProgramFileName);
    Step([&] { run.SetRegValue(kRunValueName, reg::kSz, program); }, failure);
  } else {
    // A Run key that is not there holds no value to delete.
    const auto remove = [&] {
      if (run.GetRegValue(kRunValueName)) run.DeleteRegValue(kRunValueName);
    };
    Step(remove, failure);
  }
}

// The browser's three form AutoComplete values: all "no" to turn it off, all "yes" otherwise.
void WriteFormSuggest(reg::RegistryBackend& registry, bool turnedOff, Failure failure) {
  RegKey browser(registry, reg::kCurrentUser, kBrowserMainKeyPath);
  const std::string formSuggest = turnedOff ? "no" : "yes";
  for (const char* name : kFormSuggestValues) {
    Step([&] { browser.SetRegValue(name, reg::kSz, formSuggest); }, failure);
  }
}

}  // namespace

void LoadSystemSettings(reg::RegistryBackend& registry, SystemSettings& s, SettingsKey creation,
                        const SettingsRoots& roots) {
  // A key of the user's own wins: it exists only where the machine's key could not be written.
  uint32_t root = roots.User;
  if (!KeyExists(registry, root)) {
    root = roots.Machine;
    if (creation == SettingsKey::CreateWhenMissing) MakeSettingsKey(registry, root);
  }
  RegKey key(registry, root, kSettingsKeyPath);

  s.RunOnStartupWindows = ParseBoolean(ReadText(key, setting_names::kRunOnStartupWindows));
  s.TurnOffFormsAutoComplete = ParseBoolean(ReadText(key, setting_names::kTurnOffFormsAutoComplete));
  s.MonitorStartPage = ParseBoolean(ReadText(key, setting_names::kMonitorStartPage));
  s.StartPage = ReadText(key, setting_names::kStartPage);
  s.WindowTitle = ReadText(key, setting_names::kWindowTitle);
  std::string type = text::ToLowerAscii(ReadText(key, setting_names::kScheduleType));
  s.ScheduleType = type == "daily" || type == "interval" ? type : "none";
  LoadShort(ReadText(key, setting_names::kScheduleInterval), s.ScheduleInterval, 6);
  Clamp(s.ScheduleInterval, 0, 480, 480);
  LoadShort(ReadText(key, setting_names::kScheduleClock), s.ScheduleClock, 12);
  Clamp(s.ScheduleClock, 0, 23, 12);
  LoadShort(ReadText(key, setting_names::kSecurityFillTimes), s.SecurityFillTimes, 1);
  Clamp(s.SecurityFillTimes, 1, 10, 1);
  s.EnableFileLogging = ParseBoolean(ReadText(key, setting_names::kEnableFileLogging));
  LoadShort(ReadText(key, setting_names::kKeepLogDays), s.KeepLogDays, 1);
  Clamp(s.KeepLogDays, 1, 5, 1);
  // Read as it stands, without a "0" before it, so a negative count is seen and replaced.
  std::string rows = ReadText(key, setting_names::kDisplayMaxRows);
  if (!IsNumericText(rows)) {
    s.DisplayMaxRows = 1000;
  } else if (std::optional<int32_t> number = TextToInt32(rows)) {
    s.DisplayMaxRows = *number;
  }
  if (s.DisplayMaxRows < 0) s.DisplayMaxRows = 100;
}

void SaveSystemSettings(reg::RegistryBackend& registry, const SystemSettings& s, const SettingsRoots& roots) {
  WriteSettingsValues(registry, s, SettingsValues(s), roots, Failure::Skip);
  WriteRunValue(registry, s.RunOnStartupWindows, Failure::Skip);
  WriteFormSuggest(registry, s.TurnOffFormsAutoComplete, Failure::Skip);
}

void SaveSystemSetting(reg::RegistryBackend& registry, const SystemSettings& s, std::string_view name,
                       const SettingsRoots& roots) {
  const SettingsValueList all = SettingsValues(s);
  const auto value = std::find_if(all.begin(), all.end(), [&](const auto& v) { return v.first == name; });
  if (value == all.end()) {
    throw RuntimeError(errors::kInvalidArgument, "SaveSystemSetting",
                       "no setting is named \"" + std::string(name) + "\"");
  }
  WriteSettingsValues(registry, s, {*value}, roots, Failure::Raise);
  if (name == setting_names::kRunOnStartupWindows) WriteRunValue(registry, s.RunOnStartupWindows, Failure::Raise);
  if (name == setting_names::kTurnOffFormsAutoComplete)
    WriteFormSuggest(registry, s.TurnOffFormsAutoComplete, Failure::Raise);
}

}  // namespace qm
