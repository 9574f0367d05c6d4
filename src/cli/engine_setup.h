#pragma once

#include <memory>
#include <optional>
#include <string>

#include "clean/engine.h"
#include "cli/command.h"
#include "platform/registry_backend.h"

namespace qm::cli {

/// The engine of a command that searches, with the registry it works on. It is attached to Ctrl+C for as long
/// as it lives.
class EngineSession {
 public:
  EngineSession(const CommandContext& context, std::unique_ptr<reg::RegistryBackend> registry);
  ~EngineSession() { interrupts_.Detach(); }
  EngineSession(const EngineSession&) = delete;
  EngineSession& operator=(const EngineSession&) = delete;

  Engine& engine() { return *engine_; }

 private:
  Interrupts& interrupts_;
  std::unique_ptr<reg::RegistryBackend> registry_;
  std::unique_ptr<Engine> engine_;
};

/// The catalogue file the options name: --catalogue, or PrivacyConfig.dat beside the program.
std::string CatalogueFileName(const Options& options);

/// Puts the run options --passes, --log, --no-log and --log-dir into the engine's settings and log, for the
/// runs of this engine only: nothing is written to the settings store.
void ApplyRunOptions(const Options& options, Engine& engine);

/// Opens the registry (--registry on Linux), makes the engine with this system's folders and the settings as
/// stored (nothing is written) changed by the run options, and loads the catalogue, printing its warnings. On
/// failure it tells the reason and returns nothing (the caller exits with kExitNoCatalogue).
std::unique_ptr<EngineSession> OpenEngine(const CommandContext& context);

}  // namespace qm::cli
