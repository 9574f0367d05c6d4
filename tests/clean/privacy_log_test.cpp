#include "clean/privacy_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "clean/scratch_folder.h"
#include "platform/file_system.h"
#include "settings/system_settings.h"
#include "support/scoped_settings.h"

namespace qm {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

namespace {

const std::string kRule = "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=";

std::string StartBanner(const LocalDateTime& at) {
  return "\r\n" + kRule + "\r\n-=-=-=-=-=              start log at " + GeneralDateText(at) +
         "              -=-=-=-=-=\r\n";
}

std::string EndBanner(const LocalDateTime& at) {
  return "-=-=-=-=-=             end log at " + GeneralDateText(at) + "             -=-=-=-=-=\r\n" + kRule +
         "\r\n\r\n";
}

PrivacyValue Trace(int32_t kind, const std::string& path, const std::string& name, int32_t valueStatus) {
  PrivacyValue pv;
  pv.ValueType = kind;
  pv.Path = path;
  pv.ValueName = name;
  pv.Value = name;
  pv.ValueStatus = valueStatus;
  return pv;
}

}  // namespace

TEST(PrivacyLogTest, FileNameHasTwoDigitMonthAndDay) {
  EXPECT_EQ(LogFileNameOf({2027, 3, 1, 0, 0, 0}), "L20270301.log");
  EXPECT_EQ(LogFileNameOf({2026, 12, 5, 23, 59, 59}), "L20261205.log");
}

TEST(PrivacyLogTest, RunWritesBannersAndOneLinePerTrace) {
  ScratchFolder folder("log-run");
  const LocalDateTime start{2026, 12, 5, 14, 3, 7};
  const LocalDateTime end{2026, 12, 5, 14, 5, 9};
  ManualClock clock(start);
  PrivacyLog log(folder / "logs", clock);

  log.StartLogging();
  EXPECT_TRUE(log.IsLogging());
  EXPECT_EQ(log.LogFileName, FileSystem::Join(folder / "logs", "L20261205.log"));
  log.AppendPrivacyValue(Trace(kinds::kFile, "C:\\Temp\\a.tmp", "a.tmp", status::kErased));
  log.AppendPrivacyValue(Trace(kinds::kFolder, "C:\\Temp\\sub", "sub", status::kFound));
  log.AppendPrivacyValue(Trace(kinds::kRegistryValue, "Software\\X\\url1", "url1", status::kFailed));
  log.AppendPrivacyValue(Trace(kinds::kRegistryKey, "Software\\X\\Sub", "Sub", status::kHeld));
  log.AppendPrivacyValue(Trace(kinds::kFile, "C:\\Cache\\index.dat", "index.dat", status::kFilledBlank));
  log.AppendPrivacyValue(Trace(kinds::kIniEntry, "C:\\app.ini:Recent1", "Recent1", status::kNotSet));
  log.AppendPrivacyValue(Trace(kinds::kFile, "C:\\Caf\xC3\xA9\\menu.txt", "menu.txt", status::kErased));
  log.AppendString("A autocomplete regkey can't be deleted(Access Deny).");
  clock.Set(end);
  log.EndLogging();
  EXPECT_FALSE(log.IsLogging());

  EXPECT_EQ(ReadBytes(log.LogFileName),
            StartBanner(start) +
                "Delete C:\\Temp\\a.tmp\r\n"
                "Find C:\\Temp\\sub\r\n"
                "Unknown url1\r\n"
                "Keep locked Sub\r\n"
                "Fill blank C:\\Cache\\index.dat\r\n"
                "Recent1\r\n"
                "Delete C:\\Caf\xE9\\menu.txt\r\n"
                "A autocomplete regkey can't be deleted(Access Deny).\r\n" +
                EndBanner(end));

  // Between runs nothing is written and the name of the last file stays.
  log.AppendString("ignored");
  log.AppendPrivacyValue(Trace(kinds::kFile, "C:\\x", "x", status::kErased));
  EXPECT_EQ(log.LogFileName, FileSystem::Join(folder / "logs", "L20261205.log"));
  EXPECT_EQ(ReadBytes(log.LogFileName).find("ignored"), std::string::npos);
  EXPECT_EQ(ReadBytes(log.LogFileName).find("C:\\x\r\n"), std::string::npos);
}

TEST(PrivacyLogTest, RunsOfOneDayShareAFileAndARunKeepsItsStartDay) {
  ScratchFolder folder("log-day");
  const LocalDateTime first{2026, 12, 5, 9, 0, 0};
  const LocalDateTime second{2026, 12, 5, 23, 59, 58};
  const LocalDateTime afterMidnight{2026, 12, 6, 0, 0, 3};
  ManualClock clock(first);
  PrivacyLog log(folder / "logs", clock);

  log.StartLogging();
  log.EndLogging();
  clock.Set(second);
  log.StartLogging();
  PrivacyValues values;
  values.AddPrivacyValue(std::make_shared<PrivacyValue>(Trace(kinds::kFile, "/tmp/one", "one", status::kFound)));
  values.AddPrivacyValue(std::make_shared<PrivacyValue>(Trace(kinds::kIniEntry, "a.ini:k", "k", status::kErased)));
  clock.Set(afterMidnight);
  log.AppendPrivacyValues(values);
  log.EndLogging();

  std::string day = FileSystem::Join(folder / "logs", "L20261205.log");
  EXPECT_EQ(log.LogFileName, day);
  EXPECT_EQ(ReadBytes(day), StartBanner(first) + EndBanner(first) + StartBanner(second) +
                                "Find /tmp/one\r\nDelete k\r\n" + EndBanner(afterMidnight));
  EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(folder / "logs", "L20261206.log")));
}

