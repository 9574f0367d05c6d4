#include "cli/engine_setup.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace qm::cli {

EngineSession::EngineSession(const CommandContext& context, std::unique_ptr<reg::RegistryBackend> registry)
    : interrupts_(context.interrupts),
      registry_(std::move(registry)),
      engine_(std::make_unique<Engine>(EngineParts::System(*registry_))) {
  interrupts_.Attach(*engine_);
}

std::string CatalogueFileName(const Options& options) {
  if (!options.catalogue.empty()) return options.catalogue;
  return FileSystem::Join(shell::ProgramFolder(), kDefaultCatalogueFileName);
}

void ApplyRunOptions(const Options& options, Engine& engine) {
  if (options.passes) engine.Settings.SecurityFillTimes = static_cast<int16_t>(*options.passes);
  if (options.log) engine.Settings.EnableFileLogging = *options.log;
  if (!options.logDir.empty()) engine.Log().SetLogsFolder(options.logDir);
}

std::unique_ptr<EngineSession> OpenEngine(const CommandContext& context) {
  std::unique_ptr<EngineSession> session;
  try {
    session = std::make_unique<EngineSession>(context, reg::OpenRegistry(context.options.registry));
  } catch (const RuntimeError& e) {
    Fail(context, kExitNoCatalogue, e.Description());
    return nullptr;
  }
  Engine& engine = session->engine();
  if (const std::string reason = engine.Registry().ReadOnlyReason(); !reason.empty()) {
    Warn(context, "nothing in the registry store will be erased: " + reason);
  }
  LoadSystemSettings(engine.Registry(), engine.Settings, SettingsKey::ReadOnly);
  ApplyRunOptions(context.options, engine);
  const std::string file = CatalogueFileName(context.options);
  try {
    for (const std::string& warning : engine.LoadCatalogue(file)) Warn(context, warning);
  } catch (const RuntimeError& e) {
    Fail(context, kExitNoCatalogue, "cannot load the catalogue " + file + ": " + e.Description());
    return nullptr;
  }
  return session;
}

}  // namespace qm::cli
