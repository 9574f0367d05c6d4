#include "settings/system_settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "clean/scratch_folder.h"
#include "platform/file_system.h"
#include "platform/registry_backend.h"
#include "platform/shell.h"
#include "registry/reg_key.h"

namespace qm {

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kBrowserKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char* const kBrowserValues[] = {"FormSuggest Passwords", "FormSuggest PW Ask", "Use FormSuggest"};
// A root number that is no predefined root: every call on it is refused, like a machine key that a standard
// user may not create.
constexpr uint32_t kRefusingRoot = 0x80000010u;

void DeleteQuietly(uint32_t root, const std::string& path) {
  try {
    RegKey(root, path).DeleteRegKey(true);
  } catch (const RuntimeError&) {
  }
}

void DeleteValueQuietly(uint32_t root, const std::string& path, const std::string& name) {
  try {
    RegKey(root, path).DeleteRegValue(name);
  } catch (const RuntimeError&) {
  }
}

// The registry every test starts from: no settings key anywhere, no Run value, no browser values; the Linux
// store is a fresh file of the test's own. The settings variables start as before any load.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedStore_ = reg::RegistryStoreFile();
    reg::SetRegistryStoreFile(folder_ / "registry.reg");
    CleanRegistry();
    // Every Windows machine has these; a fresh Linux store does not.
    RegKey(reg::kLocalMachine, "").SetRegKey("Software");
    RegKey(reg::kCurrentUser, "").SetRegKey("Software");
    Settings() = SystemSettings{};
  }
  void TearDown() override {
    CleanRegistry();
    if (!savedStore_.empty()) reg::SetRegistryStoreFile(savedStore_);
    Settings() = SystemSettings{};
  }

  static void CleanRegistry() {
    DeleteQuietly(reg::kLocalMachine, "Software\\Dunvorel");
    DeleteQuietly(reg::kCurrentUser, "Software\\Dunvorel");
    DeleteValueQuietly(reg::kCurrentUser, kRunKey, "Quillmere");
    for (const char* name : kBrowserValues) DeleteValueQuietly(reg::kCurrentUser, kBrowserKey, name);
  }

  static std::optional<std::string> Read(uint32_t root, const std::string& path, const std::string& name) {
    std::optional<RegValue> value = RegKey(root, path).GetRegValue(name);
    if (!value || value->ValueType != reg::kSz) return std::nullopt;
    return value->ValueDataString();
  }

  static void Store(const std::string& name, const std::string& text, uint32_t root = reg::kLocalMachine) {
    RegKey(root, kSettingsKeyPath).SetRegValue(name, reg::kSz, text);
  }

  // Loads with the one value stored (all others missing) and returns the settings.
  static SystemSettings LoadWith(const std::string& name, const std::string& text) {
    DeleteQuietly(reg::kLocalMachine, "Software\\Dunvorel");
    Store(name, text);
    Settings() = SystemSettings{};
    LoadSystemSettings();
    return Settings();
  }

  testing::ScratchFolder folder_{"settings"};
  std::string savedStore_;
};

}  // namespace

TEST_F(SettingsTest, FirstStartCreatesTheKeyAndYieldsTheDefaults) {
  LoadSystemSettings();
  const SystemSettings& s = Settings();
  EXPECT_FALSE(s.RunOnStartupWindows);
  EXPECT_FALSE(s.TurnOffFormsAutoComplete);
  EXPECT_FALSE(s.MonitorStartPage);
  EXPECT_EQ(s.StartPage, "");
  EXPECT_EQ(s.WindowTitle, "");
  EXPECT_EQ(s.ScheduleType, "none");
  EXPECT_EQ(s.ScheduleInterval, 6);
  EXPECT_EQ(s.ScheduleClock, 12);
  EXPECT_EQ(s.SecurityFillTimes, 1);
  EXPECT_FALSE(s.EnableFileLogging);
  EXPECT_EQ(s.KeepLogDays, 1);
  EXPECT_EQ(s.DisplayMaxRows, 1000);

  EXPECT_TRUE(RegKey(reg::kLocalMachine, kSettingsKeyPath).GetRegValue("").has_value());
  EXPECT_FALSE(RegKey(reg::kCurrentUser, kSettingsKeyPath).GetRegValue("").has_value());
}

