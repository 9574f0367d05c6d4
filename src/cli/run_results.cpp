#include "cli/run_results.h"

namespace qm::cli {
namespace {

/// What a trace is, the same for the records two searches make of it: kind, hive and path; an ini entry's
/// path names its file and key only, so its value tells entries of two sections apart.
std::string Identity(const PrivacyValue& pv) {
  std::string identity =
      std::to_string(static_cast<int>(pv.ValueType)) + ':' + std::to_string(pv.RootKey) + ':' + pv.Path;
  if (pv.ValueType == TraceKind::IniEntry) identity += '\0' + pv.Value;
  return identity;
}

}  // namespace

void RunResults::Add(RunTotals run) {
  run.ForEachTrace([&](const PrivacyItem* item, const PrivacyValue& pv) {
    const auto [place, added] = places_.emplace(Identity(pv), traces_.size());
    if (added) {
      traces_.push_back({item, &pv});
    } else {
      traces_[place->second].value = &pv;
    }
  });
  runs_.push_back(std::move(run));
}

TraceTally RunResults::Tally() const {
  TraceTally tally;
  for (const Trace& trace : traces_) {
    ++tally.traces;
    tally.bytes += trace.value->Size;
    switch (trace.value->ValueStatus) {
      case TraceStatus::FilledBlank: ++tally.overwritten; [[fallthrough]];
      case TraceStatus::Erased: ++tally.erased; break;
      case TraceStatus::Held: ++tally.held; break;
      case TraceStatus::Failed: ++tally.failed; break;
      case TraceStatus::Found:
      case TraceStatus::NotSet: ++tally.kept; break;
    }
  }
  return tally;
}

std::string RunResults::StatusText() const {
  std::string text;
  for (const RunTotals& run : runs_) text += (text.empty() ? "" : ", ") + run.StatusText;
  return text;
}

int64_t RunResults::Unreadable() const {
  int64_t unreadable = 0;
  for (const RunTotals& run : runs_) unreadable += run.Unreadable;
  return unreadable;
}

bool RunResults::Stopped() const {
  for (const RunTotals& run : runs_) {
    if (run.Stopped) return true;
  }
  return false;
}

std::string RunResults::LogFileName() const { return runs_.empty() ? "" : runs_.back().LogFileName; }

}  // namespace qm::cli
