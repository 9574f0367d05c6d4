#include "clean/privacy_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/file_system.h"
#include "platform/registry_backend.h"
#include "support/registry_fixture.h"
#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

PrivacyValue Trace(TraceKind kind, const std::string& path, const std::string& name, TraceStatus status,
                   uint32_t root = 0) {
  return {.Path = path, .ValueName = name, .ValueType = kind, .Value = name, .RootKey = root, .ValueStatus = status};
}

TEST(PrivacyLog, RunsWriteBannersAndOneLinePerTraceIntoTheFileOfTheDayTheyStarted) {
  EXPECT_EQ(LogFileNameOf({2027, 3, 1, 0, 0, 0}), "L20270301.log");
  ScratchFolder folder("log-run");
  const std::string logs = folder / "logs";
  ManualClock clock({2026, 12, 5, 14, 3, 7});
  PrivacyLog log(logs, clock);
  // Without a run nothing is written, not even the folder.
  log.AppendPrivacyValue(Trace(TraceKind::File, "/tmp/a", "a", TraceStatus::Erased));
  log.AppendString("line");
  log.EndLogging();
  EXPECT_FALSE(std::filesystem::exists(logs));
  EXPECT_EQ(log.LogFileName, "");
  folder.Write("logs/L20261204.log", "yesterday\r\n");
  EXPECT_FALSE(log.TodayLogFile().has_value());

  log.StartLogging();
  EXPECT_TRUE(log.IsLogging());
  const std::string today = FileSystem::Join(logs, "L20261205.log");
  EXPECT_EQ(log.LogFileName, today);
  PrivacyValues values;
  for (const PrivacyValue& pv :
       {Trace(TraceKind::File, "C:\\Temp\\a.tmp", "a.tmp", TraceStatus::Erased),
        Trace(TraceKind::Folder, "C:\\Temp\\sub", "sub", TraceStatus::Found),
        Trace(TraceKind::RegistryValue, "Software\\X\\url1", "url1", TraceStatus::Failed, reg::kCurrentUser),
        Trace(TraceKind::RegistryKey, "Software\\X\\Sub", "Sub", TraceStatus::Held, reg::kLocalMachine),
        Trace(TraceKind::File, "C:\\Cache\\index.dat", "index.dat", TraceStatus::FilledBlank),
        Trace(TraceKind::File, "C:\\Caf\xC3\xA9\\menu.txt", "menu.txt", TraceStatus::Erased)}) {
    values.AddPrivacyValue(std::make_shared<PrivacyValue>(pv));
  }
  log.AppendPrivacyValues(values);
  log.AppendPrivacyValue(Trace(TraceKind::IniEntry, "C:\\app.ini:Recent1", "Recent1", TraceStatus::NotSet), "Files");
  log.AppendString("A autocomplete regkey can't be deleted(Access Deny).");
  clock.Set({2026, 12, 5, 14, 5, 9});
  log.EndLogging();
  EXPECT_FALSE(log.IsLogging());
  EXPECT_EQ(log.TodayLogFile(), today);

  // Between runs nothing is written. A run that goes on past midnight stays in the file of its start.
  log.AppendString("ignored");
  clock.Set({2026, 12, 5, 23, 59, 58});
  log.StartLogging();
  clock.Set({2026, 12, 6, 0, 0, 3});
  log.AppendPrivacyValue(Trace(TraceKind::File, "/tmp/one", "one", TraceStatus::Found));
  log.EndLogging();
  EXPECT_EQ(log.LogFileName, today);
  EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(logs, "L20261206.log")));
  // Both runs between their banners, with CR LF line ends and the accented path in the ANSI code page.
  EXPECT_EQ(ReadBytes(today), ReadBytes(FixturePath("clean/two_runs.log")));
}

TEST(PrivacyLog, ExpiredLogsGoAndEverythingElseStays) {
  ScratchFolder folder("log-expire");
  const std::string logs = folder / "logs";
  ManualClock clock({2026, 12, 5, 8, 30, 0});
  PrivacyLog log(logs, clock);
  // With no logs folder there is nothing to do.
  log.DeleteExpiredLogs(3);
  EXPECT_FALSE(std::filesystem::exists(logs));

  const char* expired[] = {"L20261202.log", "l20261128.log", "L20251231.LOG", "L20261201.log"};
  const char* kept[] = {"L20261203.log",     "L20261205.log", "L2026112.log",  "L20261128.txt",
                        "old-L20261128.log", "L29991231.log", "L2026120a.log", "L202611280.log"};
  for (const char* name : expired) folder.Write("logs/" + std::string(name), "x");
  for (const char* name : kept) folder.Write("logs/" + std::string(name), "x");
  // Read-only logs expire like the others.
  std::filesystem::permissions(FileSystem::Join(logs, "L20261201.log"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  log.DeleteExpiredLogs(3);
  for (const char* name : expired) EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(logs, name))) << name;
  for (const char* name : kept) EXPECT_TRUE(std::filesystem::exists(FileSystem::Join(logs, name))) << name;

  // Fewer than one day keeps one: yesterday's file goes, today's stays.
  folder.Write("logs/L20261204.log", "x");
  log.DeleteExpiredLogs(0);
  EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(logs, "L20261204.log")));
  EXPECT_FALSE(std::filesystem::exists(FileSystem::Join(logs, "L20261203.log")));
  EXPECT_TRUE(std::filesystem::exists(FileSystem::Join(logs, "L20261205.log")));
}

}  // namespace
}  // namespace qm::testing
