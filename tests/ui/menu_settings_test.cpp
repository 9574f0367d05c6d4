#include "ui/model/menu_settings.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/settings_keys.h"

namespace qm::testing {
namespace {

using namespace ui;

/// The values of the three keys a menu command may write, as "settings:", "run:" or "browser:" + "name=data".
Lines Written(RegistryFixture& fixture) {
  Lines lines;
  for (const auto& [label, key] :
       {std::pair{"settings:", kSettingsKeyPath}, {"run:", kRunKey}, {"browser:", kBrowserMainKeyPath}}) {
    for (const std::string& value : KeyValues(fixture, key)) lines.push_back(label + value);
  }
  return lines;
}

/// What went from `before` ("-" + line) and what came (`+` + line), sorted.
Lines Changes(const Lines& before, const Lines& after) {
  Lines changes;
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
  SystemSettings settings{false, false, false, "http://home.example/", "Home", "daily", 30, 9, 7, false, 3, 250};
  const std::pair<MenuSetting, MenuChecks> commands[] = {
      {MenuSetting::Schedule, {.ScheduleInterval = true, .ScheduleDaily = true}},
      {MenuSetting::Schedule, {.ScheduleDaily = true}},
      {MenuSetting::Schedule, {}},
      {MenuSetting::RunOnStartup, {.RunOnStartup = true}},
      {MenuSetting::RunOnStartup, {}},
      {MenuSetting::RunOnStartup, {}},
      {MenuSetting::TurnOffAutoComplete, {.TurnOffAutoComplete = true}},
      {MenuSetting::TurnOffAutoComplete, {}},
      {MenuSetting::Monitor, {.Monitor = true}},
      {MenuSetting::FileLogging, {.FileLogging = true}},
  };
  Lines changes;
  int command = 0;
  for (const auto& [which, checks] : commands) {
    const Lines before = Written(fixture);
    ApplyMenuSettings(registry, settings, which, checks, kTestRoots);
    changes.push_back("command " + std::to_string(++command));
    for (const std::string& change : Changes(before, Written(fixture))) {
      changes.push_back(Replaced(change, FileSystem::Join(shell::ProgramFolder(), "Quillmere.exe"), "{program}"));
    }
  }
  EXPECT_EQ(Joined(changes), Joined(FixtureLines("ui/menu_settings_changes.txt")));
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
