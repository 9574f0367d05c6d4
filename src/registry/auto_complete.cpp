#include "registry/auto_complete.h"

#include <optional>
#include <utility>

#include "platform/error.h"
#include "platform/shell.h"
#include "registry/auto_complete_security.h"
#include "registry/reg_keys.h"

namespace qm {

std::string autocomplete::UserKey(const std::string& userText) {
  return std::string(kProtectedStorageKey) + "\\" + userText;
}

std::string autocomplete::StoreKey(const std::string& userText) {
  return UserKey(userText) + "\\Data\\" + kFormsTypeId + "\\" + kFormsTypeId;
}

std::string GetCurrentUserSid() {
  // The platform answers with the SID where the registry keeps security (Windows NT and later) and with the
  // user name elsewhere, which is how the store names the user's key on either kind of system.
  return shell::CurrentUserText();
}

AutoCompleteStores::AutoCompleteStores(reg::RegistryBackend& registry, std::string userText)
    : registry_(registry), userText_(std::move(userText)) {}

std::vector<AutoCompleteEntry> AutoCompleteStores::ListEntries(uint32_t root) {
  std::vector<AutoCompleteEntry> entries;
  RegKey store(registry_, root, autocomplete::StoreKey(userText_));
  for (RegKey& entry : store.EnumSubKeys()) entries.push_back({entry, false});
  return entries;
}

std::vector<AutoCompleteEntry> AutoCompleteStores::ClearAutoCompleteForms(const LogLineSink& log) {
  // Without a user the paths would name the Protected Storage key itself: nothing of it is touched.
  if (userText_.empty()) return {};
  reg::ChangeBatch batch(registry_);
  std::optional<AutoCompleteStoreAccess> access;
  std::vector<AutoCompleteEntry> entries;
  if (registry_.HasKeySecurity()) {
    access.emplace(registry_, autocomplete::UserKey(userText_));
    entries = ListEntries(reg::kCurrentUser);
  } else {
    entries = ListEntries(reg::kLocalMachine);
    for (AutoCompleteEntry& entry : ListEntries(reg::kCurrentUser)) entries.push_back(std::move(entry));
  }
  for (AutoCompleteEntry& entry : entries) {
    if (access) access->Open(entry.Key.Path);
    try {
      entry.Erased = entry.Key.DeleteRegKey(true);
    } catch (const RuntimeError&) {
      entry.Erased = false;
    }
    if (!entry.Erased) log(autocomplete::kAccessDenyLine);
  }
  return entries;
}

std::vector<AutoCompleteEntry> AutoCompleteStores::GetAutoCompleteForms() {
  if (userText_.empty()) return {};
  if (registry_.HasKeySecurity()) {
    // The store is open only while it is listed; recording the entries needs no access to it.
    AutoCompleteStoreAccess access(registry_, autocomplete::UserKey(userText_));
    return ListEntries(reg::kCurrentUser);
  }
  std::vector<AutoCompleteEntry> entries = ListEntries(reg::kLocalMachine);
  for (AutoCompleteEntry& entry : ListEntries(reg::kCurrentUser)) entries.push_back(std::move(entry));
  return entries;
}

}  // namespace qm
