#pragma once

#include "platform/folder_handle.h"

namespace qm {

/// What `DeleteFileEx` did with a file.
enum DeleteFileResult : int {
  kFileDeleted = 0,      ///< the file is gone
  kFileFilledBlank = 1,  ///< deleting was refused; the file was overwritten with NUL bytes and stays
  kFileNotErased = -1,   ///< the file is still there with its contents
};

/// Deletes the file `entry` of `folder`, read-only or not. When the platform refuses the delete as permission
/// denied (a file in use or protected) and `fill` is true, the file is overwritten in place `fillTimes` times
/// instead (`FillBlank`). A file that is still there with its contents afterwards is reported as not erased,
/// whatever stopped the delete; a file that had already vanished counts as deleted.
int DeleteFileEx(const FolderHandle& folder, const FolderEntry& entry, bool fill, int fillTimes);

}  // namespace qm
