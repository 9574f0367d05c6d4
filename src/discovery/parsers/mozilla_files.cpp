#include "discovery/parsers/mozilla_files.h"

#include <optional>

#include "discovery/parsers/mozilla_profiles.h"

namespace qm {

namespace {

bool IsFileOrLink(const FolderEntry& entry) {
  return !entry.Foreign && (entry.Kind == EntryKind::File || (entry.Kind == EntryKind::Link && !entry.LinkToFolder));
}

/// The file `name` of each profile.
void ParseProfileFile(WalkContext& context, const std::string& name) {
  ForEachMozillaProfile(context, [&](const FolderHandle& profile) {
    const std::optional<FolderEntry> file = profile.Find(name);
    if (!file || !IsFileOrLink(*file)) return true;
    if (context.Stopped()) return false;
    ParseMozillaFile(context, profile, *file);
    return true;
  });
}

}  // namespace

void ParseMozillaHistoryFile(WalkContext& context) { ParseProfileFile(context, "history.dat"); }

void ParseMozillaCookies(WalkContext& context) { ParseProfileFile(context, "cookies.txt"); }

void ParseMozillaCacheFiles(WalkContext& context) {
  ForEachMozillaProfile(context, [&](const FolderHandle& profile) {
    const std::optional<FolderEntry> cacheEntry = profile.Find("Cache");
    if (!cacheEntry || cacheEntry->Kind != EntryKind::Folder) return true;
    const FolderHandle cache = profile.OpenFolder(*cacheEntry);
    for (const FolderEntry& file : cache.Read()) {
      if (!IsFileOrLink(file)) continue;
      if (context.Stopped()) return false;
      ParseMozillaFile(context, cache, file);
    }
    return true;
  });
}

}  // namespace qm
