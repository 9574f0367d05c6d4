#include "discovery/parsers/ie_auto_complete.h"

#include "platform/error.h"
#include "registry/auto_complete.h"
#include "registry/reg_key.h"

namespace qm {

void ParseIEAutoComplete(ParseRun& run, const std::string& userText) {
  RegKey rk;
  AutoCompleteStores stores(rk, userText);
  std::shared_ptr<PrivacyValues> found;
  if (run.Clear) {
    found = stores.ClearAutoCompleteForms([&](const std::string& line) {
      if (run.AppendString) run.AppendString(line);
    });
    try {
      stores.ClearAutoCompletePasswords();
    } catch (const RuntimeError&) {
      // The passwords are no trace of this item; the form entries erased above must still be reported.
    }
  } else {
    found = stores.GetAutoCompleteForms();
  }
  if (found) run.Values = found;
  for (const std::shared_ptr<PrivacyValue>& pv : *run.Values) run.ReportValue(*pv);
}

}  // namespace qm
