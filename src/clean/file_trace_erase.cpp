#include "clean/file_trace_erase.h"

#include "clean/delete_file_ex.h"
#include "platform/text.h"

namespace qm {

TraceStatus EraseFileTrace(const FolderHandle& folder, const FolderEntry& entry, PrivacyValue& pv, FillRule rule,
                           int fillTimes) {
  const bool fill =
      rule == FillRule::Always || (rule == FillRule::IndexDatOnly && text::ToLowerAscii(entry.Name) == "index.dat");
  switch (DeleteFileEx(folder, entry, fill, fillTimes)) {
    case kFileDeleted: pv.ValueStatus = TraceStatus::Erased; break;
    case kFileFilledBlank: pv.ValueStatus = TraceStatus::FilledBlank; break;
    default: pv.ValueStatus = TraceStatus::Failed; break;
  }
  return pv.ValueStatus;
}

}  // namespace qm
