#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "clean/privacy_log.h"
#include "clean/run_target.h"
#include "clean/run_totals.h"
#include "config/placeholders.h"
#include "config/privacy_configs.h"
#include "discovery/parsers/recycle_bin_places.h"
#include "platform/clock.h"
#include "platform/registry_backend.h"
#include "settings/system_settings.h"

namespace qm {

/// What an engine is made of. Each front end fills one from its system (`EngineParts::System`), each test
/// from its fixtures.
struct EngineParts {
  reg::RegistryBackend* Registry = nullptr;   ///< required; outlives the engine
  const Clock* Time = nullptr;                ///< required; outlives the engine
  SpecialFolders Folders;                     ///< the placeholder folders of catalogue paths
  std::vector<std::string> WellKnownFolders;  ///< with the profile, Windows, system and program folders: what a
                                              ///< Folder item never empties
  RecycleBinPlaces RecycleBins;
  std::string UserText;    ///< the current user as the recycle bins and AutoComplete name it
  std::string LogsFolder;  ///< where the activity log writes its daily files

  /// This system's: the special folders resolved through `registry`, the shell's well-known folders, the
  /// system's recycle bins and user, the system clock and the logs folder beside the program.
  static EngineParts System(reg::RegistryBackend& registry);
};

/// How a run goes.
struct RunOptions {
  bool Clear = false;              ///< erase each trace that is not held
  bool IncludeUnselected = false;  ///< search the configurations and items that are not selected too
};

/// The engine of Show and Clear, the same for the main window and the command line: the catalogue, the
/// activity log, the settings of the next run, the registry, the special folders, the clock and the stop
/// flag, all its own. Nothing of it is global: two engines in one process never see each other.
class Engine {
 public:
  explicit Engine(EngineParts parts);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  PrivacyConfigs& Catalogue() { return catalogue_; }
  /// The settings the next run uses ("Security Fill Times", "Enable File Logging").
  SystemSettings Settings;
  PrivacyLog& Log() { return log_; }
  const PrivacyLog& Log() const { return log_; }
  reg::RegistryBackend& Registry() { return registry_; }
  const SpecialFolders& Folders() const { return parts_.Folders; }

  /// Loads the catalogue file with this engine's folders and registry (see PrivacyConfigs::LoadConfig) and
  /// returns its load warnings.
  const std::vector<std::string>& LoadCatalogue(const std::string& file);

  /// Searches the target anew, erasing each trace that is not held with `options.Clear`. `listener` (may be
  /// null) hears the target's events while the search runs. The log run is started and ended around it when
  /// "Enable File Logging" is on; a log that cannot be opened is a warning, not a failure. A clear holds the
  /// registry store for its whole length. Raises when a run is already active, or when the store is held by
  /// another run.
  RunTotals Run(const RunTarget& target, const RunOptions& options, RunListener* listener);

  /// Several targets, one after the other, as one run: one log run and, for a clear, one hold of the registry
  /// store around them all. Returns the totals of each target searched, in order; a stop ends the run with the
  /// target that was running. Raises as the run of one target does.
  std::vector<RunTotals> Run(const std::vector<RunTarget>& targets, const RunOptions& options, RunListener* listener);

  /// True when the program of `config` is on this system: one of its Detect items finds its key, file or
  /// folder, or it has none. Only the Detect items are looked at: nothing is searched, logged or changed, and
  /// the configuration's `Detected` stays as its last search left it.
  bool Detects(const PrivacyConfig& config);

  /// The display pass: what the target's last search kept, without searching, logging or events other than
  /// the finish events.
  RunTotals Display(const RunTarget& target, RunListener* listener);

  /// Asks the active run, or the next one, to stop before its next trace. Any thread may call it, at any
  /// time: a stop asked for before a run starts is honoured by that run.
  void RequestStop() { stop_.store(true); }
  /// Forgets a stop asked for earlier: a window starting a run at the user's word clears a Stop that reached
  /// the engine just after the previous run ended.
  void ClearStop() { stop_.store(false); }
  bool StopRequested() const { return stop_.load(); }

  /// True while no run is active.
  bool ProcessEnd() const { return processEnd_.load(); }

 private:
  RunTotals Search(const RunTarget& target, const SearchOptions& options, RunListener* listener);
  /// What the walks take from this engine, with the activity log while a log run is open.
  WalkServices Services(FileEraser& eraser, WalkProblemListener* problems);

  EngineParts parts_;
  reg::RegistryBackend& registry_;
  PrivacyConfigs catalogue_;
  PrivacyLog log_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> processEnd_{true};
};

}  // namespace qm
