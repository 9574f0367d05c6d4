#include "cli/json.h"
#include "cli/show_clear.h"
#include "platform/text.h"
#include "trace/trace_text.h"

namespace qm::cli {
namespace {

/// File names on Linux may be any bytes; JSON must be UTF-8, so malformed bytes become U+FFFD.
void AppendText(std::string& out, const std::string& s) {
  AppendJsonString(out, text::IsValidUtf8(s) ? s : text::Utf16ToUtf8(text::Utf8ToUtf16(s)));
}

std::string Json(const std::string& s) {
  std::string quoted;
  AppendText(quoted, s);
  return quoted;
}

}  // namespace

std::string TraceJson(const std::string& software, const std::string& item, const PrivacyValue& pv) {
  // One string built in place: this runs once per trace and is most of what show does beyond the walk.
  std::string line;
  line.reserve(128 + software.size() + item.size() + pv.Path.size() + pv.ValueName.size() + pv.Value.size());
  line += "{\"software\":";
  AppendText(line, software);
  line += ",\"item\":";
  AppendText(line, item);
  line += ",\"kind\":" + std::to_string(static_cast<int>(pv.ValueType)) + ",\"path\":";
  AppendText(line, pv.Path);
  line += ",\"name\":";
  AppendText(line, pv.ValueName);
  line += ",\"value\":";
  AppendText(line, pv.Value);
  line +=
      ",\"size\":" + std::to_string(pv.Size) + ",\"status\":" + std::to_string(static_cast<int>(pv.ValueStatus)) + "}";
  return line;
}

std::string ProblemJson(const std::string& path, const RuntimeError& error) {
  return "{\"error\":{\"code\":" + std::to_string(error.Number()) +
         ",\"message\":" + Json("cannot read " + path + ": " + error.Description()) + ",\"path\":" + Json(path) + "}}";
}

std::string SummaryJson(const std::string& node, const RunTotals& totals) {
  std::string line = "{\"summary\":{\"node\":" + Json(node) + ",\"traces\":" + std::to_string(totals.Count) +
                     ",\"bytes\":" + std::to_string(totals.Bytes) + ",\"failed\":" + std::to_string(totals.Failed) +
                     ",\"unreadable\":" + std::to_string(totals.Unreadable) +
                     ",\"stopped\":" + (totals.Stopped ? "true" : "false");
  if (!totals.LogFileName.empty()) line += ",\"log\":" + Json(totals.LogFileName);
  return line + "}}";
}

std::string SummaryText(const RunTotals& totals) {
  std::string line = totals.StatusText + ": " + std::to_string(totals.Count) + " traces, " + SizeText(totals.Bytes);
  if (totals.Failed > 0) line += ", " + std::to_string(totals.Failed) + " not erased";
  if (totals.Unreadable > 0) line += ", " + std::to_string(totals.Unreadable) + " folders not readable";
  if (totals.Stopped) line += ", stopped";
  return line;
}

std::string TraceText(const PrivacyValue& pv) { return std::string(StatusWord(pv.ValueStatus)) + "\t" + pv.Path; }

}  // namespace qm::cli
