#include "discovery/ini_walk.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>

#include "config/seek_rules.h"
#include "discovery/seek_entries.h"
#include "discovery/wildcard_match.h"
#include "platform/private_profile.h"

namespace qm {

namespace {

constexpr uint32_t kFirstBufferSize = 1000;
constexpr uint32_t kLargestFirstBuffer = 64u << 20;
constexpr uint32_t kGrowth = 5;

/// One line of a section split at its first "=".
struct IniLine {
  std::string key;
  std::string value;
};

std::optional<IniLine> SplitLine(const std::string& line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos || equals == 0) return std::nullopt;
  return IniLine{line.substr(0, equals), line.substr(equals + 1)};
}

}  // namespace

std::vector<std::string> ReadIniSection(const std::string& file, const std::string& section) {
  std::string buffer;
  // No section holds more characters than its file has bytes: a buffer that size is read once, where
  // growing from a small one would read a large file many times over.
  const uint64_t fileSize = FileSystem().FileSize(file) + 2;
  uint32_t size = static_cast<uint32_t>(std::clamp<uint64_t>(fileSize, kFirstBufferSize, kLargestFirstBuffer));
  uint32_t length = profile::ReadSection(section, buffer, size, file);
  // A result of size - 2 says the section did not fit; a buffer that cannot grow further keeps what it got.
  while (length == size - 2 && size <= std::numeric_limits<uint32_t>::max() / kGrowth) {
    size *= kGrowth;
    length = profile::ReadSection(section, buffer, size, file);
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

namespace {

/// The entries of one ini file.
void SeekIniFile(WalkContext& context, const std::string& file) {
  const std::string& section = context.Setting(2);
  if (!FileSystem().FileExists(file)) return;
  std::optional<WildcardPattern> pattern;
  if (context.SettingCount() >= 3 && !SkipFailure([&] { pattern.emplace(context.Setting(3)); })) return;

  std::vector<std::string> lines;
  if (!SkipFailure([&] { lines = ReadIniSection(file, section); })) return;
  // Every entry is blanked in one write of the file at the end; the log then tells what that write did.
  context.DeferLog();
  std::vector<profile::IniEntry> entries;
  std::vector<std::shared_ptr<PrivacyValue>> traces;
  std::map<std::string, uint32_t> occurrences;  // a key may stand twice, also in two letter cases
  for (const std::string& line : lines) {
    const std::optional<IniLine> entry = SplitLine(line);
    if (!entry) continue;
    const uint32_t occurrence = occurrences[profile::FoldedKey(entry->key)]++;
    if (entry->value.empty() || entry->value == "\"\"") continue;
    if (pattern && !pattern->Matches(entry->key)) continue;
    if (context.Stopped()) break;
    SkipFailure([&] {
      const auto pv = context.Values.AddIniFileItem(file, entry->key, entry->value,
                                                    context.Clear ? TraceStatus::Erased : TraceStatus::Found);
      context.Report(*pv, section);
      entries.push_back({entry->key, occurrence});
      traces.push_back(pv);
    });
  }
  if (context.Clear && !entries.empty()) {
    std::vector<bool> blanked(entries.size(), false);
    SkipFailure([&] { blanked = profile::BlankEntries(file, section, entries); });
    for (std::size_t i = 0; i < traces.size(); ++i) {
      if (i >= blanked.size() || !blanked[i]) traces[i]->ValueStatus = TraceStatus::Failed;
    }
  }
  context.LogDeferred(false);
}

}  // namespace

void SeekIniEntries(WalkContext& context) {
  const std::string file = SeekPathSetting(context.Item, 1);
  if (file.empty()) return;
  if (!HasWildcard(file)) {
    SeekIniFile(context, file);
    return;
  }
  ForEachSeekEntry(context, file, SeekTarget::Any, [&](FolderHandle& folder, const FolderEntry& entry) {
    if (entry.Kind == EntryKind::File) SeekIniFile(context, folder.PathOf(entry.Name));
  });
}

}  // namespace qm
