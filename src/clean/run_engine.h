#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "clean/privacy_log.h"
#include "clean/run_target.h"
#include "config/privacy_configs.h"
#include "config/privacy_events.h"
#include "platform/clock.h"

namespace qm {

/// Listens to a run: every event of the searched object (traces as they are found, the end of each item,
/// configuration, software-type pass and of the whole search). The main window and the command line
/// implement it; a handler may set `StopRequested`.
class RunListener : public PrivacyConfigsEvents {
 protected:
  ~RunListener() = default;
};

/// What a run found, for the list and the status bar.
struct RunTotals {
  std::shared_ptr<PrivacyValues> Values;  ///< the merged traces in the order found; nullptr for no result
  int64_t Count = 0;                      ///< every trace, listed or not
  int64_t Bytes = 0;                      ///< the sum of their sizes
  int64_t Failed = 0;                     ///< traces whose erase failed (status -1)
  std::string StatusText;                 ///< the target's status text
  std::string LogFileName;                ///< the log of the run when one was written, else ""
};

/// The totals of a run's result.
RunTotals TotalsOf(const std::shared_ptr<PrivacyValues>& values, const std::string& statusText);

/// The worker shared by "Show", "Clear" and the display pass: `listener` (may be null) hears the target's
/// events while its search runs; when refreshing, the target's kept results are emptied first. The three
/// flags go to the target's `GetPrivacyValue` unchanged (an item takes no `bOmitSelected`).
RunTotals ShowPrivacyValues(PrivacyConfigs& catalogue, const RunTarget& target, bool bRefreshValue,
                            bool bOmitSelected, bool bClearValue, RunListener* listener);

/// The run frame of "Show" and "Clear" over one catalogue, the same for the main window and the command
/// line: `StopRequested` cleared, the program's item walks installed, the log run started and ended around
/// the search when "Enable File Logging" is on, `StopRequested` cleared again at the end.
class RunEngine {
 public:
  /// Runs over `catalogue`, logging to `log` (which is also the trace log during a run); the error lines of
  /// the registry walk take their date from `clock`.
  RunEngine(PrivacyConfigs& catalogue, PrivacyLog& log, const Clock& clock = SystemClock());

  /// Searches the target anew, erasing each trace that is not held when `bClearValue`; `bOmitSelected`
  /// includes unselected configurations and items. Raises when a run is already active.
  RunTotals Run(const RunTarget& target, bool bClearValue, bool bOmitSelected, RunListener* listener);

  /// The display pass: what the target's last search kept, without searching, logging or events other than
  /// the finish events.
  RunTotals Display(const RunTarget& target, RunListener* listener);

  /// True while no run is active.
  bool ProcessEnd() const { return processEnd_; }

  /// Asks the active run to stop at its next trace.
  static void RequestStop();

 private:
  PrivacyConfigs& catalogue_;
  PrivacyLog& log_;
  const Clock& clock_;
  bool processEnd_ = true;
};

}  // namespace qm