TEST_F(SettingsTest, StoredTextsLoadWithTheirRulesAndReplacements) {
  EXPECT_TRUE(LoadWith("Run On Startup Windows", "TRUE").RunOnStartupWindows);
  EXPECT_FALSE(LoadWith("Run On Startup Windows", "yes").RunOnStartupWindows);
  EXPECT_TRUE(LoadWith("Enable File Logging", "True").EnableFileLogging);
  EXPECT_TRUE(LoadWith("Monitor Start Page", "true").MonitorStartPage);
  EXPECT_TRUE(LoadWith("Turn Off Forms AutoComplete", "tRuE").TurnOffFormsAutoComplete);
  EXPECT_EQ(LoadWith("Start Page", "http://Example.org/ ").StartPage, "http://Example.org/ ");
  EXPECT_EQ(LoadWith("Window Title", "My Browser").WindowTitle, "My Browser");

  EXPECT_EQ(LoadWith("Schedule Type", "Daily").ScheduleType, "daily");
  EXPECT_EQ(LoadWith("Schedule Type", "INTERVAL").ScheduleType, "interval");
  EXPECT_EQ(LoadWith("Schedule Type", "weekly").ScheduleType, "none");

  EXPECT_EQ(LoadWith("Schedule Interval", "600").ScheduleInterval, 480);
  EXPECT_EQ(LoadWith("Schedule Interval", "abc").ScheduleInterval, 6);
  EXPECT_EQ(LoadWith("Schedule Interval", "-5").ScheduleInterval, 0);
  EXPECT_EQ(LoadWith("Schedule Interval", "30").ScheduleInterval, 30);
  EXPECT_EQ(LoadWith("Schedule Clock", "24").ScheduleClock, 12);
  EXPECT_EQ(LoadWith("Schedule Clock", "0").ScheduleClock, 0);
  EXPECT_EQ(LoadWith("Security Fill Times", "0").SecurityFillTimes, 1);
  EXPECT_EQ(LoadWith("Security Fill Times", "10").SecurityFillTimes, 10);
  EXPECT_EQ(LoadWith("Security Fill Times", "11").SecurityFillTimes, 1);
  EXPECT_EQ(LoadWith("Security Fill Times", "2.5").SecurityFillTimes, 2);
  EXPECT_EQ(LoadWith("Keep Log Days", "5").KeepLogDays, 5);
  EXPECT_EQ(LoadWith("Keep Log Days", "6").KeepLogDays, 1);
  EXPECT_EQ(LoadWith("Display Max Rows", "-1").DisplayMaxRows, 100);
  EXPECT_EQ(LoadWith("Display Max Rows", "").DisplayMaxRows, 1000);
  EXPECT_EQ(LoadWith("Display Max Rows", "0").DisplayMaxRows, 0);
  EXPECT_EQ(LoadWith("Display Max Rows", "250").DisplayMaxRows, 250);
}

TEST_F(SettingsTest, ANumberThatDoesNotConvertKeepsTheEarlierValue) {
  Store("Schedule Interval", "30");
  Store("Keep Log Days", "4");
  LoadSystemSettings();
  EXPECT_EQ(Settings().ScheduleInterval, 30);
  EXPECT_EQ(Settings().KeepLogDays, 4);

  // "0" before "-5" makes no number: the step is skipped and the range rule judges what was there.
  Store("Schedule Interval", "-5");
  Store("Keep Log Days", "-5");
  Store("Schedule Clock", "99999");
  LoadSystemSettings();
  EXPECT_EQ(Settings().ScheduleInterval, 30);
  EXPECT_EQ(Settings().KeepLogDays, 4);
  EXPECT_EQ(Settings().ScheduleClock, 12);
}

