#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "config/privacy_configs.h"

namespace qm::ui {

/// The list of the Plug-ins or Customs page of Preferences: one row per configuration of one software type,
/// each with a working copy of its own and a check mark. Nothing reaches the catalogue before `AddTo`.
class ConfigList {
 public:
  struct Row {
    std::shared_ptr<PrivacyConfig> Copy;  ///< the working copy the row stands for
    bool Checked = false;                 ///< the row's check mark
  };

  /// Rows for the configurations of `type` in `catalogue`: the selected ones first, then the others, each in
  /// catalogue order, checked as they are selected. `title` begins the page's caption.
  ConfigList(const PrivacyConfigs& catalogue, SoftwareType type, std::string title);

  const std::vector<Row>& Rows() const { return rows_; }

  /// The page's caption: the title followed by the number of rows in parentheses, "Plug-ins Settings(3)".
  std::string Caption() const;

  /// The user ticked or unticked a row: its mark, its copy's `Selected` and every item's follow.
  void CheckRow(std::size_t row, bool checked);
  /// "Select All": every row's mark only; the copies take their marks when the list is added to a catalogue.
  void MarkAll(bool checked);
  /// After the Privacy Detail window closed on a row's copy: the mark follows the copy's `Selected`.
  void TakeDetail(std::size_t row);
  /// Removes the rows at the given positions (any order; positions out of range are ignored).
  void Delete(std::vector<std::size_t> rows);

  /// Adds a clone of each row's copy to `catalogue`, in row order, selected as the row is checked. The rows
  /// keep their copies, so later edits do not reach that catalogue.
  void AddTo(PrivacyConfigs& catalogue) const;

 private:
  std::string title_;
  std::vector<Row> rows_;
};

}  // namespace qm::ui
