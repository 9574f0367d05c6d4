#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clean/run_engine.h"

namespace qm::testing {

/// Writes every event it hears as one line: "append Title Path", "item Title n", "config Software n",
/// "type T n", "finish n". With `stopAfter` > 0 it asks the run to stop once that many traces were reported.
class EventJournal : public RunListener {
 public:
  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override {
    lines.push_back("append " + pi.Title + " " + pv.Path);
    if (stopAfter > 0 && ++appended_ == stopAfter) RunEngine::RequestStop();
  }
  void ParseItemFinish(PrivacyItem& pi, int64_t n) override {
    lines.push_back("item " + pi.Title + " " + std::to_string(n));
  }
  void ParseConfigFinish(PrivacyConfig& pc, int64_t n) override {
    lines.push_back("config " + pc.Software + " " + std::to_string(n));
  }
  void ParseFinish(int64_t n) override { lines.push_back("finish " + std::to_string(n)); }
  void ParseBySoftwareTypeFinish(int32_t type, int64_t n) override {
    lines.push_back("type " + std::to_string(type) + " " + std::to_string(n));
  }

  /// The lines other than the "append" ones: the counts of each level.
  std::vector<std::string> Summary() const {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
      if (line.rfind("append ", 0) != 0) out.push_back(line);
    }
    return out;
  }

  std::vector<std::string> lines;
  int stopAfter = 0;

 private:
  int appended_ = 0;
};

}  // namespace qm::testing
