#include "clean/privacy_log.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/text.h"
#include "trace/trace_text.h"

namespace qm {

namespace {

constexpr char kBannerEdge[] = "-=-=-=-=-=";

std::string RuleLine() {
  std::string line;
  for (int i = 0; i < 40; ++i) line += "-=";
  return line;
}

// "l" + eight decimal digits + ".log", on the lower-cased name.
bool IsLogFileName(const std::string& lowerName) {
  if (lowerName.size() != 13 || lowerName[0] != 'l' || lowerName.compare(9, 4, ".log") != 0) return false;
  for (std::size_t i = 1; i <= 8; ++i) {
    if (lowerName[i] < '0' || lowerName[i] > '9') return false;
  }
  return true;
}

}  // namespace

std::string LogFileNameOf(const LocalDateTime& date) {
  char name[32];
  std::snprintf(name, sizeof name, "L%04d%02d%02d.log", date.Year, date.Month % 100, date.Day % 100);
  return name;
}

PrivacyLog::PrivacyLog(std::string logsFolder, const Clock& clock)
    : logsFolder_(std::move(logsFolder)), clock_(clock) {}

PrivacyLog::~PrivacyLog() {
  // Whatever a run wrote stays; a close that fails at teardown has nobody left to tell.
  if (stream_) {
    try {
      stream_->Close();
    } catch (const RuntimeError&) {
    }
  }
}

void PrivacyLog::StartLogging() {
  FileSystem fs;
  LocalDateTime now = clock_.Now();
  if (!fs.FolderExists(logsFolder_)) fs.CreateFolder(logsFolder_);
  LogFileName = FileSystem::Join(logsFolder_, LogFileNameOf(now));
  // A run still open (its end never came) is closed first, so its lines are kept.
  if (stream_) std::exchange(stream_, nullptr)->Close();
  stream_ = fs.OpenTextFile(LogFileName, IoMode::ForAppending, true);
  stream_->WriteBlankLines(1);
  WriteLine(RuleLine());
  WriteLine(std::string(kBannerEdge) + std::string(14, ' ') + "start log at " + GeneralDateText(now) +
            std::string(14, ' ') + kBannerEdge);
}

void PrivacyLog::EndLogging() {
  if (!stream_) return;
  WriteLine(std::string(kBannerEdge) + std::string(13, ' ') + "end log at " + GeneralDateText(clock_.Now()) +
            std::string(13, ' ') + kBannerEdge);
  WriteLine(RuleLine());
  stream_->WriteBlankLines(1);
  std::exchange(stream_, nullptr)->Close();
}

void PrivacyLog::AppendPrivacyValue(const PrivacyValue& pv, std::string_view section) {
  if (stream_) WriteLine(LogPrefix(pv.ValueStatus) + TraceLocation(pv, section));
}

void PrivacyLog::AppendPrivacyValues(const PrivacyValues& values) {
  if (!stream_) return;
  for (const auto& pv : values) AppendPrivacyValue(*pv);
}

void PrivacyLog::AppendString(const std::string& sLog) {
  if (stream_) WriteLine(sLog);
}

void PrivacyLog::DeleteExpiredLogs(int keepDays) {
  FileSystem fs;
  if (!fs.FolderExists(logsFolder_)) return;
  // Settings not yet loaded hold 0 days, which would take today's log too: at least one day is kept.
  keepDays = std::max(1, keepDays);
  std::string cutOff = text::ToLowerAscii(LogFileNameOf(AddDays(clock_.Now(), -keepDays)));
  for (const File& file : fs.GetFolder(logsFolder_).Files()) {
    std::string name = text::ToLowerAscii(file.Name);
    // Names of one fixed form compare as their dates do; a future date sorts after every cut-off.
    if (IsLogFileName(name) && name <= cutOff) fs.RemoveFile(file.Path, true);
  }
}

std::optional<std::string> PrivacyLog::TodayLogFile() const {
  std::string path = FileSystem::Join(logsFolder_, LogFileNameOf(clock_.Now()));
  if (!FileSystem().FileExists(path)) return std::nullopt;
  return path;
}

void PrivacyLog::WriteLine(const std::string& line) { stream_->WriteLine(text::Utf8ToAnsi(line)); }

}  // namespace qm
