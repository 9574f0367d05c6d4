#pragma once

#include "discovery/walk_context.h"

namespace qm {

/// Each profile's history.dat (see ForEachMozillaProfile), recorded and, when clearing, erased (overwritten
/// when it cannot be deleted). A stop ends the walk before a file.
void ParseMozillaHistoryFile(WalkContext& context);
/// Each profile's cookies.txt, as history.dat.
void ParseMozillaCookies(WalkContext& context);
/// Every file (or link) directly in each profile's Cache folder, as history.dat; sub-folders of Cache are
/// not looked at and the Cache folder itself stays.
void ParseMozillaCacheFiles(WalkContext& context);

}  // namespace qm
