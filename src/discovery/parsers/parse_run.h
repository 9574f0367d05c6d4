#pragma once

#include <functional>
#include <memory>
#include <string>

#include "config/privacy_item.h"
#include "discovery/privacy_values.h"

namespace qm {

/// One call of a special-case parser as the parser families see it: the item, whether the run erases, the
/// collection the traces go into, how each trace is reported (the parser object's `AppendValue`) and the
/// services of the layers above.
struct ParseRun {
  PrivacyItem& Item;
  bool Clear;
  std::shared_ptr<PrivacyValues> Values;
  std::function<void(PrivacyItem& pi, PrivacyValue& pv)> Report;
  /// Erases the file of a file trace, overwriting it when it cannot be deleted, and sets the trace's status
  /// to what happened (2 deleted, 3 overwritten, -1 still there).
  std::function<void(PrivacyValue& pv)> EraseFile;
  /// Writes one line to the activity log (while a log run is open).
  std::function<void(const std::string& line)> AppendString;

  /// Reports `pv` as a trace of this run's item.
  void ReportValue(PrivacyValue& pv) const {
    if (Report) Report(Item, pv);
  }
};

}  // namespace qm
