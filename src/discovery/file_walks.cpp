#include "discovery/file_walks.h"

#include <optional>
#include <utility>

#include "config/seek_rules.h"
#include "discovery/folder_tree.h"
#include "discovery/protected_folders.h"
#include "discovery/seek_entries.h"
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

/// The item's file-name patterns at a 1-based position; nothing when the item has none there, so every
/// file matches. A pattern that cannot be read raises.
std::optional<PatternList> Patterns(const WalkContext& context, int64_t position) {
  if (context.SettingCount() < position) return std::nullopt;
  return PatternList(context.Setting(position));
}

/// Handles the files of `folder` that `patterns` match (every file without patterns).
void HandleFilesOf(WalkContext& context, FolderTree& tree, FolderHandle& folder,
                   const std::optional<PatternList>& patterns) {
  FolderTree::Content content;
  if (!SkipFailure([&] { content = tree.Split(folder.Read()); },
                   [&](const RuntimeError& error) { context.Problem(folder.Path(), error); })) {
    return;
  }
  for (const FolderEntry& file : content.leaves) {
    if (file.Kind == EntryKind::Link && file.LinkToFolder) continue;
    if (patterns && !patterns->Matches(file.Name)) continue;
    if (context.Stopped()) return;
    SkipFailure([&] { tree.HandleFile(folder, file); });
  }
}

/// The one file a File item names, or nothing when the name is no file (a folder link is none).
void HandleNamedFile(FolderTree& tree, const std::string& target) {
  std::optional<std::pair<FolderHandle, FolderEntry>> file;
  SkipFailure([&] { file = OpenEntry(target); });
  if (file && (file->second.Kind == EntryKind::File ||
               (file->second.Kind == EntryKind::Link && !file->second.LinkToFolder && !file->second.Foreign))) {
    SkipFailure([&] { tree.HandleFile(file->first, file->second); });
  }
}

/// Walks each folder a Folder or FileTree item names with `rules`, unless it is protected; with RemoveSelf
/// the folder goes too once emptied.
void WalkFolders(WalkContext& context, FolderTree::Rules rules) {
  const std::string target = SeekPathSetting(context.Item, 1);
  if (target.empty() || IsProtectedFolder(target, context.Services.ProtectedFolders)) return;
  const bool whole = RemovesSelf(context.Item);
  FolderTree tree(context, rules);
  ForEachSeekEntry(context, target, SeekTarget::Folder, [&](FolderHandle& parent, const FolderEntry& folder) {
    // A wildcard can reach a folder that no catalogue path may name.
    if (IsProtectedFolder(parent.PathOf(folder.Name), context.Services.ProtectedFolders)) return;
    if (whole) {
      tree.WalkWhole(parent, folder);
      return;
    }
    std::optional<FolderHandle> root;
    if (SkipFailure([&] { root.emplace(parent.OpenFolder(folder)); })) tree.Walk(std::move(*root));
  });
}

}  // namespace

void SeekFiles(WalkContext& context) {
  const std::string target = SeekPathSetting(context.Item, 1);
  if (target.empty()) return;
  std::optional<PatternList> patterns;
  // A pattern that cannot be read matches no file.
  if (!SkipFailure([&] { patterns = Patterns(context, 2); })) return;
  FolderTree tree(context, {});
  if (HasWildcard(target)) {
    ForEachSeekEntry(context, target, SeekTarget::Folder, [&](FolderHandle& parent, const FolderEntry& entry) {
      std::optional<FolderHandle> folder;
      if (SkipFailure([&] { folder.emplace(parent.OpenFolder(entry)); })) {
        HandleFilesOf(context, tree, *folder, patterns);
      }
    });
    return;
  }
  std::optional<FolderHandle> folder;
  if (SkipFailure([&] { folder.emplace(FolderHandle::Open(target)); })) {
    HandleFilesOf(context, tree, *folder, patterns);
  } else {
    HandleNamedFile(tree, target);
  }
}

void SeekFolder(WalkContext& context) { WalkFolders(context, {.folderLinksAsFolders = true}); }

void SeekFileTree(WalkContext& context) {
  std::optional<PatternList> patterns;
  if (!SkipFailure([&] { patterns = Patterns(context, 2); }) || !patterns) return;
  WalkFolders(context, {.files = &*patterns, .recordsFolders = RemovesSelf(context.Item)});
}

}  // namespace qm
