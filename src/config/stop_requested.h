#pragma once

#include <atomic>

namespace qm {

/// The one stop flag of a Show or Clear run. The Stop button (or Ctrl+C in the command-line program) sets
/// it; a run clears it when it starts and when it ends; every discovery loop tests it before each trace.
inline std::atomic<bool> StopRequested{false};

}  // namespace qm
