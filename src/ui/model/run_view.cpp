#include "ui/model/run_view.h"

#include <algorithm>

#include "trace/trace_text.h"

namespace qm::ui {

void RunProgress::Add(const std::string& software, const std::string& title, int64_t count, int64_t bytes) {
  count_ += count;
  bytes_ += bytes;
  panels_.Where = software + "\\" + title;
  panels_.Count = std::to_string(count_);
  panels_.Size = SizeText(bytes_);
}

StatusPanels FinishedPanels(const RunTotals& totals) {
  return {totals.StatusText, std::to_string(totals.Count), SizeText(totals.Bytes), ""};
}

std::size_t ListedRows(int64_t count, int32_t displayMaxRows) {
  const int64_t listed = displayMaxRows > 0 ? std::min<int64_t>(count, displayMaxRows) : count;
  return static_cast<std::size_t>(std::max<int64_t>(listed, 0));
}

ListRow RowOf(const PrivacyValue& pv) {
  const bool inFolders = pv.ValueType == TraceKind::File || pv.ValueType == TraceKind::Folder;
  return {pv.Value, IconKey(pv.ValueType, pv.ValueStatus), inFolders ? pv.Path : ""};
}

}  // namespace qm::ui
