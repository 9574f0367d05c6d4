#include "clean/engine.h"

#include <utility>

#include "clean/file_trace_erase.h"
#include "discovery/item_walker.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "registry/auto_complete.h"

namespace qm {

namespace {

/// Stands between the searched object and the run's listener: passes every event on, and keeps what the
/// totals need (who found which traces, the folders that could not be read).
class RunRecorder final : public RunListener {
 public:
  explicit RunRecorder(RunListener* listener) : listener_(listener) {}

  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override {
    if (listener_) listener_->AppendValue(pi, pv);
  }
  void ParseItemFinish(PrivacyItem& pi, int64_t count) override {
    if (count > 0) items.push_back({&pi, count});
    if (listener_) listener_->ParseItemFinish(pi, count);
  }
  void ParseConfigFinish(PrivacyConfig& pc, int64_t count) override {
    if (listener_) listener_->ParseConfigFinish(pc, count);
  }
  void ParseFinish(int64_t count) override {
    if (listener_) listener_->ParseFinish(count);
  }
  void ParseBySoftwareTypeFinish(SoftwareType type, int64_t count) override {
    if (listener_) listener_->ParseBySoftwareTypeFinish(type, count);
  }
  void WalkProblem(PrivacyItem& item, const std::string& path, const RuntimeError& error) override {
    ++unreadable;
    if (listener_) listener_->WalkProblem(item, path, error);
  }
  void Warning(const std::string& message) override {
    if (listener_) listener_->Warning(message);
  }

  std::vector<ItemShare> items;
  int64_t unreadable = 0;

 private:
  RunListener* listener_;
};

/// Keeps a listener subscribed to one event source while it lives.
template <class Source, class Listener>
class ScopedSubscription {
 public:
  ScopedSubscription(Source& source, Listener* listener) : source_(source), listener_(listener) {
    source_.Subscribe(listener_);
  }
  ~ScopedSubscription() { source_.Unsubscribe(listener_); }
  ScopedSubscription(const ScopedSubscription&) = delete;
  ScopedSubscription& operator=(const ScopedSubscription&) = delete;

