#pragma once

#include <algorithm>
#include <memory>
#include <vector>

namespace qm {

/// An object that raises events to the listeners subscribed to it, in the order they subscribed.
template <class Listener>
class EventSource {
 public:
  EventSource() = default;
  EventSource(const EventSource&) = delete;
  EventSource& operator=(const EventSource&) = delete;

  void Subscribe(Listener* listener) { listeners_.push_back(listener); }
  void Unsubscribe(Listener* listener) {
    auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it != listeners_.end()) listeners_.erase(it);
  }

 protected:
  ~EventSource() = default;

  /// Calls `call(listener)` for every listener. A handler may change the subscriptions: listeners that
  /// unsubscribed meanwhile are skipped, new ones hear the next event.
  template <class Call>
  void Raise(Call&& call) {
    const std::vector<Listener*> snapshot = listeners_;
    for (Listener* listener : snapshot) {
      if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) call(*listener);
    }
  }

 private:
  std::vector<Listener*> listeners_;
};

/// An event-sink variable: holds one source (or none) and keeps `listener` subscribed to whichever source it
/// holds. Setting it to another source, or to nullptr, moves the subscription.
template <class Source, class Listener>
class EventSink {
 public:
  explicit EventSink(Listener* listener) : listener_(listener) {}
  EventSink(const EventSink&) = delete;
  EventSink& operator=(const EventSink&) = delete;
  ~EventSink() { Set(nullptr); }

  void Set(std::shared_ptr<Source> source) {
    if (source_) source_->Unsubscribe(listener_);
    source_ = std::move(source);
    if (source_) source_->Subscribe(listener_);
  }

 private:
  Listener* listener_;
  std::shared_ptr<Source> source_;
};

}  // namespace qm
