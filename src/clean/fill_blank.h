#pragma once

#include <cstddef>
#include <string>

namespace qm {

/// Bytes written per block when a file is overwritten; the last block of a pass holds the remainder.
inline constexpr std::size_t kFillBlockSize = 10000;

/// Overwrites the file at `path` in place with NUL bytes, `fillTimes` passes over its whole length; the file
/// keeps its name and length. Returns true when the overwrite FAILED (the file could not be opened, written
/// or flushed; passes already written stay written) and false when it succeeded, also for no passes at all.
bool FillBlank(const std::string& path, int fillTimes);

}  // namespace qm
