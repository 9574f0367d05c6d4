#include <cstdio>

#include "cli/json.h"
#include "cli/show_clear.h"
#include "platform/text.h"

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

const char* StatusWord(int32_t valueStatus) {
  switch (valueStatus) {
    case status::kFound:
      return "Find";
    case status::kErased:
      return "Delete";
    case status::kFilledBlank:
      return "Fill blank";
    case status::kHeld:
      return "Keep locked";
    case status::kFailed:
      return "Unknown";
    default:
      return "";
  }
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
  line += ",\"kind\":" + std::to_string(pv.ValueType) + ",\"path\":";
  AppendText(line, pv.Path);
  line += ",\"name\":";
  AppendText(line, pv.ValueName);
  line += ",\"value\":";
  AppendText(line, pv.Value);
  line += ",\"size\":" + std::to_string(pv.Size) + ",\"status\":" + std::to_string(pv.ValueStatus) + "}";
  return line;
}

std::string SummaryJson(const std::string& node, int64_t traces, int64_t bytes, int64_t failed) {
  return "{\"summary\":{\"node\":" + Json(node) + ",\"traces\":" + std::to_string(traces) +
         ",\"bytes\":" + std::to_string(bytes) + ",\"failed\":" + std::to_string(failed) + "}}";
}

std::string TraceText(const PrivacyValue& pv) {
  return std::string(StatusWord(pv.ValueStatus)) + "\t" + pv.Path;
}

std::string SizeText(int64_t bytes) {
  // Hundredths of a kilobyte, rounded half away from zero as the format rounds.
  const int64_t hundredths = (bytes >= 0 ? bytes + 5 : bytes - 5) / 10;
  const int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
  std::string whole = std::to_string(magnitude / 100);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
    whole.insert(static_cast<std::size_t>(i), ",");
  char cents[4];
  std::snprintf(cents, sizeof cents, "%02d", static_cast<int>(magnitude % 100));
  return (hundredths < 0 ? "-" : "") + whole + "." + cents + " K";
}

}  // namespace qm::cli
