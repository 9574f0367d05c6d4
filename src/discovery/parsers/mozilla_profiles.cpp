#include "discovery/parsers/mozilla_profiles.h"

#include <memory>

#include "config/seek_rules.h"

namespace qm {

namespace {

/// The real sub-folders of `folder`, each passed to `visit` while it returns true; false once it did not.
bool ForEachSubFolder(const FolderHandle& folder, const std::function<bool(const FolderHandle&)>& visit) {
  for (const FolderEntry& entry : folder.Read(false)) {
    if (entry.Kind != EntryKind::Folder || entry.Foreign) continue;
    if (!visit(folder.OpenFolder(entry))) return false;
  }
  return true;
}

}  // namespace

void ForEachMozillaProfile(const WalkContext& context, const std::function<bool(const FolderHandle& profile)>& visit) {
  const std::string profiles = SeekPathSetting(context.Item, 2);
  if (profiles.empty() || !FileSystem().FolderExists(profiles)) return;
  ForEachSubFolder(FolderHandle::Open(profiles),
                   [&](const FolderHandle& profile) { return ForEachSubFolder(profile, visit); });
}

void ParseMozillaFile(WalkContext& context, const FolderHandle& folder, const FolderEntry& file) {
  std::shared_ptr<PrivacyValue> pv =
      context.Values.AddFile(File{file.Name, folder.PathOf(file.Name), file.Size, ""}, TraceStatus::Found);
  if (context.Clear) context.EraseFile(folder, file, *pv, FillRule::Always);
  context.Report(*pv);
}

}  // namespace qm
