#include "clean/file_trace_erase.h"

#include "clean/delete_file_ex.h"
#include "platform/text.h"

namespace qm {

int32_t EraseFileTrace(PrivacyValue& pv, FillRule rule, int fillTimes) {
  bool fill = rule == FillRule::kAlways || text::ToLowerAscii(pv.ValueName) == "index.dat";
  switch (DeleteFileEx(pv.Path, fill, fillTimes)) {
    case kFileDeleted: pv.ValueStatus = status::kErased; break;
    case kFileFilledBlank: pv.ValueStatus = status::kFilledBlank; break;
    default: pv.ValueStatus = status::kFailed; break;
  }
  return pv.ValueStatus;
}

}  // namespace qm
