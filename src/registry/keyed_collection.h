#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/ordered_collection.h"

namespace qm {

/// The registry's collections: an ordered collection that takes its items by value and hands them out by
/// reference, so an item taken out with `Item` stays the one in the collection. Positions, keys and errors
/// are those of `OrderedCollection`.
template <typename T>
class KeyedCollection {
  using Items = OrderedCollection<T>;

 public:
  class iterator {
   public:
    explicit iterator(typename Items::const_iterator at) : at_(at) {}
    T& operator*() const { return **at_; }
    T* operator->() const { return at_->get(); }
    iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const iterator& other) const { return at_ == other.at_; }

   private:
    typename Items::const_iterator at_;
  };

  /// Adds `item` under `key` when the key is not empty, else without a key; returns the item.
  T& Add(T item, const std::string& key = "") { return *items_.Add(std::make_shared<T>(std::move(item)), key); }

  /// The item at a 1-based position.
  T& Item(int64_t index) const { return *items_.Item(index); }
  /// The item added under `key`.
  T& Item(const std::string& key) const { return *items_.Item(key); }

  int64_t Count() const { return items_.Count(); }

  void Remove(int64_t index) { items_.Remove(index); }
  void Remove(const std::string& key) { items_.Remove(key); }

  /// Enumeration in insertion order.
  iterator begin() const { return iterator(items_.begin()); }
  iterator end() const { return iterator(items_.end()); }
  iterator NewEnum() const { return begin(); }

 private:
  Items items_{"Collection"};
};

}  // namespace qm
