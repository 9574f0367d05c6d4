#include "discovery/file_walks.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "discovery/protected_folders.h"
#include "discovery/wildcard_match.h"
#include "platform/file_system.h"

namespace qm {
namespace {

/// Records one file (held or found), erases it when asked and not held, then reports it.
void HandleFile(WalkContext& context, const File& file) {
  const bool held = context.Holds.IsHeld(file.Path);
  const std::shared_ptr<PrivacyValue> pv =
      context.Values.AddFile(file, held ? status::kHeld : status::kFound);
  if (context.Clear && !held) context.EraseFile(*pv);
  context.Report(*pv);
}

/// The file an entry names; the entry gives up its texts.
File FileOf(FolderEntry&& entry) {
  return File{std::move(entry.Name), std::move(entry.Path), entry.Size, ""};
}

/// The entries of one folder split the way the walks treat them: real sub-folders and folder links (never
/// entered) on one side, files and other links on the other; sockets, FIFOs and devices on neither.
struct FolderContent {
  std::vector<FolderEntry> folders;
  std::vector<FolderEntry> files;
};

FolderContent ReadFolder(const FileSystem& fs, const std::string& path) {
  FolderContent content;
  fs.ForEachEntry(path, [&](const FolderEntry& entry) {
    switch (entry.Kind) {
      case EntryKind::Folder:
        content.folders.push_back(entry);
        break;
      case EntryKind::Link:
        (entry.LinkToFolder ? content.folders : content.files).push_back(entry);
        break;
      case EntryKind::File:
        content.files.push_back(entry);
        break;
      case EntryKind::Special:
        break;
    }
  });
  return content;
}

/// A sub-folder recorded by the folder walk, and whether it is gone.
struct RecordedFolder {
  const FolderEntry* entry;
  std::shared_ptr<PrivacyValue> pv;
  bool removed = false;
};

/// The folder walk: sub-folders are recorded first, then the files are handled, then each sub-folder is
/// walked and, when erasing, removed once it is empty. A recorded sub-folder that is still there at the end
/// (it keeps a held or undeletable file, or the walk was stopped) did not get erased and says so.
void GetFolderAllSub(WalkContext& context, const FileSystem& fs, const std::string& path) {
  FolderContent content;
  if (!SkipFailure([&] { content = ReadFolder(fs, path); })) return;

  std::vector<RecordedFolder> recorded;
  recorded.reserve(content.folders.size());
  [&] {
    for (const FolderEntry& folder : content.folders) {
      if (WalkContext::Stopped()) return;
      SkipFailure([&] {
        const auto pv = context.Values.AddFolder(Folder{folder.Path, folder.Name},
                                                 context.Clear ? status::kErased : status::kFound);
        recorded.push_back({&folder, pv});
        context.Report(*pv);
      });
    }
    for (FolderEntry& file : content.files) {
      if (WalkContext::Stopped()) return;
      SkipFailure([&] { HandleFile(context, FileOf(std::move(file))); });
    }
    for (RecordedFolder& sub : recorded) {
      if (WalkContext::Stopped()) return;
      if (sub.entry->Kind == EntryKind::Folder) GetFolderAllSub(context, fs, sub.entry->Path);
      // Only an empty folder goes: one that keeps a held file keeps it safe. A folder link is removed as
      // the link itself.
      if (context.Clear) sub.removed = SkipFailure([&] { fs.RemoveEmptyFolder(sub.entry->Path, true); });
    }
  }();

  if (!context.Clear) return;
  for (RecordedFolder& sub : recorded) {
    if (!sub.removed) context.EraseFailed(*sub.pv);
  }
}

}  // namespace

void SeekFiles(WalkContext& context) {
  const FileSystem fs;
  const std::string& target = context.Setting(1);
  if (fs.FolderExists(target)) {
    std::optional<WildcardPattern> pattern;
    // A pattern that cannot be read matches no file.
    if (context.SettingCount() >= 2 && !SkipFailure([&] { pattern.emplace(context.Setting(2)); })) return;
    FolderContent content;
    if (!SkipFailure([&] { content = ReadFolder(fs, target); })) return;
    for (FolderEntry& file : content.files) {
      if (pattern && !pattern->Matches(file.Name)) continue;
      if (WalkContext::Stopped()) return;
      SkipFailure([&] { HandleFile(context, FileOf(std::move(file))); });
    }
  } else if (fs.FileExists(target)) {
    SkipFailure([&] { HandleFile(context, fs.GetFile(target)); });
  }
}

void SeekFolder(WalkContext& context) {
  const FileSystem fs;
  const std::string& target = context.Setting(1);
  if (IsProtectedFolder(target, context.Protected)) return;
  if (fs.FolderExists(target)) GetFolderAllSub(context, fs, target);
}

}  // namespace qm
