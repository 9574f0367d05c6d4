#include "settings/system_settings.h"

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "registry/reg_key.h"
#include "settings/numeric_text.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/settings_keys.h"

namespace qm::testing {
namespace {

const char* const kBrowserValues[] = {"FormSuggest Passwords", "FormSuggest PW Ask", "Use FormSuggest"};

/// The settings in the order they are saved (the order of `Fields`), and their defaults.
const Lines kNames = {"Run On Startup Windows", "Turn Off Forms AutoComplete",
                      "Monitor Start Page",     "Start Page",
                      "Window Title",           "Schedule Type",
                      "Schedule Interval",      "Schedule Clock",
                      "Security Fill Times",    "Enable File Logging",
                      "Keep Log Days",          "Display Max Rows"};
const Lines kDefaults = {"false", "false", "false", "", "", "none", "6", "12", "1", "false", "1", "1000"};

Lines Fields(const SystemSettings& s) {
  const auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
  const auto n = [](int number) { return std::to_string(number); };
  return Split(flag(s.RunOnStartupWindows) + "|" + flag(s.TurnOffFormsAutoComplete) + "|" + flag(s.MonitorStartPage) +
                   "|" + s.StartPage + "|" + s.WindowTitle + "|" + s.ScheduleType + "|" + n(s.ScheduleInterval) + "|" +
                   n(s.ScheduleClock) + "|" + n(s.SecurityFillTimes) + "|" + flag(s.EnableFileLogging) + "|" +
                   n(s.KeepLogDays) + "|" + n(s.DisplayMaxRows),
               "|");
}

// The registry every test starts from: no settings key anywhere, no Run value, no browser values. The Linux
// store is one of the test's own; the real registry is cleaned before and after.
class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every Windows machine has these keys; a fresh Linux store does not.
    RegKey(registry_, reg::kLocalMachine, "").SetRegKey("Software");
    for (const char* key : {kRunKey, kBrowserMainKeyPath}) RegKey(registry_, reg::kCurrentUser, "").SetRegKey(key);
    CleanRegistry();
  }
  void TearDown() override { CleanRegistry(); }

  // A settings key that is not there is no failure here.
  void CleanRegistry() {
    for (uint32_t root : {reg::kLocalMachine, reg::kCurrentUser}) {
      registry_.DeleteKey(reg::RootHandle(root), kSettingsKeyPath);
      registry_.DeleteKey(reg::RootHandle(root), "Software\\Dunvorel");
    }
    RegKey(registry_, reg::kCurrentUser, kRunKey).DeleteRegValue("Quillmere");
    for (const char* name : kBrowserValues)
      RegKey(registry_, reg::kCurrentUser, kBrowserMainKeyPath).DeleteRegValue(name);
  }

  bool KeyExists(uint32_t root, const std::string& path) {
    return RegKey(registry_, root, path).GetRegValue("").has_value();
  }
  std::optional<std::string> Read(uint32_t root, const std::string& path, const std::string& name) {
    std::optional<RegValue> value = RegKey(registry_, root, path).GetRegValue(name);
    if (!value || value->ValueType != reg::kSz) return std::nullopt;
    return value->ValueDataString();
  }
  void Store(const std::string& name, const std::string& text, uint32_t root = reg::kLocalMachine) {
    RegKey(registry_, root, kSettingsKeyPath).SetRegValue(name, reg::kSz, text);
  }
  SystemSettings Load(const SettingsRoots& roots = {}, SettingsKey key = SettingsKey::CreateWhenMissing) {
    SystemSettings s;
    LoadSystemSettings(registry_, s, key, roots);
    return s;
  }

  RegistryFixture fixture_;
  reg::RegistryBackend& registry_ = fixture_.Registry();
};

TEST_F(Settings, ALoadThatMustChangeNothingCreatesNoKeyTheProgramsStartDoes) {
  EXPECT_EQ(Fields(Load({}, SettingsKey::ReadOnly)), kDefaults);
  EXPECT_FALSE(KeyExists(reg::kLocalMachine, "Software\\Dunvorel"));
  EXPECT_EQ(fixture_.Dump("Software\\Dunvorel"), Lines{});

  EXPECT_EQ(Fields(Load()), kDefaults);
  EXPECT_TRUE(KeyExists(reg::kLocalMachine, kSettingsKeyPath));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, "Software\\Dunvorel"));
}

TEST_F(Settings, StoredTextsLoadWithTheirRulesAndReplacements) {
  for (const auto& [setting, loaded] : FixtureCases("settings/stored_texts.txt")) {
    const Lines parts = Split(setting, " | ");
    const auto field = std::find(kNames.begin(), kNames.end(), parts.at(0)) - kNames.begin();
    ASSERT_LT(field, std::ssize(kNames)) << setting;
    CleanRegistry();
    Store(parts[0], parts.at(1));
    // Each value lands in its own field; every other one keeps its default.
    Lines expected = kDefaults;
    expected[field] = loaded;
    EXPECT_EQ(Fields(Load()), expected) << setting;
  }
  // Texts keep their blanks at both ends.
  Store("Start Page", " http://Example.org/ ");
  EXPECT_EQ(Load().StartPage, " http://Example.org/ ");
  // A number that does not convert ("0" before "-5" makes none) keeps the earlier value, not only a 0.
  Store("Keep Log Days", "-5");
  SystemSettings s;
  s.KeepLogDays = 4;
  LoadSystemSettings(registry_, s, SettingsKey::ReadOnly);
  EXPECT_EQ(s.KeepLogDays, 4);
}

