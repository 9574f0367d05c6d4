#include "discovery/parsers/ie_auto_complete.h"

#include "discovery/registry_walks.h"
#include "registry/auto_complete.h"
#include "registry/reg_values.h"

namespace qm {

void ParseIEAutoComplete(WalkContext& context) {
  // Without knowing whose stores they are, none of them is touched, the passwords neither.
  if (context.Services.UserText.empty()) return;
  AutoCompleteStores stores(context.Services.Registry, context.Services.UserText);
  std::vector<AutoCompleteEntry> entries;
  // One write of the store for the whole clearing; its result is the entries' outcome.
  reg::ChangeBatch batch(context.Services.Registry);
  context.DeferLog();
  if (context.Clear) {
    entries = stores.ClearAutoCompleteForms([&](const std::string& line) { context.LogLine(line); });
  } else {
    entries = stores.GetAutoCompleteForms();
  }
  for (const AutoCompleteEntry& entry : entries) {
    const TraceStatus status = !context.Clear ? TraceStatus::Found
                               : entry.Erased ? TraceStatus::Erased
                                              : TraceStatus::Failed;
    context.Report(*context.Values.AddRegKey(entry.Key, status));
  }
  // Show and Clear cover the same: the form entries of both store forms, never the saved passwords.
  RegKey formData(context.Services.Registry, reg::kCurrentUser, autocomplete::kFormDataKey);
  for (const RegValue& rv : formData.EnumSubValues()) {
    if (context.Stopped()) break;
    SkipFailure([&] { HandlePlainValue(context, rv); });
  }
  context.LogDeferred(batch.End() != reg::kSuccess);
}

}  // namespace qm
