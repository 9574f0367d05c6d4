#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "trace/privacy_values.h"
#include "trace/trace_log.h"

namespace qm {

/// The daily log file name of a date: "L", year, two-digit month, two-digit day, ".log" ("L20261205.log").
std::string LogFileNameOf(const LocalDateTime& date);

/// The message shown when today's log is asked for and there is none.
inline constexpr char kNoTodayLogMessage[] =
    "Today Log File doesn't exist. Check Enable File Logging can turn on the logging.";

/// The activity log: one block per logged run (start banner, one line per trace, end banner) appended to the
/// file of the day the run started, in a logs folder. Lines are written in the ANSI code page. File-system
/// failures are not caught here: they reach the caller.
class PrivacyLog : public TraceLog {
 public:
  /// A log that writes into `logsFolder` and takes dates and times from `clock`.
  PrivacyLog(std::string logsFolder, const Clock& clock);
  ~PrivacyLog() override;

  /// Full path of the log file of the current, or else the last, log run; "" before the first.
  std::string LogFileName;

  /// Opens today's file for appending (creating the logs folder and the file as needed) and writes an empty
  /// line, the "-=" line and the start banner.
  void StartLogging();
  /// Writes the end banner, the "-=" line and an empty line, then closes the file.
  void EndLogging();
  bool IsLogging() const { return stream_ != nullptr; }

  /// While a log run is open: one line, the status prefix and where the trace is (TraceLocation).
  void AppendPrivacyValue(const PrivacyValue& pv, std::string_view section = {}) override;
  /// While a log run is open: `AppendPrivacyValue` for each trace, in order.
  void AppendPrivacyValues(const PrivacyValues& values);
  /// While a log run is open: `sLog` as one line.
  void AppendString(const std::string& sLog) override;

  /// Deletes the log files (names "L" + eight digits + ".log", any letter case) of the day that lies
  /// `keepDays` days back (at least one) and of every day before it, read-only or not; other files stay.
  void DeleteExpiredLogs(int keepDays);

  /// The full path of today's log file when it exists.
  std::optional<std::string> TodayLogFile() const;

  const std::string& LogsFolder() const { return logsFolder_; }
  /// Points the log at another folder; takes effect with the next log run.
  void SetLogsFolder(std::string logsFolder) { logsFolder_ = std::move(logsFolder); }

 private:
  void WriteLine(const std::string& line);

  std::string logsFolder_;
  const Clock& clock_;
  std::unique_ptr<TextStream> stream_;
};

}  // namespace qm
