#pragma once

#include <atomic>

#include "clean/engine.h"

namespace qm::cli {

/// Ctrl+C for the command line. A press before any engine exists (while the registry store or the catalogue
/// loads) is kept and handed to the engine once it is attached; from then on a press stops the engine. The
/// one instance lives in `main`.
class Interrupts {
 public:
  /// What Ctrl+C does: safe in a signal handler (atomic stores only).
  void Fire() {
    interrupted_.store(true);
    if (Engine* engine = engine_.load()) engine->RequestStop();
  }

  /// Lets Ctrl+C stop `engine` (until Detach), passing on a press that came before.
  void Attach(Engine& engine) {
    engine_.store(&engine);
    if (interrupted_.load()) engine.RequestStop();
  }
  void Detach() { engine_.store(nullptr); }

  /// Set once Ctrl+C was pressed.
  const std::atomic<bool>& Interrupted() const { return interrupted_; }

 private:
  std::atomic<bool> interrupted_{false};
  std::atomic<Engine*> engine_{nullptr};
};

}  // namespace qm::cli
