#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "clean/run_totals.h"

namespace qm::cli {

/// How many traces a run found, how big they are, and what became of them.
struct TraceTally {
  int64_t traces = 0;
  int64_t bytes = 0;
  int64_t erased = 0;       ///< deleted, blanked or overwritten
  int64_t overwritten = 0;  ///< of those, overwritten with NUL bytes because they could not be deleted
  int64_t kept = 0;         ///< found and left: a show, or a clear that stopped before them
  int64_t held = 0;
  int64_t failed = 0;
};

/// The traces of the runs of several nodes, each trace once: a trace that a later node finds again keeps its
/// place and the item that found it first, and takes the later status, which is what became of it in the end.
class RunResults {
 public:
  /// One trace and the item that found it (nullptr when unknown).
  struct Trace {
    const PrivacyItem* item = nullptr;
    const PrivacyValue* value = nullptr;
  };

  /// Adds the run of one node.
  void Add(RunTotals run);

  const std::vector<Trace>& Traces() const { return traces_; }
  TraceTally Tally() const;
  /// The status texts of the nodes run ("ALL", "App\Cache"), separated by ", ".
  std::string StatusText() const;
  /// The folders the walks could not read.
  int64_t Unreadable() const;
  /// True when a run was asked to stop before it finished.
  bool Stopped() const;
  /// The activity log the runs wrote to; "" when none.
  std::string LogFileName() const;

 private:
  std::vector<RunTotals> runs_;  ///< they own the records the traces point to
  std::vector<Trace> traces_;
  std::unordered_map<std::string, std::size_t> places_;  ///< where each trace is in traces_, by what it is
};

}  // namespace qm::cli
