#include "discovery/walk_context.h"

#include "config/placeholders.h"

namespace qm {

namespace {

/// The item's holds with their placeholders expanded. A hold that cannot be expanded stays as written: it
/// then holds nothing, as a hold naming a missing file does.
TextList ExpandedHolds(const PrivacyItem& item, const WalkServices& services) {
  TextList holds;
  for (const std::string& hold : item.HoldSettings) {
    std::string expanded;
    if (services.Folders && hold.find('%') != std::string::npos) {
      expanded = ExpandPlaceholders(hold, *services.Folders, services.Registry);
    }
    holds.Add(expanded.empty() ? hold : expanded);
  }
  return holds;
}

}  // namespace

WalkContext::WalkContext(PrivacyItem& item, PrivacyValues& values, bool clear, const WalkServices& services)
    : WalkContext(item, values, clear, services, ExpandedHolds(item, services)) {}

WalkContext::WalkContext(PrivacyItem& item, PrivacyValues& values, bool clear, const WalkServices& services,
                         const TextList& holds)
    : Item(item),
      Values(values),
      Clear(clear),
      Services(services),
      fileHolds_(item.HoldFlag, holds, HoldMatcher::Form::FilePath),
      valueHolds_(item.HoldFlag, holds, HoldMatcher::Form::AsWritten) {}

const std::string& WalkContext::Setting(int64_t position) const {
  static const std::string kNone;
  return position >= 1 && position <= SettingCount() ? Item.SeekSettings.Item(position) : kNone;
}

void WalkContext::Report(PrivacyValue& pv, std::string_view section) {
  Item.RaiseAppendValue(pv);
  Log(pv, section);
}

void WalkContext::ReportPending(PrivacyValue& pv) {
  Item.RaiseAppendValue(pv);
  if (!Clear) Log(pv, {});
}

void WalkContext::Settle(PrivacyValue& pv) {
  if (Clear) Log(pv, {});
}

void WalkContext::LogDeferred(bool undone) {
  deferring_ = false;
  for (auto& [pv, section] : deferred_) {
    if (undone && pv->ValueStatus == TraceStatus::Erased) pv->ValueStatus = TraceStatus::Failed;
    Log(*pv, section);
  }
  deferred_.clear();
}

void WalkContext::Log(PrivacyValue& pv, std::string_view section) {
  if (deferring_) {
    deferred_.emplace_back(&pv, std::string(section));
  } else if (Services.Log) {
    Services.Log->AppendPrivacyValue(pv, section);
  }
}

void WalkContext::Problem(const std::string& path, const RuntimeError& error) {
  if (Services.Problems) Services.Problems->WalkProblem(Item, path, error);
}

void WalkContext::LogLine(const std::string& line) const {
  if (Services.Log) Services.Log->AppendString(line);
}

}  // namespace qm
