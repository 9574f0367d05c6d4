#include "ui/model/menu_settings.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "support/registry_fixture.h"
#include "support/settings_keys.h"

namespace qm::testing {
namespace {

using namespace ui;

/// The values of the three keys a menu command may write, as "settings:", "run:" or "browser:" + "name=data".
std::vector<std::string> Written(RegistryFixture& fixture) {
  std::vector<std::string> lines;
  for (const auto& [label, key] :
       {std::pair{"settings:", kSettingsKeyPath}, {"run:", kRunKey}, {"browser:", kBrowserMainKeyPath}}) {
    for (const std::string& value : KeyValues(fixture, key)) lines.push_back(label + value);
  }
  return lines;
}

/// What went from `before` ("-" + line) and what came (`+` + line), sorted.
std::vector<std::string> Changes(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  std::vector<std::string> changes;
  for (const std::string& line : before) {
    if (std::find(after.begin(), after.end(), line) == after.end()) changes.push_back("-" + line);
  }
  for (const std::string& line : after) {
    if (std::find(before.begin(), before.end(), line) == before.end()) changes.push_back("+" + line);
  }
  std::sort(changes.begin(), changes.end());
  return changes;
}

TEST(MenuSettings, ACommandWritesOnlyItsOwnSettingAndItsEffect) {
  RegistryFixture fixture("ui/settings_keys.reg");
  reg::RegistryBackend& registry = fixture.Registry();
  ASSERT_EQ(registry.DeleteKey(reg::RootHandle(reg::kCurrentUser), kSettingsKeyPath), reg::kSuccess);
  const std::string run = "+run:Quillmere=" + FileSystem::Join(shell::ProgramFolder(), "Quillmere.exe");
  SystemSettings settings{false, false, false, "http://home.example/", "Home", "daily", 30, 9, 7, false, 3, 250};
  const struct {
    MenuSetting which;
    MenuChecks checks;
    std::vector<std::string> changes;
  } commands[] = {
      {MenuSetting::Schedule, {.ScheduleInterval = true, .ScheduleDaily = true}, {"+settings:Schedule Type=interval"}},
      {MenuSetting::Schedule,
       {.ScheduleDaily = true},
       {"+settings:Schedule Type=daily", "-settings:Schedule Type=interval"}},
      {MenuSetting::Schedule, {}, {"+settings:Schedule Type=none", "-settings:Schedule Type=daily"}},
      {MenuSetting::RunOnStartup, {.RunOnStartup = true}, {run, "+settings:Run On Startup Windows=true"}},
      {MenuSetting::RunOnStartup,
       {},
       {"+settings:Run On Startup Windows=false", "-" + run.substr(1), "-settings:Run On Startup Windows=true"}},
      {MenuSetting::RunOnStartup, {}, {}},
      {MenuSetting::TurnOffAutoComplete,
       {.TurnOffAutoComplete = true},
       {"+browser:FormSuggest PW Ask=no", "+browser:FormSuggest Passwords=no", "+browser:Use FormSuggest=no",
        "+settings:Turn Off Forms AutoComplete=true"}},
      {MenuSetting::TurnOffAutoComplete,
       {},
       {"+browser:FormSuggest PW Ask=yes", "+browser:FormSuggest Passwords=yes", "+browser:Use FormSuggest=yes",
        "+settings:Turn Off Forms AutoComplete=false", "-browser:FormSuggest PW Ask=no",
        "-browser:FormSuggest Passwords=no", "-browser:Use FormSuggest=no",
        "-settings:Turn Off Forms AutoComplete=true"}},
      {MenuSetting::Monitor, {.Monitor = true}, {"+settings:Monitor Start Page=true"}},
      {MenuSetting::FileLogging, {.FileLogging = true}, {"+settings:Enable File Logging=true"}},
  };
  for (const auto& command : commands) {
    const std::vector<std::string> before = Written(fixture);
    ApplyMenuSettings(registry, settings, command.which, command.checks, kTestRoots);
    EXPECT_EQ(Changes(before, Written(fixture)), command.changes) << static_cast<int>(command.which);
  }
  EXPECT_EQ(settings.ScheduleType + " " + std::to_string(settings.RunOnStartupWindows) +
                std::to_string(settings.TurnOffFormsAutoComplete) + std::to_string(settings.MonitorStartPage) +
                std::to_string(settings.EnableFileLogging),
            "none 0011");

  // A machine key that cannot be written gives the user a key of their own, complete; nowhere to write raises.
  ASSERT_EQ(registry.DeleteKey(reg::RootHandle(reg::kCurrentUser), kSettingsKeyPath), reg::kSuccess);
  ApplyMenuSettings(registry, settings, MenuSetting::Monitor, {}, {kRefusingRoot, reg::kCurrentUser});
  EXPECT_EQ(KeyValues(fixture, kSettingsKeyPath).size(), 12u);
  EXPECT_THROW(ApplyMenuSettings(registry, settings, MenuSetting::Monitor, {}, {kRefusingRoot, kRefusingRoot}),
               RuntimeError);
}

}  // namespace
}  // namespace qm::testing
