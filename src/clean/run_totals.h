#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/privacy_events.h"
#include "discovery/walk_services.h"
#include "trace/privacy_values.h"

namespace qm {

/// Listens to a run: every event of the searched object (traces as they are found, the end of each item,
/// configuration, software-type pass and of the whole search), the folders a walk could not read, and the
/// run's warnings. The main window and the command line implement it; a handler may ask the engine to stop.
class RunListener : public PrivacyConfigsEvents, public WalkProblemListener {
 public:
  void WalkProblem(PrivacyItem& /*item*/, const std::string& /*path*/, const RuntimeError& /*error*/) override {}
  /// Something the user should know that stops nothing (a log file that cannot be opened).
  virtual void Warning(const std::string& /*message*/) {}

 protected:
  ~RunListener() = default;
};

/// The items of a result and how many traces each gave, in the order they finished: the merged result is
/// their results one after the other. The items are the catalogue's, valid until it is loaded again.
struct ItemShare {
  const PrivacyItem* Item = nullptr;
  int64_t Count = 0;
};

/// What a run found, for the list, the status bar and the command line.
struct RunTotals {
  std::shared_ptr<PrivacyValues> Values;  ///< the merged traces in the order found; nullptr for no result
  std::vector<ItemShare> Items;           ///< who found them (a display pass leaves it empty)
  int64_t Count = 0;                      ///< every trace, listed or not
  int64_t Bytes = 0;                      ///< the sum of their sizes
  int64_t Failed = 0;                     ///< traces whose erase failed (status -1)
  int64_t Unreadable = 0;                 ///< folders the walks could not read
  bool Stopped = false;                   ///< the run was asked to stop before it finished
  std::string StatusText;                 ///< the target's status text
  std::string LogFileName;                ///< the log of the run when one was written, else ""

  /// Calls `visit` with each trace in order and the item that found it (nullptr when unknown).
  void ForEachTrace(const std::function<void(const PrivacyItem* item, const PrivacyValue& pv)>& visit) const;
};

/// The totals of a result.
RunTotals TotalsOf(const std::shared_ptr<PrivacyValues>& values, const std::string& statusText);

}  // namespace qm
