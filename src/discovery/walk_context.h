#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/privacy_item.h"
#include "discovery/hold_match.h"
#include "discovery/walk_services.h"
#include "trace/privacy_values.h"

namespace qm {

/// The state of one item search, shared by the walks of every kind and the special-case parsers.
///
/// Every trace is reported (the item's `AppendValue`) once, and logged once with the status it ends with. A
/// trace whose erase happens on the spot is reported and logged together (`Report`). A folder or key that a
/// clear removes only after its content is reported first (`ReportPending`) and logged when its outcome is
/// known (`Settle`). An item whose erases all land at its end (one write of an ini file, of the registry
/// store) defers its log lines until then (`DeferLog` ... `LogDeferred`).
class WalkContext {
 public:
  WalkContext(PrivacyItem& item, PrivacyValues& values, bool clear, const WalkServices& services);

  PrivacyItem& Item;
  PrivacyValues& Values;
  const bool Clear;  ///< erase each trace as it is found
  const WalkServices& Services;

  /// True when the run was asked to stop: every loop tests it before each trace.
  bool Stopped() const { return Services.Stop.load(std::memory_order_relaxed); }

  /// The seek setting at a 1-based position; "" beyond the last one.
  const std::string& Setting(int64_t position) const;
  int64_t SettingCount() const { return Item.SeekSettings.Count(); }

  /// True when a file at `path` (the platform's own form) must survive a clear.
  bool IsHeldFile(std::string_view path) const { return fileHolds_.IsHeld(path); }
  /// True when the registry value at "key path\value name" must survive a clear.
  bool IsHeldValue(std::string_view path) const { return valueHolds_.IsHeld(path); }

  /// Reports a trace whose outcome is known, and logs it (`section`: an ini entry's section).
  void Report(PrivacyValue& pv, std::string_view section = {});
  /// Reports a folder or key whose outcome a clear learns later; a show logs it now.
  void ReportPending(PrivacyValue& pv);
  /// Logs a trace reported pending, now that its outcome is known.
  void Settle(PrivacyValue& pv);

  /// From here on, log lines wait for LogDeferred.
  void DeferLog() { deferring_ = true; }
  /// Writes the waiting log lines; with `undone` every trace among them that was erased is still there (the
  /// write that would have erased it failed) and says so first.
  void LogDeferred(bool undone);

  /// Erases a file trace found as `entry` of `folder` (see FileEraser).
  void EraseFile(const FolderHandle& folder, const FolderEntry& entry, PrivacyValue& pv, FillRule rule) {
    Services.Eraser.EraseFile(folder, entry, pv, rule);
  }

  /// Tells the run that `path` could not be read.
  void Problem(const std::string& path, const RuntimeError& error);
  /// Writes one line of its own to the activity log (while a log run is open).
  void LogLine(const std::string& line) const;

 private:
  WalkContext(PrivacyItem& item, PrivacyValues& values, bool clear, const WalkServices& services,
              const TextList& holds);
  void Log(PrivacyValue& pv, std::string_view section);

  HoldMatcher fileHolds_;
  HoldMatcher valueHolds_;
  bool deferring_ = false;
  std::vector<std::pair<PrivacyValue*, std::string>> deferred_;
};

/// Runs one step of a walk. A failure ends that step only: the walk goes on with the next one. Returns
/// false when the step failed, after handing the failure to `onFailure` when one is given.
template <class Step>
bool SkipFailure(Step&& step, const std::function<void(const RuntimeError&)>& onFailure = {}) {
  try {
    step();
    return true;
  } catch (const RuntimeError& e) {
    if (onFailure) onFailure(e);
  } catch (const std::exception& e) {
    if (onFailure) onFailure(RuntimeError(0, "", e.what()));
  }
  return false;
}

}  // namespace qm
