#include "discovery/parsers/ie_auto_complete.h"

#include "platform/error.h"
#include "registry/auto_complete.h"

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
    try {
      stores.ClearAutoCompletePasswords();
    } catch (const RuntimeError&) {
      // The passwords are no trace of this item; the form entries erased above must still be reported.
    }
  } else {
    entries = stores.GetAutoCompleteForms();
  }
  for (const AutoCompleteEntry& entry : entries) {
    const TraceStatus status = !context.Clear ? TraceStatus::Found
                               : entry.Erased ? TraceStatus::Erased
                                              : TraceStatus::Failed;
    context.Report(*context.Values.AddRegKey(entry.Key, status));
  }
  context.LogDeferred(batch.End() != reg::kSuccess);
}

}  // namespace qm
