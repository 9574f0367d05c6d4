#pragma once

#include <cstdint>

#include "discovery/privacy_value.h"

namespace qm {

/// When a file that cannot be deleted may be overwritten in place instead.
enum class FillRule {
  kIndexDatOnly,  ///< files found by file and folder items: only a file named index.dat (any letter case)
  kAlways,        ///< files erased by the special-case parsers
};

/// Erases the file of the trace `pv` (its `Path`, named by its `ValueName`) with `DeleteFileEx`, sets the
/// trace's `ValueStatus` to what really happened and returns it: status::kErased when the file is gone,
/// status::kFilledBlank when it was overwritten in place, status::kFailed when it is still there unchanged.
int32_t EraseFileTrace(PrivacyValue& pv, FillRule rule, int fillTimes);

}  // namespace qm
