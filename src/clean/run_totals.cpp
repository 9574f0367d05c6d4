#include "clean/run_totals.h"

namespace qm {

RunTotals TotalsOf(const std::shared_ptr<PrivacyValues>& values, const std::string& statusText) {
  RunTotals totals;
  totals.Values = values;
  totals.StatusText = statusText;
  if (!values) return totals;
  totals.Count = values->Count();
  for (const auto& pv : *values) {
    totals.Bytes += pv->Size;
    if (pv->ValueStatus == TraceStatus::Failed) ++totals.Failed;
  }
  return totals;
}

void RunTotals::ForEachTrace(const std::function<void(const PrivacyItem* item, const PrivacyValue& pv)>& visit) const {
  if (!Values) return;
  std::size_t share = 0;
  int64_t taken = 0;
  for (const auto& pv : *Values) {
    while (share < Items.size() && taken == Items[share].Count) {
      ++share;
      taken = 0;
    }
    visit(share < Items.size() ? Items[share].Item : nullptr, *pv);
    ++taken;
  }
}

}  // namespace qm
