#pragma once

#include <functional>
#include <string>

#include "discovery/parsers/parse_run.h"
#include "platform/file_system.h"

namespace qm {

/// Calls `visit` with each profile folder S two levels below `profilesFolder` (profilesFolder\P\S: the
/// profile and the salted folder inside it), in enumeration order, until `visit` returns false. Links are
/// not followed. Nothing happens when `profilesFolder` is not a folder. File-system failures raise.
void ForEachMozillaProfile(const std::string& profilesFolder,
                           const std::function<bool(const Folder& profile)>& visit);

/// Records one file of a profile with status 1 and, when clearing, erases it (overwritten when it cannot be
/// deleted), its status becoming 2, 3 or -1; then reports it.
void ParseMozillaFile(ParseRun& run, const File& file);

}  // namespace qm
