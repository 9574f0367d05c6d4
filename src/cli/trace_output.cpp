#include "cli/display_text.h"
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

/// "1 trace", "2 traces".
std::string Counted(int64_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string_view TraceWord(TraceStatus status) {
  switch (status) {
    case TraceStatus::Erased: return "erased";
    case TraceStatus::FilledBlank: return "overwritten";
    case TraceStatus::Held: return "held";
    case TraceStatus::Failed: return "failed";
    case TraceStatus::Found:
    case TraceStatus::NotSet: break;
  }
  return "found";
}

}  // namespace

std::string TraceJson(const std::string& software, const std::string& item, const PrivacyValue& pv) {
  // One string built in place: this runs once per trace and is most of what show does beyond the walk.
  const std::string location = TraceLocation(pv);
  std::string line;
  line.reserve(128 + software.size() + item.size() + pv.Path.size() + pv.ValueName.size() + pv.Value.size() +
               location.size());
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
  line += ",\"size\":" + std::to_string(pv.Size) + ",\"status\":" + std::to_string(static_cast<int>(pv.ValueStatus)) +
          ",\"location\":";
  AppendText(line, location);
  return line + "}";
}

std::string UnreadableJson(const std::string& path, const RuntimeError& error) {
  return "{\"unreadable\":{\"path\":" + Json(path) + ",\"code\":" + std::to_string(error.Number()) +
         ",\"message\":" + Json("cannot read " + path + ": " + error.Description()) + "}}";
}

std::string SummaryJson(const std::vector<std::string>& nodes, const RunResults& results) {
  std::string line = "{\"summary\":{";
  if (nodes.size() == 1) {
    line += "\"node\":" + Json(nodes.front());
  } else {
    line += "\"nodes\":[";
    for (std::size_t i = 0; i < nodes.size(); ++i) line += (i == 0 ? "" : ",") + Json(nodes[i]);
    line += "]";
  }
  const TraceTally tally = results.Tally();
  line += ",\"traces\":" + std::to_string(tally.traces) + ",\"bytes\":" + std::to_string(tally.bytes) +
          ",\"failed\":" + std::to_string(tally.failed) + ",\"erased\":" + std::to_string(tally.erased) +
          ",\"kept\":" + std::to_string(tally.kept) + ",\"held\":" + std::to_string(tally.held) +
          ",\"unreadable\":" + std::to_string(results.Unreadable()) +
          ",\"stopped\":" + (results.Stopped() ? "true" : "false");
  if (const std::string log = results.LogFileName(); !log.empty()) line += ",\"log\":" + Json(log);
  return line + "}}";
}

std::string SummaryText(const RunResults& results, bool human) {
  const TraceTally tally = results.Tally();
  std::string line = EscapedText(results.StatusText()) + ": " + Counted(tally.traces, "trace") + ", " +
                     (human ? HumanSize(tally.bytes) : SizeText(tally.bytes)) + "; " + std::to_string(tally.erased) +
                     " erased";
  if (tally.overwritten > 0) line += " (" + std::to_string(tally.overwritten) + " overwritten)";
  line += ", " + std::to_string(tally.kept) + " kept, " + std::to_string(tally.held) + " held, " +
          std::to_string(tally.failed) + " failed";
  if (results.Unreadable() > 0) line += "; " + Counted(results.Unreadable(), "folder") + " not readable";
  if (results.Stopped()) line += "; stopped";
  return line;
}

std::string TraceText(const PrivacyValue& pv) {
  return std::string(TraceWord(pv.ValueStatus)) + "\t" + EscapedText(TraceLocation(pv));
}

}  // namespace qm::cli
