#include "clean/run_engine.h"

#include "clean/walk_services.h"
#include "config/stop_requested.h"
#include "discovery/item_walker.h"
#include "settings/system_settings.h"

namespace qm {
namespace {

/// Keeps a listener subscribed to one event source while it lives.
template <class Source, class Listener>
class ScopedSubscription {
 public:
  ScopedSubscription(Source& source, Listener* listener) : source_(source), listener_(listener) {
    if (listener_) source_.Subscribe(listener_);
  }
  ~ScopedSubscription() {
    if (listener_) source_.Unsubscribe(listener_);
  }
  ScopedSubscription(const ScopedSubscription&) = delete;
  ScopedSubscription& operator=(const ScopedSubscription&) = delete;

 private:
  Source& source_;
  Listener* listener_;
};

std::shared_ptr<PrivacyValues> SearchTarget(PrivacyConfigs& catalogue, const RunTarget& target, bool bRefreshValue,
                                            bool bOmitSelected, bool bClearValue, RunListener* listener) {
  switch (target.Scope) {
    case RunTarget::Level::Catalogue: {
      ScopedSubscription<EventSource<PrivacyConfigsEvents>, PrivacyConfigsEvents> sink(catalogue, listener);
      if (bRefreshValue) catalogue.EmptyPrivacyValue();
      return catalogue.GetPrivacyValue(bRefreshValue, bOmitSelected, bClearValue);
    }
    case RunTarget::Level::SoftwareType: {
      ScopedSubscription<EventSource<PrivacyConfigsEvents>, PrivacyConfigsEvents> sink(catalogue, listener);
      if (bRefreshValue) catalogue.EmptyPrivacyValueBySoftwareType(target.SoftwareType);
      return catalogue.GetPrivacyValueBySoftwareType(target.SoftwareType, bRefreshValue, bOmitSelected,
                                                     bClearValue);
    }
    case RunTarget::Level::Config: {
      ScopedSubscription<EventSource<PrivacyConfigEvents>, PrivacyConfigEvents> sink(*target.Config, listener);
      if (bRefreshValue) target.Config->EmptyPrivacyValue();
      return target.Config->GetPrivacyValue(bRefreshValue, bOmitSelected, bClearValue);
    }
    case RunTarget::Level::Item: {
      ScopedSubscription<EventSource<PrivacyItemEvents>, PrivacyItemEvents> sink(*target.Item, listener);
      if (bRefreshValue) target.Item->EmptyPrivacyValue();
      return target.Item->GetPrivacyValue(bRefreshValue, bClearValue);
    }
  }
  return nullptr;
}

/// Makes `log` the trace log while it lives.
class ScopedTraceLog {
 public:
  explicit ScopedTraceLog(TraceLog* log) : previous_(GetTraceLog()) { SetTraceLog(log); }
  ~ScopedTraceLog() { SetTraceLog(previous_); }
  ScopedTraceLog(const ScopedTraceLog&) = delete;
  ScopedTraceLog& operator=(const ScopedTraceLog&) = delete;

 private:
  TraceLog* previous_;
};

}  // namespace

RunTotals TotalsOf(const std::shared_ptr<PrivacyValues>& values, const std::string& statusText) {
  RunTotals totals;
  totals.Values = values;
  totals.StatusText = statusText;
  if (!values) return totals;
  totals.Count = values->Count();
  for (const auto& pv : *values) {
    totals.Bytes += pv->Size;
    if (pv->ValueStatus == status::kFailed) ++totals.Failed;
  }
  return totals;
}

RunTotals ShowPrivacyValues(PrivacyConfigs& catalogue, const RunTarget& target, bool bRefreshValue,
                            bool bOmitSelected, bool bClearValue, RunListener* listener) {
  return TotalsOf(SearchTarget(catalogue, target, bRefreshValue, bOmitSelected, bClearValue, listener),
                  target.StatusText);
}

RunEngine::RunEngine(PrivacyConfigs& catalogue, PrivacyLog& log, const Clock& clock)
    : catalogue_(catalogue), log_(log), clock_(clock) {}

RunTotals RunEngine::Run(const RunTarget& target, bool bClearValue, bool bOmitSelected, RunListener* listener) {
  if (!processEnd_) throw RuntimeError(errors::kInvalidArgument, "RunEngine", "a run is already active");

  // Restores the idle state however the run ends.
  struct Frame {
    RunEngine& engine;
    bool logging = false;
    explicit Frame(RunEngine& e) : engine(e) {
      StopRequested = false;
      engine.processEnd_ = false;
    }
    ~Frame() {
      if (logging && engine.log_.IsLogging()) {
        try {
          engine.log_.EndLogging();
        } catch (const std::exception&) {
          // Only reached while another failure is already on its way out.
        }
      }
      StopRequested = false;
      engine.processEnd_ = true;
    }
  } frame(*this);

  ItemWalker walker(ProgramWalkServices(log_, clock_));
  ScopedItemWalks walks(&walker);
  ScopedTraceLog traceLog(&log_);

  frame.logging = Settings().EnableFileLogging;
  if (frame.logging) log_.StartLogging();
  RunTotals totals = ShowPrivacyValues(catalogue_, target, true, bOmitSelected, bClearValue, listener);
  if (frame.logging) {
    log_.EndLogging();
    totals.LogFileName = log_.LogFileName;
  }
  return totals;
}

RunTotals RunEngine::Display(const RunTarget& target, RunListener* listener) {
  return ShowPrivacyValues(catalogue_, target, false, false, false, listener);
}

void RunEngine::RequestStop() { StopRequested = true; }

}  // namespace qm
