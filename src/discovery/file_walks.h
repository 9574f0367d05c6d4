#pragma once

#include "discovery/walk_context.h"

namespace qm {

/// File item: the files of the folder S1 whose names match one of the ";"-separated patterns S2 (every file
/// without S2), or the one file S1. S1 may name many folders through wildcard segments. Links are files here:
/// a link is recorded and erased itself, never followed.
void SeekFiles(WalkContext& context);

/// Folder item: everything inside each folder S1 names, depth first; with RemoveSelf (S2) the folder itself
/// too once emptied, else it stays. A folder that is a root, a well-known folder or an ancestor of one finds
/// nothing.
void SeekFolder(WalkContext& context);

/// FileTree item: the files matching the patterns S2 in each folder S1 names and in all their sub-folders;
/// the folders stay, unless RemoveSelf (S3) removes each one left empty, the folder S1 included. Protected
/// folders find nothing, as for Folder items.
void SeekFileTree(WalkContext& context);

}  // namespace qm
