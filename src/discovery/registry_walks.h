#pragma once

#include "discovery/walk_context.h"
#include "registry/reg_value.h"

namespace qm {

/// Records a value that is no item's hold (RegValue and RegSubKeyValue items, the form data of AutoComplete),
/// erases it when clearing, and reports it.
void HandlePlainValue(WalkContext& context, const RegValue& rv);

/// RegValue item: the values of key S2 under root S1 whose names match the pattern S3 (every value without
/// S3). Each is recorded, reported, and then deleted when erasing.
void SeekRegValues(WalkContext& context);

/// RegSubKeyValue item: the values of every direct sub-key of key S2 whose name matches the pattern S3.
void SeekRegSubKeyValues(WalkContext& context);

/// RegKey item: everything below key S2 under root S1; with RemoveSelf (S3) the key itself too once emptied,
/// else it stays.
void SeekRegKey(WalkContext& context);

/// Detect item on a key: true when a key S2 under root S1 exists.
bool DetectsKeyOf(WalkContext& context);

/// In every registry item, a segment of the key path S2 holding "*" or "?" names each sub-key of that level
/// it matches (ignoring case), unless a sub-key of exactly that name exists: then it names that one.

}  // namespace qm