TEST_F(Settings, SaveWritesEveryValueAndTheOutsideValues) {
  // Defaults save without a Run value to delete, and turn the browser's AutoComplete on.
  EXPECT_NO_THROW(SaveSystemSettings(registry_, Load()));
  EXPECT_EQ(Read(reg::kCurrentUser, kRunKey, "Quillmere"), std::nullopt);
  for (const char* name : kBrowserValues) EXPECT_EQ(Read(reg::kCurrentUser, kBrowserMainKeyPath, name), "yes") << name;

  SystemSettings s{true, true, true, "http://example.org/", "Browser", "daily", 45, 7, 3, true, 2, 1234};
  // Saved as the texts that Fields writes by hand: "true" or "false", numbers in decimal.
  const Lines texts = Fields(s);
  SaveSystemSettings(registry_, s);
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    EXPECT_EQ(Read(reg::kLocalMachine, kSettingsKeyPath, kNames[i]), texts[i]) << kNames[i];
  }
  EXPECT_EQ(Read(reg::kCurrentUser, kRunKey, "Quillmere"), FileSystem::Join(shell::ProgramFolder(), "Quillmere.exe"));
  for (const char* name : kBrowserValues) EXPECT_EQ(Read(reg::kCurrentUser, kBrowserMainKeyPath, name), "no") << name;
  EXPECT_EQ(Fields(Load()), texts) << "what was saved loads back unchanged";

  // Switching both off removes the Run value and turns the browser values back to "yes".
  s.RunOnStartupWindows = false;
  s.TurnOffFormsAutoComplete = false;
  SaveSystemSettings(registry_, s);
  EXPECT_EQ(Read(reg::kCurrentUser, kRunKey, "Quillmere"), std::nullopt);
  EXPECT_EQ(Read(reg::kLocalMachine, kSettingsKeyPath, "Run On Startup Windows"), "false");
  for (const char* name : kBrowserValues) EXPECT_EQ(Read(reg::kCurrentUser, kBrowserMainKeyPath, name), "yes") << name;
}

TEST_F(Settings, AMachineKeyThatCannotBeWrittenGivesWayToTheUsersKey) {
  const SettingsRoots refused{kRefusingRoot, reg::kCurrentUser};
  SystemSettings s = Load(refused);
  EXPECT_EQ(Fields(s), kDefaults);
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kSettingsKeyPath));

  s.SecurityFillTimes = 4;
  s.ScheduleType = "interval";
  EXPECT_NO_THROW(SaveSystemSettings(registry_, s, refused));
  EXPECT_EQ(Read(reg::kCurrentUser, kSettingsKeyPath, "Display Max Rows"), "1000");
  EXPECT_EQ(Fields(Load(refused)), Fields(s));

  // Once the user has a key it is the one read and written, even where the machine's key could be written.
  Store("Security Fill Times", "9", reg::kLocalMachine);
  s = Load();
  EXPECT_EQ(s.SecurityFillTimes, 4);
  s.SecurityFillTimes = 5;
  SaveSystemSettings(registry_, s);
  EXPECT_EQ(Read(reg::kCurrentUser, kSettingsKeyPath, "Security Fill Times"), "5");
  EXPECT_EQ(Read(reg::kLocalMachine, kSettingsKeyPath, "Security Fill Times"), "9");
}

TEST(NumericTextTest, RecognisesTheNumberFormsAndConvertsToIntegersRoundingHalvesToEven) {
  for (const char* text : {"12", " 12 ", "-5", "+7", "1.5", ".5", "1,000", "1e3", "2D2", "&H1f", "&O17", "&17"}) {
    EXPECT_TRUE(IsNumericText(text)) << text;
  }
  for (const char* text :
       {"", " ", "abc", "12abc", "1.2.3", "1e", "-", ".", "&H", "&H1g", "&8", "0-5", "0+5", "0 12", "weekly"}) {
    EXPECT_FALSE(IsNumericText(text)) << text;
  }
  EXPECT_DOUBLE_EQ(*TextToNumber("1,000.25"), 1000.25);
  EXPECT_DOUBLE_EQ(*TextToNumber("&H1F"), 31);
  EXPECT_DOUBLE_EQ(*TextToNumber("-2.5e1"), -25);

  const std::pair<const char*, std::optional<int16_t>> shorts[] = {
      {"0480", 480}, {"01.5", 2}, {"02.5", 2}, {"03.5", 4}, {"032767", 32767}, {"032768", {}}, {"0-5", {}}};
  for (const auto& [text, number] : shorts) EXPECT_EQ(TextToInt16(text), number) << text;
  const std::pair<const char*, std::optional<int32_t>> longs[] = {
      {"-1", -1}, {"2147483647", 2147483647}, {"2147483648", {}}, {"1e400", {}}};
  for (const auto& [text, number] : longs) EXPECT_EQ(TextToInt32(text), number) << text;
}

}  // namespace
}  // namespace qm::testing