TEST_F(SettingsTest, SaveWritesEveryValueAndTheOutsideValues) {
  SystemSettings& s = Settings();
  s.RunOnStartupWindows = true;
  s.TurnOffFormsAutoComplete = true;
  s.MonitorStartPage = true;
  s.StartPage = "http://example.org/";
  s.WindowTitle = "Browser";
  s.ScheduleType = "daily";
  s.ScheduleInterval = 45;
  s.ScheduleClock = 7;
  s.SecurityFillTimes = 3;
  s.EnableFileLogging = true;
  s.KeepLogDays = 2;
  s.DisplayMaxRows = 1234;
  SaveSystemSettings();

  const std::vector<std::pair<const char*, const char*>> expected = {
      {"Run On Startup Windows", "true"}, {"Turn Off Forms AutoComplete", "true"},
      {"Monitor Start Page", "true"},     {"Start Page", "http://example.org/"},
      {"Window Title", "Browser"},        {"Schedule Type", "daily"},
      {"Schedule Interval", "45"},        {"Schedule Clock", "7"},
      {"Security Fill Times", "3"},       {"Enable File Logging", "true"},
      {"Keep Log Days", "2"},             {"Display Max Rows", "1234"}};
  for (const auto& [name, text] : expected) {
    EXPECT_EQ(Read(reg::kLocalMachine, kSettingsKeyPath, name), std::optional<std::string>(text)) << name;
  }
  EXPECT_EQ(Read(reg::kCurrentUser, kRunKey, "Quillmere"),
            std::optional<std::string>(FileSystem::Join(shell::ProgramFolder(), "Quillmere.exe")));
  for (const char* name : kBrowserValues) {
    EXPECT_EQ(Read(reg::kCurrentUser, kBrowserKey, name), std::optional<std::string>("no")) << name;
  }

  // What was saved loads back unchanged.
  Settings() = SystemSettings{};
  LoadSystemSettings();
  EXPECT_EQ(Settings().StartPage, "http://example.org/");
  EXPECT_EQ(Settings().ScheduleType, "daily");
  EXPECT_EQ(Settings().ScheduleInterval, 45);
  EXPECT_EQ(Settings().ScheduleClock, 7);
  EXPECT_EQ(Settings().SecurityFillTimes, 3);
  EXPECT_EQ(Settings().KeepLogDays, 2);
  EXPECT_EQ(Settings().DisplayMaxRows, 1234);
  EXPECT_TRUE(Settings().RunOnStartupWindows && Settings().TurnOffFormsAutoComplete &&
              Settings().MonitorStartPage && Settings().EnableFileLogging);

  // Switching both off removes the Run value and turns the browser values back to "yes".
  Settings().RunOnStartupWindows = false;
  Settings().TurnOffFormsAutoComplete = false;
  SaveSystemSettings();
  EXPECT_EQ(Read(reg::kCurrentUser, kRunKey, "Quillmere"), std::nullopt);
  EXPECT_EQ(Read(reg::kLocalMachine, kSettingsKeyPath, "Run On Startup Windows"),
            std::optional<std::string>("false"));
  for (const char* name : kBrowserValues) {
    EXPECT_EQ(Read(reg::kCurrentUser, kBrowserKey, name), std::optional<std::string>("yes")) << name;
  }
}

TEST_F(SettingsTest, SavingDefaultsWithoutARunValueSucceeds) {
  LoadSystemSettings();
  EXPECT_NO_THROW(SaveSystemSettings());
  EXPECT_EQ(Read(reg::kCurrentUser, kRunKey, "Quillmere"), std::nullopt);
  for (const char* name : kBrowserValues) {
    EXPECT_EQ(Read(reg::kCurrentUser, kBrowserKey, name), std::optional<std::string>("yes")) << name;
  }
  EXPECT_EQ(Read(reg::kLocalMachine, kSettingsKeyPath, "Display Max Rows"), std::optional<std::string>("1000"));
}

TEST_F(SettingsTest, AMachineKeyThatCannotBeWrittenGivesWayToTheUsersKey) {
  const SettingsRoots refused{kRefusingRoot, reg::kCurrentUser};
  LoadSystemSettings(refused);
  EXPECT_EQ(Settings().DisplayMaxRows, 1000);
  EXPECT_FALSE(RegKey(reg::kCurrentUser, kSettingsKeyPath).GetRegValue("").has_value());

  Settings().SecurityFillTimes = 4;
  Settings().ScheduleType = "interval";
  EXPECT_NO_THROW(SaveSystemSettings(refused));
  EXPECT_EQ(Read(reg::kCurrentUser, kSettingsKeyPath, "Security Fill Times"), std::optional<std::string>("4"));
  EXPECT_EQ(Read(reg::kCurrentUser, kSettingsKeyPath, "Schedule Type"), std::optional<std::string>("interval"));
  EXPECT_EQ(Read(reg::kCurrentUser, kSettingsKeyPath, "Display Max Rows"), std::optional<std::string>("1000"));

  Settings() = SystemSettings{};
  LoadSystemSettings(refused);
  EXPECT_EQ(Settings().SecurityFillTimes, 4);
  EXPECT_EQ(Settings().ScheduleType, "interval");

  // Once the user has a key it is the one read and written, even where the machine's key could be written.
  Store("Security Fill Times", "9", reg::kLocalMachine);
  Settings() = SystemSettings{};
  LoadSystemSettings();
  EXPECT_EQ(Settings().SecurityFillTimes, 4);
  Settings().SecurityFillTimes = 5;
  SaveSystemSettings();
  EXPECT_EQ(Read(reg::kCurrentUser, kSettingsKeyPath, "Security Fill Times"), std::optional<std::string>("5"));
  EXPECT_EQ(Read(reg::kLocalMachine, kSettingsKeyPath, "Security Fill Times"), std::optional<std::string>("9"));
}

}  // namespace qm
