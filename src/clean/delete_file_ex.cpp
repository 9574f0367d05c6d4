#include "clean/delete_file_ex.h"

#include "clean/fill_blank.h"
#include "platform/error.h"
#include "platform/file_system.h"

namespace qm {

int DeleteFileEx(const std::string& path, bool fill, int fillTimes) {
  FileSystem fs;
  try {
    fs.DeleteFile(path, true);
    return kFileDeleted;
  } catch (const RuntimeError& error) {
    if (fill && IsPermissionDenied(error)) return FillBlank(path, fillTimes) ? kFileNotErased : kFileFilledBlank;
  }
  // The delete failed for another reason, or no overwrite was allowed: only a file that is no longer there
  // may be reported as deleted.
  return fs.FileExists(path) ? kFileNotErased : kFileDeleted;
}

}  // namespace qm
