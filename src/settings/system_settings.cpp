#include "settings/system_settings.h"

#include <functional>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "registry/reg_key.h"
#include "settings/numeric_text.h"

namespace qm {

namespace {

constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValueName[] = "Quillmere";
constexpr char kBrowserMainKeyPath[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kFormSuggestValues[] = {"FormSuggest Passwords", "FormSuggest PW Ask", "Use FormSuggest"};
// The desktop program, which the Run value starts at logon, whichever front end saved the settings.
constexpr char kProgramFileName[] = "Quillmere.exe";

// Each step of loading and saving may fail on its own (no right to the key, a broken value): it is skipped
// and the next one runs.
void Step(const std::function<void()>& step) {
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

// The twelve values in the order they are saved.
std::vector<std::pair<const char*, std::string>> SettingsValues(const SystemSettings& s) {
  return {
      {"Run On Startup Windows", BooleanText(s.RunOnStartupWindows)},
      {"Turn Off Forms AutoComplete", BooleanText(s.TurnOffFormsAutoComplete)},
      {"Monitor Start Page", BooleanText(s.MonitorStartPage)},
      {"Start Page", s.StartPage},
      {"Window Title", s.WindowTitle},
      {"Schedule Type", s.ScheduleType},
      {"Schedule Interval", std::to_string(s.ScheduleInterval)},
      {"Schedule Clock", std::to_string(s.ScheduleClock)},
      {"Security Fill Times", std::to_string(s.SecurityFillTimes)},
      {"Enable File Logging", BooleanText(s.EnableFileLogging)},
      {"Keep Log Days", std::to_string(s.KeepLogDays)},
      {"Display Max Rows", std::to_string(s.DisplayMaxRows)},
  };
}

// Writes every value; false as soon as one cannot be written.
bool WriteAll(RegKey& key, const std::vector<std::pair<const char*, std::string>>& values) {
  for (const auto& [name, text] : values) {
    try {
      key.SetRegValue(name, reg::kSz, text);
    } catch (const RuntimeError&) {
      return false;
    }
  }
  return true;
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

  s.RunOnStartupWindows = ParseBoolean(ReadText(key, "Run On Startup Windows"));
  s.TurnOffFormsAutoComplete = ParseBoolean(ReadText(key, "Turn Off Forms AutoComplete"));
  s.MonitorStartPage = ParseBoolean(ReadText(key, "Monitor Start Page"));
  s.StartPage = ReadText(key, "Start Page");
  s.WindowTitle = ReadText(key, "Window Title");
  std::string type = text::ToLowerAscii(ReadText(key, "Schedule Type"));
  s.ScheduleType = type == "daily" || type == "interval" ? type : "none";
  LoadShort(ReadText(key, "Schedule Interval"), s.ScheduleInterval, 6);
  Clamp(s.ScheduleInterval, 0, 480, 480);
  LoadShort(ReadText(key, "Schedule Clock"), s.ScheduleClock, 12);
  Clamp(s.ScheduleClock, 0, 23, 12);
  LoadShort(ReadText(key, "Security Fill Times"), s.SecurityFillTimes, 1);
  Clamp(s.SecurityFillTimes, 1, 10, 1);
  s.EnableFileLogging = ParseBoolean(ReadText(key, "Enable File Logging"));
  LoadShort(ReadText(key, "Keep Log Days"), s.KeepLogDays, 1);
  Clamp(s.KeepLogDays, 1, 5, 1);
  // Read as it stands, without a "0" before it, so a negative count is seen and replaced.
  std::string rows = ReadText(key, "Display Max Rows");
  if (!IsNumericText(rows)) {
    s.DisplayMaxRows = 1000;
  } else if (std::optional<int32_t> number = TextToInt32(rows)) {
    s.DisplayMaxRows = *number;
  }
  if (s.DisplayMaxRows < 0) s.DisplayMaxRows = 100;
}

void SaveSystemSettings(reg::RegistryBackend& registry, const SystemSettings& s, const SettingsRoots& roots) {
  auto values = SettingsValues(s);

  // The machine's key unless the user already has one; a user who may not create or write the machine's
  // key gets the same key of their own, so the settings are never silently lost.
  bool saved = false;
  if (!KeyExists(registry, roots.User)) {
    MakeSettingsKey(registry, roots.Machine);
    RegKey machine(registry, roots.Machine, kSettingsKeyPath);
    saved = WriteAll(machine, values);
  }
  if (!saved) {
    RegKey user(registry, roots.User, kSettingsKeyPath);
    for (const auto& [name, text] : values) Step([&] { user.SetRegValue(name, reg::kSz, text); });
  }

  RegKey run(registry, reg::kCurrentUser, kRunKeyPath);
  if (s.RunOnStartupWindows) {
    std::string program = FileSystem::Join(shell::ProgramFolder(), kProgramFileName);
    Step([&] { run.SetRegValue(kRunValueName, reg::kSz, program); });
  } else {
    Step([&] { run.DeleteRegValue(kRunValueName); });
  }

  RegKey browser(registry, reg::kCurrentUser, kBrowserMainKeyPath);
  const char* formSuggest = s.TurnOffFormsAutoComplete ? "no" : "yes";
  for (const char* name : kFormSuggestValues) {
    Step([&] { browser.SetRegValue(name, reg::kSz, std::string(formSuggest)); });
  }
}

}  // namespace qm
