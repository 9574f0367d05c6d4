#include "discovery/ini_walk.h"

#include <limits>
#include <optional>

#include "discovery/wildcard_match.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace qm {
namespace {

constexpr uint32_t kFirstBufferSize = 1000;
constexpr uint32_t kGrowth = 5;

}  // namespace

std::vector<std::string> ReadIniSection(const std::string& file, const std::string& section) {
  std::string buffer;
  uint32_t size = kFirstBufferSize;
  uint32_t length = profile::GetPrivateProfileSection(section, buffer, size, file);
  // A result of size - 2 says the section did not fit; a buffer that cannot grow further keeps what it got.
  while (length == size - 2 && size <= std::numeric_limits<uint32_t>::max() / kGrowth) {
    size *= kGrowth;
    length = profile::GetPrivateProfileSection(section, buffer, size, file);
  }
  std::vector<std::string> lines;
  if (length < 3) return lines;
  // The length counts characters, the buffer holds UTF-8 bytes: split the whole buffer at its NULs.
  std::size_t start = 0;
  while (start <= buffer.size()) {
    std::size_t end = buffer.find('\0', start);
    if (end == std::string::npos) end = buffer.size();
    if (end > start) lines.push_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void SeekIniEntries(WalkContext& context) {
  const std::string& file = context.Setting(1);
  const std::string& section = context.Setting(2);
  if (!FileSystem().FileExists(file)) return;
  std::optional<WildcardPattern> pattern;
  if (context.SettingCount() >= 3 && !SkipFailure([&] { pattern.emplace(context.Setting(3)); })) return;

  std::vector<std::string> lines;
  if (!SkipFailure([&] { lines = ReadIniSection(file, section); })) return;
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (value.empty() || value == "\"\"") continue;
    if (pattern && !pattern->Matches(key)) continue;
    if (WalkContext::Stopped()) return;
    SkipFailure([&] {
      const auto pv =
          context.Values.AddIniFileItem(file, key, value, context.Clear ? status::kErased : status::kFound);
      context.Report(*pv);
      if (!context.Clear) return;
      bool blanked = false;
      SkipFailure([&] { blanked = profile::WritePrivateProfileString(section, key, std::string(), file); });
      if (!blanked) context.EraseFailed(*pv);
    });
  }
}

}  // namespace qm
