#include "discovery/folder_tree.h"

#include <utility>

namespace qm {

void FolderTree::Walk(FolderHandle root) { TreeWalk<FolderTree>(context_, *this).Run(std::move(root)); }

void FolderTree::WalkWhole(FolderHandle& parent, const FolderEntry& root) {
  TreeWalk<FolderTree>(context_, *this).RunWhole(parent, root);
}

FolderTree::Content FolderTree::Split(std::vector<FolderEntry> entries) const {
  Content content;
  for (FolderEntry& entry : entries) {
    if (entry.Foreign || entry.Kind == EntryKind::Special) continue;
    const bool sub = entry.Kind == EntryKind::Folder ||
                     (entry.Kind == EntryKind::Link && entry.LinkToFolder && rules_.folderLinksAsFolders);
    if (!sub && rules_.files && !rules_.files->Matches(entry.Name)) {
      content.others = true;
      continue;
    }
    (sub ? content.subs : content.leaves).push_back(std::move(entry));
  }
  return content;
}

TraceStatus FolderTree::HandleFile(const FolderHandle& folder, const FolderEntry& entry) {
  const std::string path = folder.PathOf(entry.Name);
  const bool held = context_.IsHeldFile(path);
  const std::shared_ptr<PrivacyValue> pv =
      context_.Values.AddFile(File{entry.Name, path, entry.Size, ""}, held ? TraceStatus::Held : TraceStatus::Found);
  if (context_.Clear && !held) context_.EraseFile(folder, entry, *pv, rules_.erase);
  context_.Report(*pv);
  return pv->ValueStatus;
}

std::shared_ptr<PrivacyValue> FolderTree::Record(FolderHandle& folder, const FolderEntry& entry) {
  return context_.Values.AddFolder(Folder{folder.PathOf(entry.Name), entry.Name},
                                   context_.Clear ? TraceStatus::Erased : TraceStatus::Found);
}

Removal FolderTree::Remove(FolderHandle& folder, const FolderEntry& entry) {
  try {
    folder.RemoveFolder(entry);
    return Removal::Removed;
  } catch (const RuntimeError&) {
    // Gone only when nothing of that name is left: a link put in the folder's place is still there.
    return folder.Find(entry.Name) ? Removal::Kept : Removal::Gone;
  }
}

void FolderTree::Unreadable(FolderHandle& folder, const FolderEntry* sub, const RuntimeError& error) {
  // A sub-folder that is simply gone (another run removed it) is no folder that could not be read.
  if (sub && !folder.Find(sub->Name)) return;
  context_.Problem(sub ? folder.PathOf(sub->Name) : folder.Path(), error);
}

}  // namespace qm
