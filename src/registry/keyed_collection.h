#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace qm {

/// A 1-based collection in insertion order whose items may carry a text key (compared without regard to
/// letter case). Items are held by reference, so an item taken out with `Item` stays the one in the
/// collection. Misuse raises the errors a keyed collection raises: 9 for an index out of range, 5 for an
/// unknown key, 457 for a key already used.
template <typename T>
class KeyedCollection {
  struct Entry {
    std::shared_ptr<T> item;
    std::string key;
  };

 public:
  class iterator {
   public:
    explicit iterator(typename std::vector<Entry>::const_iterator at) : at_(at) {}
    T& operator*() const { return *at_->item; }
    T* operator->() const { return at_->item.get(); }
    iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const iterator& other) const { return at_ == other.at_; }
    bool operator!=(const iterator& other) const { return at_ != other.at_; }

   private:
    typename std::vector<Entry>::const_iterator at_;
  };

  /// Adds `item` under `key` when the key is not empty, else without a key; returns the item.
  T& Add(T item, const std::string& key = "") {
    if (!key.empty() && Find(key) != entries_.size()) {
      throw RuntimeError(457, "Collection", "This key is already associated with an element of this collection");
    }
    entries_.push_back(Entry{std::make_shared<T>(std::move(item)), key});
    return *entries_.back().item;
  }

  /// The item at a 1-based position.
  T& Item(int64_t index) const { return *entries_[Position(index)].item; }
  /// The item added under `key`.
  T& Item(const std::string& key) const { return *entries_[KeyPosition(key)].item; }

  int64_t Count() const { return static_cast<int64_t>(entries_.size()); }

  void Remove(int64_t index) { entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(Position(index))); }
  void Remove(const std::string& key) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(KeyPosition(key)));
  }

  /// Enumeration in insertion order.
  iterator begin() const { return iterator(entries_.begin()); }
  iterator end() const { return iterator(entries_.end()); }
  iterator NewEnum() const { return begin(); }

 private:
  size_t Find(const std::string& key) const {
    for (size_t i = 0; i < entries_.size(); ++i) {
      if (text::EqualsIgnoreCase(entries_[i].key, key)) return i;
    }
    return entries_.size();
  }

  size_t Position(int64_t index) const {
    if (index < 1 || index > Count()) throw RuntimeError(9, "Collection", "Subscript out of range");
    return static_cast<size_t>(index - 1);
  }

  size_t KeyPosition(const std::string& key) const {
    size_t at = key.empty() ? entries_.size() : Find(key);
    if (at == entries_.size()) throw RuntimeError(5, "Collection", "Invalid procedure call or argument");
    return at;
  }

  std::vector<Entry> entries_;
};

}  // namespace qm
