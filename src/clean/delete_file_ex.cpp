#include "clean/delete_file_ex.h"

#include "clean/fill_blank.h"
#include "platform/error.h"

namespace qm {

namespace {

/// True unless the folder surely holds no entry of that name any more.
bool StillThere(const FolderHandle& folder, const FolderEntry& entry) {
  try {
    return folder.Find(entry.Name).has_value();
  } catch (const RuntimeError&) {
    return true;
  }
}

}  // namespace

int DeleteFileEx(const FolderHandle& folder, const FolderEntry& entry, bool fill, int fillTimes) {
  try {
    folder.RemoveFile(entry, true);
    return kFileDeleted;
  } catch (const RuntimeError& error) {
    if (fill && IsPermissionDenied(error)) {
      return FillBlank(folder, entry, fillTimes) ? kFileNotErased : kFileFilledBlank;
    }
  }
  // The delete failed for another reason, or no overwrite was allowed: only a file that is no longer there
  // may be reported as deleted.
  return StillThere(folder, entry) ? kFileNotErased : kFileDeleted;
}

}  // namespace qm
