#include "ui/model/run_feed.h"

#include <utility>

namespace qm::ui {
namespace {

constexpr int64_t kTracesPerBatch = 100;
constexpr std::chrono::milliseconds kBatchInterval{50};

}  // namespace

std::vector<RunEvent> RunFeed::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  noticePending_ = false;
  pendingTraces_ = 0;
  return std::exchange(events_, {});
}

std::vector<std::string> RunFeed::TakeWarnings() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(warnings_, {});
}

void RunFeed::Push(const RunEvent& event, bool flush) {
  bool notify = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    RunEvent* last = events_.empty() ? nullptr : &events_.back();
    if (event.What == RunEvent::Kind::Traces && last && last->What == RunEvent::Kind::Traces &&
        last->Item == event.Item) {
      last->Count += event.Count;
      last->Bytes += event.Bytes;
    } else {
      events_.push_back(event);
    }
    if (event.What == RunEvent::Kind::Traces) pendingTraces_ += event.Count;
    const auto now = std::chrono::steady_clock::now();
    const bool due = flush || pendingTraces_ >= kTracesPerBatch || now - lastNotice_ >= kBatchInterval;
    if (due && !noticePending_) {
      noticePending_ = true;
      lastNotice_ = now;
      notify = true;
    }
  }
  // Outside the lock: the receiver may take the batch at once.
  if (notify) notify_();
}

void RunFeed::AppendValue(PrivacyItem& pi, PrivacyValue& pv) {
  Push({RunEvent::Kind::Traces, &pi, nullptr, SoftwareType::Unknown, 1, pv.Size}, false);
}

void RunFeed::ParseItemFinish(PrivacyItem& pi, int64_t count) {
  Push({RunEvent::Kind::ItemFinish, &pi, nullptr, SoftwareType::Unknown, count, 0}, true);
}

void RunFeed::ParseConfigFinish(PrivacyConfig& pc, int64_t count) {
  Push({RunEvent::Kind::ConfigFinish, nullptr, &pc, SoftwareType::Unknown, count, 0}, true);
}

void RunFeed::ParseBySoftwareTypeFinish(SoftwareType type, int64_t count) {
  Push({RunEvent::Kind::GroupFinish, nullptr, nullptr, type, count, 0}, true);
}

void RunFeed::ParseFinish(int64_t count) {
  Push({RunEvent::Kind::Finish, nullptr, nullptr, SoftwareType::Unknown, count, 0}, true);
}

void RunFeed::Warning(const std::string& message) {
  std::lock_guard<std::mutex> lock(mutex_);
  warnings_.push_back(message);
}

RunThread::RunThread(Engine& engine, RunTarget target, RunOptions options, RunFeed& feed, std::function<void()> done)
    : thread_([this, &engine, target = std::move(target), options, &feed, done = std::move(done)] {
        try {
          totals_ = engine.Run(target, options, &feed);
        } catch (...) {
          error_ = std::current_exception();
        }
        done();
      }) {}

RunThread::~RunThread() {
  if (thread_.joinable()) thread_.join();
}

RunTotals RunThread::Result() {
  if (thread_.joinable()) thread_.join();
  if (error_) std::rethrow_exception(error_);
  return totals_;
}

}  // namespace qm::ui
