#pragma once

#include <functional>
#include <string>

#include "discovery/walk_context.h"
#include "platform/folder_handle.h"

namespace qm {

/// Calls `visit` with each profile folder S two levels below the folder the item's second seek setting names
/// (folder\P\S: the profile and the salted folder inside it), in enumeration order, until `visit` returns
/// false. Only real folders are entered, through open folder handles. Nothing happens when the folder is not
/// there. File-system failures raise.
void ForEachMozillaProfile(const WalkContext& context, const std::function<bool(const FolderHandle& profile)>& visit);

/// Records one file (or link) of a profile with status 1 and, when clearing, erases it (overwritten when it
/// cannot be deleted), its status becoming 2, 3 or -1; then reports it.
void ParseMozillaFile(WalkContext& context, const FolderHandle& folder, const FolderEntry& file);

}  // namespace qm
