#include "config/winapp2_ini.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/text.h"

namespace qm {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

/// The text of the next line from `at` on, without its line end; moves `at` past the line end.
std::string_view NextLine(std::string_view text, std::size_t& at) {
  const std::size_t end = std::min(text.find('\n', at), text.size());
  std::string_view line = text.substr(at, end - at);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  at = end + 1;
  return line;
}

Winapp2Entry SectionOf(const std::string& line, int64_t number) {
  const std::size_t close = line.rfind(']');
  if (close == std::string::npos) FailWinapp2Line(number, "the section line has no \"]\"");
  Winapp2Entry entry{TrimWinapp2(std::string_view(line).substr(1, close - 1)), number, {}};
  if (entry.name.empty()) FailWinapp2Line(number, "the section has no name");
  return entry;
}

}  // namespace

std::string TrimWinapp2(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

void FailWinapp2Line(int64_t line, const std::string& what) {
  throw RuntimeError(kWinapp2Syntax, "Winapp2Import", "line " + std::to_string(line) + ": " + what);
}

std::vector<Winapp2Entry> ReadWinapp2Entries(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  std::vector<Winapp2Entry> entries;
  int64_t number = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::string_view raw = NextLine(text, at);
    ++number;
    if (!text::IsValidUtf8(raw)) FailWinapp2Line(number, "the line is not UTF-8 text");
    const std::string line = TrimWinapp2(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      entries.push_back(SectionOf(line, number));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) FailWinapp2Line(number, "the line has no \"=\"");
    if (entries.empty()) FailWinapp2Line(number, "a key comes before the first [section]");
    entries.back().keys.push_back({TrimWinapp2(std::string_view(line).substr(0, equals)),
                                   TrimWinapp2(std::string_view(line).substr(equals + 1)), number});
  }
  return entries;
}

}  // namespace qm
