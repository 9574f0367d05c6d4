#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace qm {

/// Error numbers the collections raise, as the original collection class numbers them.
namespace errors {
inline constexpr int32_t kInvalidArgument = 5;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kDuplicateKey = 457;
}  // namespace errors

/// An ordered collection of shared objects, 1-based, optionally keyed. Elements keep insertion order unless
/// placed with `Before`/`After`; keys are unique and compare case-insensitively. Misuse raises 9 for a
/// position out of range, 5 for an unknown key or both `Before` and `After`, 457 for a key in use. The same object may sit in
/// several collections at once: they share it.
template <class T>
class OrderedCollection {
  struct Entry;

 public:
  using Pointer = std::shared_ptr<T>;

  /// `source` names the collection in the errors it raises.
  explicit OrderedCollection(const char* source = "Collection") : source_(source) {}

  /// Stores `item` at the end, or after position `after` / before position `before` (1-based; at most one of
  /// the two). A non-empty `key` must not be in use yet. Returns the stored object.
  Pointer Add(Pointer item, const std::string& key = "", std::optional<int64_t> after = std::nullopt,
              std::optional<int64_t> before = std::nullopt) {
    if (after && before) Raise(errors::kInvalidArgument, "Add: give either Before or After, not both");
    if (!key.empty() && FindKey(key)) Raise(errors::kDuplicateKey, "Add: the key \"" + key + "\" is in use");
    std::size_t at = entries_.size();
    if (before) at = Position(*before) - 1;
    if (after) at = Position(*after);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), Entry{item, key});
    return item;
  }

  /// The element at a 1-based position.
  const Pointer& Item(int64_t index) const { return entries_[Position(index) - 1].item; }
  /// The element stored under `key`.
  const Pointer& Item(const std::string& key) const {
    const Entry* e = FindKey(key);
    if (!e) Raise(errors::kInvalidArgument, "Item: no element has the key \"" + key + "\"");
    return e->item;
  }

  int64_t Count() const { return static_cast<int64_t>(entries_.size()); }

  void Remove(int64_t index) { entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(Position(index) - 1)); }
  void Remove(const std::string& key) {
    const Entry* e = FindKey(key);
    if (!e) Raise(errors::kInvalidArgument, "Remove: no element has the key \"" + key + "\"");
    entries_.erase(entries_.begin() + (e - entries_.data()));
  }

  /// Moves the element at position `from` in front of the element at position `before` (`before` < `from`),
  /// keeping its key.
  void Move(int64_t from, int64_t before) {
    const std::size_t source = Position(from) - 1;
    const std::size_t target = Position(before) - 1;
    Entry moved = std::move(entries_[source]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(source));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(target), std::move(moved));
  }

  /// Enumeration in order, over the shared pointers.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Pointer;
    using difference_type = std::ptrdiff_t;
    using reference = const Pointer&;
    using pointer = const Pointer*;
    const_iterator() = default;
    explicit const_iterator(typename std::vector<Entry>::const_iterator it) : it_(it) {}
    const Pointer& operator*() const { return it_->item; }
    const Pointer* operator->() const { return &it_->item; }
    const_iterator& operator++() {
      ++it_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++it_;
      return old;
    }
    bool operator==(const const_iterator& other) const { return it_ == other.it_; }

   private:
    typename std::vector<Entry>::const_iterator it_;
  };
  const_iterator begin() const { return const_iterator(entries_.begin()); }
  const_iterator end() const { return const_iterator(entries_.end()); }

 private:
  struct Entry {
    Pointer item;
    std::string key;
  };

  [[noreturn]] void Raise(int32_t number, const std::string& description) const {
    throw RuntimeError(number, source_, description);
  }

  /// Checks a 1-based position and returns it as an index type.
  std::size_t Position(int64_t index) const {
    if (index < 1 || index > Count()) {
      Raise(errors::kSubscriptOutOfRange, "position " + std::to_string(index) + " is not in 1.." +
                                              std::to_string(Count()));
    }
    return static_cast<std::size_t>(index);
  }

  const Entry* FindKey(const std::string& key) const {
    for (const Entry& e : entries_) {
      if (!e.key.empty() && text::EqualsIgnoreCase(e.key, key)) return &e;
    }
    return nullptr;
  }

  const char* source_;
  std::vector<Entry> entries_;
};

}  // namespace qm
