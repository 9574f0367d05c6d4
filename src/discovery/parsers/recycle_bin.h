#pragma once

#include "discovery/parsers/recycle_bin_places.h"
#include "discovery/walk_context.h"

namespace qm {

/// Records (and, when clearing, empties) every recycle-bin folder of the run's places that exists as a real
/// folder; a bin that is a link is left alone. Each bin is walked with the folder walk, its links erased as
/// files and nothing overwritten. An emptied Windows bin folder is removed too when nothing is left in it.
void ParseRecycleBin(WalkContext& context);

}  // namespace qm
