#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace qm::ui {

/// A list view in report view with a check box on each row, as the custom and plug-in lists show their
/// configurations. Rows are 0-based.
class CheckList {
 public:
  /// Sets up the list control `id` of `dialog`: check boxes, whole-row highlight, and the columns, each a title
  /// and a width in dialog units.
  CheckList(HWND dialog, int id, std::initializer_list<std::pair<const char*, int>> columns);

  HWND Handle() const { return list_; }
  int Count() const;
  /// Appends a row: the texts of its columns in order, and its check box. Returns its index.
  int Add(const std::vector<std::string>& texts, bool checked);
  /// Replaces a row's texts and check box.
  void Set(int row, const std::vector<std::string>& texts, bool checked);
  void Remove(int row);
  void Clear();
  /// Every row's check box, in row order.
  std::vector<bool> Checks() const;
  void CheckAll(bool checked);
  /// Whether each row is highlighted (selected), in row order.
  std::vector<bool> Highlighted() const;
  /// The first highlighted row, -1 when none is.
  int Selection() const;
  /// Highlights `row` alone and makes it the focused, visible one.
  void Select(int row);

 private:
  HWND list_;
};

}  // namespace qm::ui
