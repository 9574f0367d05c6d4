#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace qm {

/// An ordered list of texts with 1-based positions: seek settings, hold settings and a configuration's file
/// lines.
class TextList {
 public:
  TextList() = default;
  TextList(std::initializer_list<std::string> texts) : texts_(texts) {}

  void Add(std::string text) { texts_.push_back(std::move(text)); }
  /// The text at a 1-based position; raises when there is none.
  const std::string& Item(int64_t index) const;
  int64_t Count() const { return static_cast<int64_t>(texts_.size()); }
  void Remove(int64_t index);
  bool empty() const { return texts_.empty(); }

  std::vector<std::string>::const_iterator begin() const { return texts_.begin(); }
  std::vector<std::string>::const_iterator end() const { return texts_.end(); }

  bool operator==(const TextList& other) const = default;

 private:
  std::vector<std::string> texts_;
};

}  // namespace qm
