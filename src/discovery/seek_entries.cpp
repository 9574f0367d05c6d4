#include "discovery/seek_entries.h"

#include <optional>
#include <string_view>
#include <vector>

#include "discovery/wildcard_match.h"

namespace qm {

namespace {

/// A seek path cut before its first wildcard segment (before its last segment when it has none): the folder
/// to open by path, and the segments to look up below it.
struct SplitPath {
  std::string base;
  std::vector<std::string> segments;
};

std::optional<SplitPath> Split(const std::string& path) {
  const char separator = FileSystem::Separator();
  std::vector<std::string> parts;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find(separator, start);
    if (end == std::string::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  std::size_t first = parts.size() - 1;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (HasWildcard(parts[i])) {
      first = i;
      break;
    }
  }
  if (first == 0 || parts[first].empty()) return std::nullopt;
  SplitPath split;
  for (std::size_t i = 0; i < first; ++i) split.base += (i ? std::string(1, separator) : "") + parts[i];
  // A root keeps its separator: "/" and "C:\" are folders, "" and "C:" are not.
  if (split.base.empty() || split.base.back() == ':') split.base += separator;
  split.segments.assign(parts.begin() + static_cast<std::ptrdiff_t>(first), parts.end());
  return split;
}

class Expansion {
 public:
  Expansion(WalkContext& context, SeekTarget target,
            const std::function<void(FolderHandle&, const FolderEntry&)>& visit, std::vector<std::string> segments)
      : context_(context), target_(target), visit_(visit), segments_(std::move(segments)) {}

  void Descend(FolderHandle& folder, std::size_t level) {
    const bool last = level + 1 == segments_.size();
    for (const FolderEntry& entry : Candidates(folder, segments_[level])) {
      if (context_.Stopped()) return;
      if (last) {
        if (entry.Kind == EntryKind::Folder || target_ == SeekTarget::Any) visit_(folder, entry);
        continue;
      }
      if (entry.Kind != EntryKind::Folder) continue;
      std::optional<FolderHandle> child;
      if (SkipFailure([&] { child.emplace(folder.OpenFolder(entry)); })) Descend(*child, level + 1);
    }
  }

 private:
  /// The entries of `folder` that `segment` names.
  std::vector<FolderEntry> Candidates(FolderHandle& folder, const std::string& segment) {
    std::vector<FolderEntry> found;
    std::optional<FolderEntry> exact;
    SkipFailure([&] { exact = folder.Find(segment); });
    if (exact || !HasWildcard(segment)) {
      if (exact) found.push_back(std::move(*exact));
      return found;
    }
    SkipFailure(
        [&] {
          const WildcardPattern pattern(segment);
          for (FolderEntry& entry : folder.Read(false)) {
            if (!entry.Foreign && pattern.Matches(entry.Name)) found.push_back(std::move(entry));
          }
        },
        [&](const RuntimeError& error) { context_.Problem(folder.Path(), error); });
    return found;
  }

  WalkContext& context_;
  SeekTarget target_;
  const std::function<void(FolderHandle&, const FolderEntry&)>& visit_;
  std::vector<std::string> segments_;
};

}  // namespace

void ForEachSeekEntry(WalkContext& context, const std::string& path, SeekTarget target,
                      const std::function<void(FolderHandle& parent, const FolderEntry& entry)>& visit) {
  std::optional<SplitPath> split = Split(path);
  if (!split) return;
  std::optional<FolderHandle> base;
  if (!SkipFailure([&] { base.emplace(FolderHandle::Open(split->base)); })) return;
  Expansion(context, target, visit, std::move(split->segments)).Descend(*base, 0);
}

}  // namespace qm
