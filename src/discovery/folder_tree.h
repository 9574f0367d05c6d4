#pragma once

#include <string>
#include <vector>

#include "discovery/tree_walk.h"
#include "discovery/wildcard_match.h"
#include "platform/folder_handle.h"

namespace qm {

/// The folder walk's view of a folder tree (see TreeWalk), reached through open folder handles only.
///
/// Of the files, only those the rules' patterns match are traces; the others stay and keep their folder.
/// Files and links are leaves: recorded (held when the item's holds name them), erased with `Erase` and
/// reported. Real sub-folders are walked. Folder links are, with `FolderLinksAsFolders`, recorded as folders
/// and removed as the links they are (Folder items), otherwise leaves like every other link (recycle bins);
/// never entered. Sockets, FIFOs, devices and entries that belong to another user in a shared sticky folder
/// (/tmp) are no traces: they are left alone, and keep their folder.
class FolderTree {
 public:
  using Node = FolderHandle;
  using Sub = FolderEntry;
  using Leaf = FolderEntry;
  struct Content {
    std::vector<FolderEntry> subs;
    std::vector<FolderEntry> leaves;
    bool others = false;  ///< files the item's patterns do not match stay
  };

  /// How a tree treats what it finds.
  struct Rules {
    FillRule erase = FillRule::IndexDatOnly;
    bool folderLinksAsFolders = false;
    const PatternList* files = nullptr;  ///< only the files these match are traces (all without)
    bool recordsFolders = true;          ///< sub-folders are traces, removed once emptied
  };

  FolderTree(WalkContext& context, Rules rules) : context_(context), rules_(rules) {}

  /// Walks everything inside `root` (see TreeWalk).
  void Walk(FolderHandle root);
  /// Walks the folder `root` of `parent` and removes it too once emptied (see TreeWalk::RunWhole).
  void WalkWhole(FolderHandle& parent, const FolderEntry& root);

  /// A folder's entries the way this tree treats them (a File item looks at the leaves only).
  Content Split(std::vector<FolderEntry> entries) const;

  /// Records one file or link of `folder` (held or found), erases it when clearing and not held, then
  /// reports it; returns its final status.
  TraceStatus HandleFile(const FolderHandle& folder, const FolderEntry& entry);

  // The operations TreeWalk uses.
  Content Read(FolderHandle& folder) { return Split(folder.Read()); }
  std::shared_ptr<PrivacyValue> Record(FolderHandle& folder, const FolderEntry& entry);
  TraceStatus Handle(FolderHandle& folder, FolderEntry& entry) { return HandleFile(folder, entry); }
  bool RecordsSubs() const { return rules_.recordsFolders; }
  bool Enters(const FolderEntry& entry) const { return entry.Kind == EntryKind::Folder; }
  FolderHandle Open(FolderHandle& folder, const FolderEntry& entry) { return folder.OpenFolder(entry); }
  Removal Remove(FolderHandle& folder, const FolderEntry& entry);
  void Unreadable(FolderHandle& folder, const FolderEntry* sub, const RuntimeError& error);
  template <class Frames>
  void Release(Frames& stack) {
    // A deep walk keeps only the newest folders open; the others come back when the walk climbs to them.
    if (stack.size() > FolderHandle::kMaxOpen) stack[stack.size() - 1 - FolderHandle::kMaxOpen].node().Release();
  }
  void Reopen(FolderHandle& parent, FolderHandle& child) {
    if (parent.Released()) parent.Reopen(child);
  }

 private:
  WalkContext& context_;
  Rules rules_;
};

}  // namespace qm
