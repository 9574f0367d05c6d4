#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "clean/file_trace_erase.h"
#include "config/privacy_item.h"
#include "config/stop_requested.h"
#include "discovery/item_walker.h"
#include "discovery/privacy_values.h"
#include "platform/clock.h"
#include "support/catalogue_builders.h"
#include "support/trace_text.h"

namespace qm::testing {

/// The log prefix of a status, written out here so the tests do not take it from the code under test.
inline std::string PrefixOf(int32_t valueStatus) {
  switch (valueStatus) {
    case -1: return "Unknown ";
    case 1: return "Find ";
    case 2: return "Delete ";
    case 3: return "Fill blank ";
    case 4: return "Keep locked ";
    default: return "";
  }
}

/// Records every line the walks write: trace lines (as the log would write them) and error lines. It is the
/// trace log while it lives.
class RecordingLog : public TraceLog {
 public:
  RecordingLog() : previous_(GetTraceLog()) { SetTraceLog(this); }
  ~RecordingLog() override { SetTraceLog(previous_); }
  void AppendPrivacyValue(const PrivacyValue& pv) override {
    const bool byPath = pv.ValueType == 4 || pv.ValueType == 5;
    lines.push_back(PrefixOf(pv.ValueStatus) + (byPath ? pv.Path : pv.ValueName));
  }
  std::vector<std::string> lines;

 private:
  TraceLog* previous_;
};

/// One search of one item through the program's item walks, with everything it reported.
struct WalkResult {
  std::shared_ptr<PrivacyValues> values;
  std::vector<std::string> reported;  ///< "kind status path" per AppendValue, status as at the report
  int64_t finishCount = -2;           ///< the count of ParseItemFinish
};

/// Runs items through an ItemWalker with a recording log, a fixed clock and files erased by the program's
/// file erase routine. `stopAfter` > 0 sets StopRequested when that many traces have been reported.
class WalkHarness : public PrivacyItemEvents {
 public:
  WalkHarness() : clock_(LocalDateTime{2026, 12, 5, 14, 3, 7}), walker_(Services()), install_(&walker_) {}
  ~WalkHarness() { StopRequested = false; }

  static std::shared_ptr<PrivacyItem> Item(int32_t type, const std::vector<std::string>& seek,
                                           const std::vector<std::string>& holds = {}) {
    return MakeItem("Test", "Item", type, seek, holds);
  }

  WalkResult Run(PrivacyItem& item, bool clear, int stopAfter = 0) {
    result_ = WalkResult{};
    stopAfter_ = stopAfter;
    StopRequested = false;
    item.Subscribe(this);
    result_.values = item.GetPrivacyValue(true, clear);
    item.Unsubscribe(this);
    StopRequested = false;
    return result_;
  }

  void AppendValue(PrivacyItem&, PrivacyValue& pv) override {
    result_.reported.push_back(test::TraceText(pv));
    if (stopAfter_ > 0 && static_cast<int>(result_.reported.size()) == stopAfter_) StopRequested = true;
  }
  void ParseItemFinish(PrivacyItem&, int64_t count) override { result_.finishCount = count; }

  RecordingLog log;
  std::vector<std::string> errorLines;
  SpecialFolders protectedFolders;
  CustomizeParsers parsers;
  int fillTimes = 1;

 private:
  WalkServices Services() {
    WalkServices services;
    services.Log = &log;
    services.AppendString = [this](const std::string& line) { errorLines.push_back(line); };
    services.EraseFile = [](PrivacyValue& pv, int times) {
      return EraseFileTrace(pv, FillRule::kIndexDatOnly, times);
    };
    services.FillTimes = [this] { return fillTimes; };
    services.Time = &clock_;
    services.Protected = &protectedFolders;
    services.Parsers = &parsers;
    return services;
  }

  ManualClock clock_;
  ItemWalker walker_;
  ScopedItemWalks install_;
  WalkResult result_;
  int stopAfter_ = 0;
};

/// The final "kind status path" of every trace of a result, in order.
inline std::vector<std::string> Finals(const WalkResult& r) { return test::TraceTexts(r.values); }

}  // namespace qm::testing
