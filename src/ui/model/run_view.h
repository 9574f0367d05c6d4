#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "clean/run_totals.h"
#include "trace/privacy_value.h"

namespace qm::ui {

/// The status bar's four panels.
struct StatusPanels {
  std::string Where;  ///< panel 1: the item being searched, or the target's status text after a run
  std::string Count;  ///< panel 2: the number of traces
  std::string Size;   ///< panel 3: their size as "##,##0.00 K"
  std::string Row;    ///< panel 4: the clicked row's text
};

/// The running count and size of a pass, as the status bar follows it.
class RunProgress {
 public:
  /// `count` traces of `bytes` in all were found by the item `software`\`title`.
  void Add(const std::string& software, const std::string& title, int64_t count, int64_t bytes);
  const StatusPanels& Panels() const { return panels_; }
  int64_t Count() const { return count_; }

 private:
  int64_t count_ = 0;
  int64_t bytes_ = 0;
  StatusPanels panels_;
};

/// The panels after a pass: its status text, every trace's count and size (listed or not), no row text.
StatusPanels FinishedPanels(const RunTotals& totals);

/// How many rows the list shows of `count` traces: all of them, or at most `displayMaxRows` when that is
/// above 0.
std::size_t ListedRows(int64_t count, int32_t displayMaxRows);

/// One row of the trace list: its text, its icon key, and the path column (files and folders only).
struct ListRow {
  std::string Text;
  std::string_view Icon;
  std::string Path;
};
ListRow RowOf(const PrivacyValue& pv);

}  // namespace qm::ui
