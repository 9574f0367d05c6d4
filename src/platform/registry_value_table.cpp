#include "platform/registry_value_table.h"

#include <iterator>
#include <utility>

#include "platform/text.h"

namespace qm::reg {

std::size_t ValueTable::FoldedHash::operator()(std::string_view name) const {
  // FNV-1a over the ASCII-folded bytes, so names that compare equal hash alike.
  uint64_t hash = 14695981039346656037ull;
  for (char c : name) {
    hash ^= static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool ValueTable::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
  return text::EqualsIgnoreCase(a, b);
}

const StoredValue& ValueTable::operator[](std::size_t index) const {
  // Start from whichever of the first value, the end and the cursor is nearest.
  const std::size_t fromCursor = index > cursorIndex_ ? index - cursorIndex_ : cursorIndex_ - index;
  if (index < fromCursor) {
    cursor_ = entries_.begin();
    cursorIndex_ = 0;
  } else if (entries_.size() - index < fromCursor) {
    cursor_ = entries_.end();
    cursorIndex_ = entries_.size();
  }
  std::advance(cursor_, static_cast<std::ptrdiff_t>(index) - static_cast<std::ptrdiff_t>(cursorIndex_));
  cursorIndex_ = index;
  return *cursor_;
}

const StoredValue* ValueTable::Find(std::string_view name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : &*it->second;
}

bool ValueTable::Set(std::string_view name, uint32_t type, std::vector<uint8_t> data) {
  if (auto it = byName_.find(name); it != byName_.end()) {
    Entry& entry = *it->second;
    if (entry.Type == type && entry.Data == data) return false;
    entry.Type = type;
    entry.Data = std::move(data);
    return true;
  }
  entries_.push_back(Entry{{std::string(name), type, std::move(data)}, nextOrder_++});
  byName_.emplace(entries_.back().Name, std::prev(entries_.end()));
  // A cursor at the end stays there: the end moved one place on.
  if (cursor_ == entries_.end()) cursorIndex_ = entries_.size();
  return true;
}

bool ValueTable::Erase(std::string_view name) {
  auto found = byName_.find(name);
  if (found == byName_.end()) return false;
  Entries::iterator entry = found->second;
  // The cursor keeps its place: on the value that takes the index of a deleted one, or one index lower
  // when the deleted value came before it.
  if (entry == cursor_) {
    cursor_ = std::next(entry);
  } else if (cursor_ == entries_.end() || entry->Order < cursor_->Order) {
    --cursorIndex_;
  }
  byName_.erase(found);
  entries_.erase(entry);
  return true;
}

}  // namespace qm::reg
