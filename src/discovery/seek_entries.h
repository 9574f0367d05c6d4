#pragma once

#include <functional>
#include <string>

#include "discovery/walk_context.h"
#include "platform/folder_handle.h"

namespace qm {

/// What the last segment of a seek path may name.
enum class SeekTarget {
  Folder,  ///< real folders only
  Any,     ///< any entry: folder, file or link
};

/// Calls `visit` with each entry that `path` (the platform's own form, not a root) names, as an entry of its
/// open parent folder. A segment holding "*" or "?" matches the entries of its level by the wildcard rules,
/// unless an entry of exactly that name exists: then it names that one, so a path stored before wildcards
/// existed keeps its meaning. Only real folders are entered on the way: links and junctions are never followed.
/// Leaves before the next entry once the run is asked to stop; a folder that cannot be read is told to the
/// run, one that does not exist is not.
void ForEachSeekEntry(WalkContext& context, const std::string& path, SeekTarget target,
                      const std::function<void(FolderHandle& parent, const FolderEntry& entry)>& visit);

}  // namespace qm
