#include "discovery/file_walks.h"

#include <optional>
#include <utility>

#include "config/seek_rules.h"
#include "discovery/folder_tree.h"
#include "discovery/protected_folders.h"
#include "discovery/wildcard_match.h"

namespace qm {

namespace {

/// The folder `path` names and the entry it ends in, when both exist: the parent opened as a folder, the
/// last name looked up in it without following it.
std::optional<std::pair<FolderHandle, FolderEntry>> OpenEntry(const std::string& path) {
  const std::size_t separator = path.find_last_of(FileSystem::Separator());
  if (separator == std::string::npos || separator + 1 == path.size()) return std::nullopt;
  const std::string parent =
      separator == 0 || path[separator - 1] == ':' ? path.substr(0, separator + 1) : path.substr(0, separator);
  FolderHandle folder = FolderHandle::Open(parent);
  std::optional<FolderEntry> entry = folder.Find(path.substr(separator + 1));
  if (!entry) return std::nullopt;
  return std::make_pair(std::move(folder), std::move(*entry));
}

}  // namespace

void SeekFiles(WalkContext& context) {
  const std::string target = SeekPathSetting(context.Item, 1);
  if (target.empty()) return;
  FolderTree tree(context, FillRule::IndexDatOnly, false);
  std::optional<FolderHandle> folder;
  if (!SkipFailure([&] { folder.emplace(FolderHandle::Open(target)); })) {
    // Not a folder: maybe the one file the item names.
    std::optional<std::pair<FolderHandle, FolderEntry>> file;
    SkipFailure([&] { file = OpenEntry(target); });
    if (file && (file->second.Kind == EntryKind::File ||
                 (file->second.Kind == EntryKind::Link && !file->second.LinkToFolder && !file->second.Foreign))) {
      SkipFailure([&] { tree.HandleFile(file->first, file->second); });
    }
    return;
  }
  std::optional<WildcardPattern> pattern;
  // A pattern that cannot be read matches no file.
  if (context.SettingCount() >= 2 && !SkipFailure([&] { pattern.emplace(context.Setting(2)); })) return;
  FolderTree::Content content;
  if (!SkipFailure([&] { content = tree.Split(folder->Read()); },
                   [&](const RuntimeError& error) { context.Problem(target, error); })) {
    return;
  }
  for (const FolderEntry& file : content.leaves) {
    if (file.Kind == EntryKind::Link && file.LinkToFolder) continue;
    if (pattern && !pattern->Matches(file.Name)) continue;
    if (context.Stopped()) return;
    SkipFailure([&] { tree.HandleFile(*folder, file); });
  }
}

void SeekFolder(WalkContext& context) {
  const std::string target = SeekPathSetting(context.Item, 1);
  if (target.empty() || IsProtectedFolder(target, context.Services.ProtectedFolders)) return;
  std::optional<FolderHandle> root;
  if (!SkipFailure([&] { root.emplace(FolderHandle::Open(target)); })) return;
  FolderTree(context, FillRule::IndexDatOnly, true).Walk(std::move(*root));
}

}  // namespace qm
