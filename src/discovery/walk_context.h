#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "config/placeholders.h"
#include "config/privacy_item.h"
#include "config/stop_requested.h"
#include "discovery/customize_parsers.h"
#include "discovery/hold_match.h"
#include "discovery/privacy_values.h"
#include "platform/clock.h"
#include "platform/error.h"

namespace qm {

/// Erases the file of a file trace (its `Path`, named by its `ValueName`), sets the trace's status to what
/// happened (2 deleted, 3 overwritten, -1 still there) and returns it. The second argument is the number of
/// overwrite passes for a locked index.dat.
using FileEraser = std::function<int32_t(PrivacyValue&, int)>;

/// What the walks need besides the item: the services of the layers above (the activity log, the file erase
/// routine, the settings) come in here, so discovery never depends on them. A null clock, folder set or
/// parser table stands for the program's own.
struct WalkServices {
  TraceLog* Log = nullptr;                               ///< failed-erase lines; nullptr: none
  std::function<void(const std::string&)> AppendString;  ///< error lines of the registry walk; empty: none
  FileEraser EraseFile;                                  ///< required for erasing files
  std::function<int()> FillTimes;                        ///< overwrite passes; empty: 1
  const Clock* Time = nullptr;                           ///< the date and time of error lines
  const SpecialFolders* Protected = nullptr;             ///< folders a Folder item never empties
  const CustomizeParsers* Parsers = nullptr;             ///< the parsers of Customize items
};

/// The state of one item search, shared by the walks of every kind.
class WalkContext {
 public:
  WalkContext(PrivacyItem& item, PrivacyValues& values, bool clear, const WalkServices& services);

  PrivacyItem& Item;
  PrivacyValues& Values;
  const bool Clear;  ///< erase each trace as it is found
  const HoldMatcher Holds;
  const WalkServices& Services;
  const Clock& Time;
  const SpecialFolders& Protected;
  const CustomizeParsers& Parsers;

  /// Overwrite passes for a file that cannot be deleted, read once per search.
  int FillTimes() const { return fillTimes_; }

  /// The seek setting at a 1-based position; "" beyond the last one.
  const std::string& Setting(int64_t position) const;
  int64_t SettingCount() const { return Item.SeekSettings.Count(); }

  /// True when the run was asked to stop: every loop tests it before each trace.
  static bool Stopped() { return StopRequested.load(); }

  /// Raises the item's `AppendValue` for a trace just recorded.
  void Report(PrivacyValue& pv) { Item.RaiseAppendValue(pv); }

  /// A trace whose erase did not happen: its status becomes -1 and the log gets one more line for it.
  void EraseFailed(PrivacyValue& pv);

  /// Erases a file trace with the file erase routine, setting its status; a file that is still there
  /// unchanged gets its failed-erase line.
  void EraseFile(PrivacyValue& pv);

  /// Writes one line to the activity log (while a log run is open).
  void AppendString(const std::string& line) const {
    if (Services.AppendString) Services.AppendString(line);
  }

 private:
  int fillTimes_;
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
