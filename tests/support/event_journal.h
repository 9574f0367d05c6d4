#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clean/engine.h"

namespace qm::testing {

/// Writes every event it hears as one line: "append Title Path", "item Title n", "config Software n",
/// "type T n", "finish n", "problem Path". With `stopAfter` > 0 it asks `engine` to stop once that many traces
/// were reported.
class EventJournal : public RunListener {
 public:
  EventJournal() = default;
  EventJournal(Engine& engine, int stopAfter) : engine_(&engine), stopAfter_(stopAfter) {}

  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override {
    lines.push_back("append " + pi.Title + " " + pv.Path);
    if (engine_ && ++appended_ == stopAfter_) engine_->RequestStop();
  }
  void ParseItemFinish(PrivacyItem& pi, int64_t n) override {
    lines.push_back("item " + pi.Title + " " + std::to_string(n));
  }
  void ParseConfigFinish(PrivacyConfig& pc, int64_t n) override {
    lines.push_back("config " + pc.Software + " " + std::to_string(n));
  }
  void ParseFinish(int64_t n) override { lines.push_back("finish " + std::to_string(n)); }
  void ParseBySoftwareTypeFinish(SoftwareType type, int64_t n) override {
    lines.push_back("type " + std::to_string(static_cast<int>(type)) + " " + std::to_string(n));
  }
  void WalkProblem(PrivacyItem&, const std::string& path, const RuntimeError&) override {
    lines.push_back("problem " + path);
  }

  std::vector<std::string> lines;

 private:
  Engine* engine_ = nullptr;
  int stopAfter_ = 0;
  int appended_ = 0;
};

}  // namespace qm::testing