TEST(PrivacyLogTest, WithoutARunNothingIsWritten) {
  ScratchFolder folder("log-off");
  ManualClock clock({2026, 12, 5, 10, 0, 0});
  PrivacyLog log(folder / "logs", clock);
  log.AppendPrivacyValue(Trace(kinds::kFile, "/tmp/a", "a", status::kErased));
  log.AppendString("line");
  log.EndLogging();
  EXPECT_FALSE(std::filesystem::exists(folder / "logs"));
  EXPECT_EQ(log.LogFileName, "");
  EXPECT_FALSE(log.TodayLogFile().has_value());
}

TEST(PrivacyLogTest, TracesRecordedAnywhereReachTheProgramLog) {
  ScratchFolder folder("log-global");
  PrivacyLog& log = ThePrivacyLog();
  EXPECT_EQ(GetTraceLog(), &log);
  std::string programLogs = log.LogsFolder();
  log.SetLogsFolder(folder / "logs");

  log.StartLogging();
  PrivacyValues values;
  values.AddIniFileItem("C:\\app.ini", "Recent1", "abc", status::kErased);
  log.EndLogging();
  log.SetLogsFolder(programLogs);

  EXPECT_NE(ReadBytes(log.LogFileName).find("\r\nDelete Recent1\r\n"), std::string::npos);
}

TEST(PrivacyLogTest, TodayLogIsFoundOnlyWhenItExists) {
  ScratchFolder folder("log-today");
  ManualClock clock({2026, 12, 5, 10, 0, 0});
  PrivacyLog log(folder / "logs", clock);
  std::filesystem::create_directories(folder / "logs");
  WriteBytes(FileSystem::Join(folder / "logs", "L20261204.log"), "yesterday\r\n");
  EXPECT_FALSE(log.TodayLogFile().has_value());

  log.StartLogging();
  log.EndLogging();
  ASSERT_TRUE(log.TodayLogFile().has_value());
  EXPECT_EQ(*log.TodayLogFile(), FileSystem::Join(folder / "logs", "L20261205.log"));
}

TEST(PrivacyLogTest, ExpiredLogsGoAndEverythingElseStays) {
  ScratchFolder folder("log-expire");
  std::string logs = folder / "logs";
  ManualClock clock({2026, 12, 5, 8, 30, 0});
  PrivacyLog log(logs, clock);
  const test::ScopedSettings settings;
  Settings().KeepLogDays = 3;

  // With no logs folder there is nothing to do.
  log.DeleteExpiredLogs();
  EXPECT_FALSE(std::filesystem::exists(logs));

  std::filesystem::create_directories(logs);
  const char* expired[] = {"L20261202.log", "l20261128.log", "L20251231.LOG", "L20261201.log"};
  const char* kept[] = {"L20261203.log", "L20261205.log", "L2026112.log", "L20261128.txt",
                        "old-L20261128.log", "L29991231.log", "L2026120a.log", "L202611280.log"};
  for (const char* name : expired) WriteBytes(FileSystem::Join(logs, name), "x");
  for (const char* name : kept) WriteBytes(FileSystem::Join(logs, name), "x");
  // Read-only logs expire like the others.
  std::filesystem::permissions(FileSystem::Join(logs, "L20261201.log"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);

  log.DeleteExpiredLogs();
  for (const char* name : expired) EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(logs, name))) << name;
  for (const char* name : kept) EXPECT_TRUE(std::filesystem::exists(FileSystem::Join(logs, name))) << name;

  // Keeping one day: yesterday's file goes on the next tick, today's stays.
  WriteBytes(FileSystem::Join(logs, "L20261204.log"), "x");
  Settings().KeepLogDays = 1;
  log.DeleteExpiredLogs();
  EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(logs, "L20261204.log")));
  EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(logs, "L20261203.log")));
  EXPECT_TRUE(std::filesystem::exists(FileSystem::Join(logs, "L20261205.log")));
}

}  // namespace qm
