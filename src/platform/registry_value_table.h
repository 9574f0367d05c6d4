#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm::reg {

/// A named value of a key in the file-backed registry store.
struct StoredValue {
  std::string Name;
  uint32_t Type = 0;
  std::vector<uint8_t> Data;
};

/// The values of one key: found by name without regard to ASCII letter case in constant average time,
/// enumerated in creation order, deleted in constant time. Keys with a hundred thousand values are read and
/// cleaned without a pass over all of them per value.
class ValueTable {
  /// The creation number tells which of two values came first without counting positions.
  struct Entry : StoredValue {
    uint64_t Order = 0;
  };
  using Entries = std::list<Entry>;

 public:
  ValueTable() = default;
  // The name index and the enumeration cursor point into the entries themselves.
  ValueTable(const ValueTable&) = delete;
  ValueTable& operator=(const ValueTable&) = delete;

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  Entries::const_iterator begin() const { return entries_.begin(); }
  Entries::const_iterator end() const { return entries_.end(); }

  /// The value at `index` (< size()) in creation order. Constant time for the first and the last value and
  /// for neighbours of the one asked for before, so walking the values in either direction costs constant
  /// time per step, deletions in between included. Not safe for concurrent readers: it moves a cursor.
  const StoredValue& operator[](std::size_t index) const;

  /// The value called `name`, or null.
  const StoredValue* Find(std::string_view name) const;
  /// Sets a value, keeping its name and place when it exists. Returns false when nothing changed.
  bool Set(std::string_view name, uint32_t type, std::vector<uint8_t> data);
  /// Deletes a value; false when there was none.
  bool Erase(std::string_view name);

 private:
  struct FoldedHash {
    std::size_t operator()(std::string_view name) const;
  };
  struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const;
  };

  Entries entries_;
  /// Keyed by views of the entries' own names: list elements never move.
  std::unordered_map<std::string_view, Entries::iterator, FoldedHash, FoldedEqual> byName_;
  uint64_t nextOrder_ = 0;
  /// The last position asked for and its index; end() with index size() when none.
  mutable Entries::const_iterator cursor_ = entries_.end();
  mutable std::size_t cursorIndex_ = 0;
};

}  // namespace qm::reg
