#pragma once

#include "discovery/walk_services.h"
#include "platform/folder_handle.h"
#include "trace/privacy_value.h"

namespace qm {

/// Erases the file of the trace `pv`, found as `entry` of `folder`, with `DeleteFileEx`: overwritten in place
/// when it cannot be deleted and `rule` allows it (a file named index.dat, any letter case, for IndexDatOnly).
/// Sets the trace's `ValueStatus` to what really happened and returns it: Erased when the file is gone,
/// FilledBlank when it was overwritten in place, Failed when it is still there unchanged.
TraceStatus EraseFileTrace(const FolderHandle& folder, const FolderEntry& entry, PrivacyValue& pv, FillRule rule,
                           int fillTimes);

/// The program's file erase routine as the walks reach it, with a run's number of overwrite passes.
class ProgramFileEraser final : public FileEraser {
 public:
  explicit ProgramFileEraser(int fillTimes) : fillTimes_(fillTimes) {}
  void EraseFile(const FolderHandle& folder, const FolderEntry& entry, PrivacyValue& pv, FillRule rule) override {
    EraseFileTrace(folder, entry, pv, rule, fillTimes_);
  }

 private:
  int fillTimes_;
};

}  // namespace qm
