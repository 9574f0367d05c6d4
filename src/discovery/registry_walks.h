#pragma once

#include "discovery/walk_context.h"

namespace qm {

/// RegValue item: the values of key S2 under root S1 whose names match the pattern S3 (every value without
/// S3). Each is recorded, reported, and then deleted when erasing.
void SeekRegValues(WalkContext& context);

/// RegSubKeyValue item: the values of every direct sub-key of key S2 whose name matches the pattern S3.
void SeekRegSubKeyValues(WalkContext& context);

/// RegKey item: everything below key S2 under root S1; the key itself stays.
void SeekRegKey(WalkContext& context);

}  // namespace qm
