#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "clean/engine.h"

namespace qm::ui {

/// One step of a run as the window replays it: traces found by one item (consecutive traces of the same item
/// are one event), or the end of an item, a configuration, a software-type pass or the whole search.
struct RunEvent {
  enum class Kind { Traces, ItemFinish, ConfigFinish, GroupFinish, Finish };
  Kind What = Kind::Traces;
  const PrivacyItem* Item = nullptr;
  const PrivacyConfig* Config = nullptr;
  SoftwareType Group = SoftwareType::Unknown;
  int64_t Count = 0;  ///< traces for Traces; the finished object's count (-1 for no result) otherwise
  int64_t Bytes = 0;  ///< for Traces: their sizes
};

/// Hears a run and keeps its events in order for another thread. `notify` is called (from the run's thread)
/// when a batch is ready, at most once until the batch is taken: after every 100 traces or 50 ms with news,
/// and after each finish event. The window posts itself a message from it.
class RunFeed : public RunListener {
 public:
  explicit RunFeed(std::function<void()> notify) : notify_(std::move(notify)) {}

  /// Everything heard since the last call, in order.
  std::vector<RunEvent> Take();

  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override;
  void ParseItemFinish(PrivacyItem& pi, int64_t count) override;
  void ParseConfigFinish(PrivacyConfig& pc, int64_t count) override;
  void ParseBySoftwareTypeFinish(SoftwareType type, int64_t count) override;
  void ParseFinish(int64_t count) override;
  void Warning(const std::string& message) override;

  /// The warnings of the run so far.
  std::vector<std::string> TakeWarnings();

 private:
  void Push(const RunEvent& event, bool flush);

  std::function<void()> notify_;
  std::mutex mutex_;
  std::vector<RunEvent> events_;
  std::vector<std::string> warnings_;
  int64_t pendingTraces_ = 0;
  std::chrono::steady_clock::time_point lastNotice_ = std::chrono::steady_clock::now();
  bool noticePending_ = false;
};

/// A Show or Clear run on a thread of its own, so the window stays responsive: it starts at construction and
/// calls `done` (on its thread) when it has ended. The engine, the target's objects and the feed must outlive
/// it; the destructor waits for the thread.
class RunThread {
 public:
  RunThread(Engine& engine, RunTarget target, RunOptions options, RunFeed& feed, std::function<void()> done);
  ~RunThread();
  RunThread(const RunThread&) = delete;
  RunThread& operator=(const RunThread&) = delete;

  /// Once `done` was called: the run's totals, or the error that ended it.
  RunTotals Result();

 private:
  RunTotals totals_;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace qm::ui
