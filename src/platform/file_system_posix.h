#pragma once

// Pieces of the Linux file-system service that the folder handles share; not for use outside src/platform.

#include <sys/types.h>

#include "platform/file_system.h"

namespace qm::fs_detail {

/// The kind of an entry of mode `mode`, as lstat reports it.
EntryKind KindOfMode(mode_t mode);

}  // namespace qm::fs_detail
