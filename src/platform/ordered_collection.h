#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace qm {

/// Error numbers the collections raise, as the scripting runtime's Collection numbers them.
namespace errors {
inline constexpr int32_t kInvalidArgument = 5;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kDuplicateKey = 457;
}  // namespace errors

/// An ordered collection of shared objects, 1-based, optionally keyed. Elements keep insertion order unless
/// placed with `Before`/`After`; keys are unique and compare case-insensitively. Misuse raises 9 for a
/// position out of range, 5 for an unknown key or both `Before` and `After`, 457 for a key in use. The same
/// object may sit in several collections at once: they share it.
template <class T>
class OrderedCollection {
 public:
  using Pointer = std::shared_ptr<T>;
  using const_iterator = typename std::vector<Pointer>::const_iterator;

  /// `source` names the collection in the errors it raises.
  explicit OrderedCollection(const char* source = "Collection") : source_(source) {}

  /// Stores `item` at the end, or after position `after` / before position `before` (1-based; at most one of
  /// the two). A non-empty `key` must not be in use yet. Returns the stored object.
  Pointer Add(Pointer item, const std::string& key = "", std::optional<int64_t> after = std::nullopt,
              std::optional<int64_t> before = std::nullopt) {
    if (after && before) Raise(errors::kInvalidArgument, "Add: give either Before or After, not both");
    if (!key.empty() && FindKey(key) != keys_.size()) {
      Raise(errors::kDuplicateKey, "Add: the key \"" + key + "\" is in use");
    }
    std::size_t at = items_.size();
    if (before) at = Position(*before) - 1;
    if (after) at = Position(*after);
    if (!key.empty() || !keys_.empty()) {
      keys_.resize(items_.size());  // the unkeyed elements before the first key
      keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), key);
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), item);
    return item;
  }

  /// Stores every element of `other`, without keys and in its order, at the end or in front.
  void AddAll(const OrderedCollection& other, bool inFront = false) {
    // A copy first when a collection is added to itself: inserting a vector's own range is not allowed.
    const std::vector<Pointer> copy = &other == this ? items_ : std::vector<Pointer>();
    const std::vector<Pointer>& from = &other == this ? copy : other.items_;
    const auto at = inFront ? items_.begin() : items_.end();
    if (!keys_.empty()) keys_.insert(inFront ? keys_.begin() : keys_.end(), from.size(), std::string());
    items_.insert(at, from.begin(), from.end());
  }

  /// The element at a 1-based position.
  const Pointer& Item(int64_t index) const { return items_[Position(index) - 1]; }
  /// The element stored under `key`.
  const Pointer& Item(const std::string& key) const { return items_[KeyPosition(key, "Item")]; }

  int64_t Count() const { return static_cast<int64_t>(items_.size()); }

  void Remove(int64_t index) { Erase(Position(index) - 1); }
  void Remove(const std::string& key) { Erase(KeyPosition(key, "Remove")); }

  /// Moves the element at position `from` in front of the element at position `before` (`before` < `from`),
  /// keeping its key.
  void Move(int64_t from, int64_t before) {
    const std::size_t source = Position(from) - 1;
    const std::size_t target = Position(before) - 1;
    MoveWithin(items_, source, target);
    if (!keys_.empty()) MoveWithin(keys_, source, target);
  }

  /// Enumeration in order, over the shared pointers.
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

 private:
  [[noreturn]] void Raise(int32_t number, const std::string& description) const {
    throw RuntimeError(number, source_, description);
  }

  /// Checks a 1-based position and returns it as an index type.
  std::size_t Position(int64_t index) const {
    if (index < 1 || index > Count()) {
      Raise(errors::kSubscriptOutOfRange,
            "position " + std::to_string(index) + " is not in 1.." + std::to_string(Count()));
    }
    return static_cast<std::size_t>(index);
  }

  /// The 0-based index of the element stored under `key`, or the number of keys when none is.
  std::size_t FindKey(const std::string& key) const {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (!keys_[i].empty() && text::EqualsIgnoreCase(keys_[i], key)) return i;
    }
    return keys_.size();
  }

  std::size_t KeyPosition(const std::string& key, const char* operation) const {
    const std::size_t at = key.empty() ? keys_.size() : FindKey(key);
    if (at == keys_.size()) {
      Raise(errors::kInvalidArgument, std::string(operation) + ": no element has the key \"" + key + "\"");
    }
    return at;
  }

  void Erase(std::size_t at) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(at));
    if (!keys_.empty()) keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(at));
  }

  template <class V>
  static void MoveWithin(std::vector<V>& v, std::size_t source, std::size_t target) {
    V moved = std::move(v[source]);
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(source));
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(target), std::move(moved));
  }

  const char* source_;
  // Most collections never use keys: they cost nothing until the first keyed element, then there is one
  // (possibly empty) key per element, at the same index.
  std::vector<Pointer> items_;
  std::vector<std::string> keys_;
};

}  // namespace qm
