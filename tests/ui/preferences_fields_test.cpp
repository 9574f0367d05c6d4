#include "ui/model/preferences_fields.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/settings_keys.h"

namespace qm::testing {
namespace {

using namespace ui;

/// Every setting in one line, so that a failed comparison names the field.
std::string Described(const SystemSettings& s) {
  std::string text = std::to_string(s.RunOnStartupWindows) + std::to_string(s.TurnOffFormsAutoComplete) +
                     std::to_string(s.MonitorStartPage) + " [" + s.StartPage + "] [" + s.WindowTitle + "] " +
                     s.ScheduleType + " " + std::to_string(s.EnableFileLogging);
  for (const int32_t number : {int32_t{s.ScheduleInterval}, int32_t{s.ScheduleClock}, int32_t{s.SecurityFillTimes},
                               int32_t{s.KeepLogDays}, s.DisplayMaxRows}) {
    text += " " + std::to_string(number);
  }
  return text;
}

TEST(PreferencesFields, ListsShowTheirSettingOrFallbackAndPageButtonsChangeOnlyTheirFields) {
  // Interval, clock, fill times, keep days, rows: as stored, as the five lists show them, as stored back.
  const std::tuple<int16_t, int16_t, int16_t, int16_t, int32_t, const char*, const char*> cases[] = {
      {6, 24, 0, 6, -1, "8 Hours|12:00|1|1|1000", "480 12 1 1 1000"},
      {15, 0, 10, 5, 0, "15 Minutes|00:00|10|5|Unlimited", "15 0 10 5 0"},
      {240, 23, 11, 1, 20000, "4 Hours|23:00|1|1|20000", "240 23 1 1 20000"},
      {60, 9, 3, 2, 2500, "1 Hour|09:00|3|2|1000", "60 9 3 2 1000"},
      {0, -1, 1, 0, 100, "8 Hours|12:00|1|1|100", "480 12 1 1 100"},
  };
  for (const auto& [interval, clock, fill, keep, rows, shownAs, written] : cases) {
    const PreferencesFields fields =
        FieldsFromSettings({false, false, false, "", "", "none", interval, clock, fill, false, keep, rows});
    std::string shown;
    for (std::size_t i = 0; i < kChoiceCount; ++i) {
      shown += (i ? "|" : "") + Choices(static_cast<Choice>(i)).Texts.at(fields.Choice[i]);
    }
    EXPECT_EQ(shown, shownAs);
    EXPECT_EQ(Described(SettingsFromFields(fields)), std::string("000 [] [] none 0 ") + written) << shownAs;
  }

  const SystemSettings stored{true, false, true, "http://home/", "Home", "daily", 120, 12, 3, false, 4, 0};
  PreferencesFields fields = FieldsFromSettings(stored);
  EXPECT_EQ(Described(SettingsFromFields(fields)), Described(stored));

  // Checking one schedule box unchecks the other; with both off "none" is stored whatever the lists show.
  const std::tuple<bool, bool, const char*> clicks[] = {
      {true, true, "interval"}, {false, true, "daily"}, {true, false, "daily"}, {false, false, "none"}};
  for (const auto& [interval, checked, type] : clicks) {
    SetScheduleCheck(fields, interval, checked);
    EXPECT_EQ(SettingsFromFields(fields).ScheduleType, type) << interval << checked;
  }
  UseBlankPages(fields);
  GeneralDefaults(fields);
  EXPECT_EQ(Described(SettingsFromFields(fields)), "000 [about:blank] [] none 0 120 12 3 4 0");
  // The Advance page's default hour is 11:00, not the store's 12:00.
  AdvanceDefaults(fields);
  EXPECT_EQ(Described(SettingsFromFields(fields)), "000 [about:blank] [] none 1 480 11 1 1 1000");
}

TEST(PreferencesFields, ApplyToIEWritesTheBrowserAndSavingWritesEverySetting) {
  RegistryFixture fixture("ui/settings_keys.reg");
  PreferencesFields fields;
  fields.StartPage = "  http://mine.example/ ";
  fields.WindowTitle = " Mine  ";
  ApplyToBrowser(fixture.Registry(), fields);
  EXPECT_EQ(KeyValues(fixture, kBrowserMainKeyPath),
            (Lines{"Search Page=http://search.example/", "Start Page=http://mine.example/", "Window Title=Mine"}));
  fields.WindowTitle = "   ";
  ApplyToBrowser(fixture.Registry(), fields);
  EXPECT_EQ(KeyValues(fixture, kBrowserMainKeyPath).size(), 2u);

  const SystemSettings settings{true, true, false, " page ", "", "interval", 30, 7, 2, true, 3, 0};
  SavePreferenceSettings(fixture.Registry(), settings, kTestRoots);
  EXPECT_EQ(KeyValues(fixture, kSettingsKeyPath),
            (Lines{"Display Max Rows=0", "Enable File Logging=true", "Keep Log Days=3", "Monitor Start Page=false",
                   "Run On Startup Windows=true", "Schedule Clock=7", "Schedule Interval=30", "Schedule Type=interval",
                   "Security Fill Times=2", "Start Page= page ", "Turn Off Forms AutoComplete=true", "Window Title="}));
  EXPECT_EQ(KeyValues(fixture, kRunKey).size(), 2u);
  EXPECT_EQ(KeyValues(fixture, kBrowserMainKeyPath),
            (Lines{"FormSuggest PW Ask=no", "FormSuggest Passwords=no", "Search Page=http://search.example/",
                   "Start Page=http://mine.example/", "Use FormSuggest=no"}));
  // Where no settings key can be written, saving says so instead of going on silently.
  EXPECT_THROW(SavePreferenceSettings(fixture.Registry(), settings, {kRefusingRoot, kRefusingRoot}), RuntimeError);
}

}  // namespace
}  // namespace qm::testing