 private:
  Source& source_;
  Listener* listener_;
};

/// Searches the target as its tree node says, with `listener` hearing its events.
std::shared_ptr<PrivacyValues> SearchTarget(PrivacyConfigs& catalogue, const RunTarget& target, ItemWalks& walks,
                                            const SearchOptions& options, RunListener* listener) {
  switch (target.Scope) {
    case RunTarget::Level::Catalogue: {
      ScopedSubscription<EventSource<PrivacyConfigsEvents>, PrivacyConfigsEvents> sink(catalogue, listener);
      if (options.Refresh) catalogue.EmptyPrivacyValue();
      return catalogue.GetPrivacyValue(walks, options);
    }
    case RunTarget::Level::SoftwareType: {
      ScopedSubscription<EventSource<PrivacyConfigsEvents>, PrivacyConfigsEvents> sink(catalogue, listener);
      if (options.Refresh) catalogue.EmptyPrivacyValueBySoftwareType(target.Group);
      return catalogue.GetPrivacyValueBySoftwareType(target.Group, walks, options);
    }
    case RunTarget::Level::Config: {
      ScopedSubscription<EventSource<PrivacyConfigEvents>, PrivacyConfigEvents> sink(*target.Config, listener);
      if (options.Refresh) target.Config->EmptyPrivacyValue();
      return target.Config->GetPrivacyValue(walks, options);
    }
    case RunTarget::Level::Item: {
      ScopedSubscription<EventSource<PrivacyItemEvents>, PrivacyItemEvents> sink(*target.Item, listener);
      if (options.Refresh) target.Item->EmptyPrivacyValue();
      return target.Item->GetPrivacyValue(walks, options);
    }
  }
  return nullptr;
}

}  // namespace

EngineParts EngineParts::System(reg::RegistryBackend& registry) {
  EngineParts parts;
  parts.Registry = &registry;
  parts.Time = &SystemClock();
  InitSpecialFolders(parts.Folders, SpecialFolderSources::System(registry));
  parts.WellKnownFolders = shell::WellKnownFolders();
  parts.RecycleBins = RecycleBinPlaces::System();
  parts.UserText = GetCurrentUserSid();
  parts.LogsFolder = FileSystem::Join(shell::ProgramFolder(), "logs");
  return parts;
}

Engine::Engine(EngineParts parts)
    : parts_(std::move(parts)), registry_(*parts_.Registry), log_(parts_.LogsFolder, *parts_.Time) {
  // The placeholder folders a catalogue names are as much the user's as the well-known ones; the temporary
  // folder is no such folder, emptying it is what cleaners do.
  const SpecialFolders& f = parts_.Folders;
  for (const std::string* folder :
       {&f.UserProfileDir, &f.AppDataDir, &f.WindowsDir, &f.SystemDir, &f.ProgramFilesDir, &f.RoamingAppDataDir,
        &f.LocalLowAppDataDir, &f.CommonAppDataDir, &f.ProgramFilesX86Dir, &f.ProgramFiles64Dir, &f.PublicDir,
        &f.DocumentsDir}) {
    if (!folder->empty()) parts_.WellKnownFolders.push_back(*folder);
  }
}

const std::vector<std::string>& Engine::LoadCatalogue(const std::string& file) {
  catalogue_.LoadConfig(file, parts_.Folders, registry_);
  return catalogue_.LoadWarnings;
}

RunTotals Engine::Run(const RunTarget& target, const RunOptions& options, RunListener* listener) {
  return Run(std::vector<RunTarget>{target}, options, listener).front();
}

std::vector<RunTotals> Engine::Run(const std::vector<RunTarget>& targets, const RunOptions& options,
                                   RunListener* listener) {
  if (processEnd_.exchange(false) == false) {
    throw RuntimeError(errors::kInvalidArgument, "Engine", "a run is already active");
  }
  // Restores the idle state however the run ends. A stop asked for before the run is kept for it; the
  // run's end clears it for the next one.
  struct Frame {
    Engine& engine;
    bool locked = false;
    ~Frame() {
      if (engine.log_.IsLogging()) {
        try {
          engine.log_.EndLogging();
        } catch (const std::exception&) {
          // Only reached while another failure is already on its way out.
        }
      }
      if (locked) engine.registry_.Unlock();
      engine.stop_.store(false);
      engine.processEnd_.store(true);
    }
  } frame{*this};

  if (options.Clear) {
    if (const int32_t rc = registry_.Lock(); rc != reg::kSuccess) {
      throw RuntimeError(rc, "Engine", "the registry store " + registry_.StoreFile() + " is in use by another run");
    }
    frame.locked = true;
  }
  if (Settings.EnableFileLogging) {
    try {
      log_.StartLogging();
    } catch (const RuntimeError& error) {
      if (listener)
        listener->Warning("the activity log cannot be written, the run goes on without it: " + error.Description());
    }
  }
  std::vector<RunTotals> runs;
  for (const RunTarget& target : targets) {
    runs.push_back(Search(target, SearchOptions{true, options.IncludeUnselected, options.Clear}, listener));
    if (stop_.load()) break;
  }
  if (log_.IsLogging()) {
    log_.EndLogging();
    for (RunTotals& totals : runs) totals.LogFileName = log_.LogFileName;
  }
  return runs;
}

RunTotals Engine::Display(const RunTarget& target, RunListener* listener) {
  return Search(target, SearchOptions{false, false, false}, listener);
}

RunTotals Engine::Search(const RunTarget& target, const SearchOptions& options, RunListener* listener) {
  RunRecorder recorder(listener);
  ProgramFileEraser eraser(Settings.SecurityFillTimes);
  const WalkServices services = Services(eraser, &recorder);
  ItemWalker walker(services);
  RunTotals totals = TotalsOf(SearchTarget(catalogue_, target, walker, options, &recorder), target.StatusText);
  totals.Items = std::move(recorder.items);
  totals.Unreadable = recorder.unreadable;
  totals.Stopped = stop_.load();
  return totals;
}

bool Engine::Detects(const PrivacyConfig& config) {
  ProgramFileEraser eraser(Settings.SecurityFillTimes);
  const WalkServices services = Services(eraser, nullptr);
  ItemWalker walker(services);
  return config.Detect(walker);
}

WalkServices Engine::Services(FileEraser& eraser, WalkProblemListener* problems) {
  return WalkServices{registry_,
                      stop_,
                      *parts_.Time,
                      eraser,
                      log_.IsLogging() ? &log_ : nullptr,
                      problems,
                      parts_.WellKnownFolders,
                      parts_.RecycleBins,
                      parts_.UserText,
                      &parts_.Folders};
}

}  // namespace qm
