#pragma once

#include <cstddef>

#include "platform/folder_handle.h"

namespace qm {

/// Bytes written per block when a file is overwritten; the last block of a range holds the remainder.
inline constexpr std::size_t kFillBlockSize = 10000;

/// Overwrites the file `entry` of `folder` in place with NUL bytes, `fillTimes` passes over the ranges that
/// hold data: the holes of a sparse file read as NUL bytes already and stay holes, so the file takes no more
/// room on the disk. The file keeps its name and length. Returns true when the overwrite FAILED (the file
/// could not be opened, written or flushed; passes already written stay written) and false when it
/// succeeded, also for no passes at all.
bool FillBlank(const FolderHandle& folder, const FolderEntry& entry, int fillTimes);

}  // namespace qm
