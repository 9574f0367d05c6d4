#pragma once

#include "discovery/walk_context.h"

namespace qm {

/// File item: the files of the folder S1 whose names match the pattern S2 (every file without S2), or the
/// one file S1. Links are files here: a link is recorded and erased itself, never followed.
void SeekFiles(WalkContext& context);

/// Folder item: everything inside the folder S1, depth first; the folder itself stays. A folder that is a
/// root, a well-known folder or an ancestor of one finds nothing.
void SeekFolder(WalkContext& context);

}  // namespace qm
