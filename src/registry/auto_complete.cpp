#include "registry/auto_complete.h"

#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/registry_backend.h"
#include "platform/shell.h"
#include "registry/auto_complete_security.h"
#include "registry/reg_key.h"
#include "registry/reg_keys.h"

namespace qm {

std::string autocomplete::UserKey(const std::string& userText) {
  return std::string(kProtectedStorageKey) + "\\" + userText;
}

std::string autocomplete::StoreKey(const std::string& userText) {
  return UserKey(userText) + "\\Data\\" + kFormsTypeId + "\\" + kFormsTypeId;
}

namespace {

/// The entries of one store, taken out of the key's enumeration before any of them is deleted.
std::vector<RegKey> ListEntries(RegKey& rk, uint32_t root, const std::string& store) {
  std::vector<RegKey> entries;
  for (RegKey& entry : rk.EnumSubKeys(root, store)) entries.push_back(entry);
  return entries;
}

/// Records and deletes every entry of one store. `openDescriptor` (HKEY_CURRENT_USER on a registry with
/// security only) is written onto each entry first, so that its deletion is allowed.
void EraseEntries(RegKey& rk, uint32_t root, const std::string& store,
                  const std::optional<KeyDescriptor>* openDescriptor, PrivacyValues& values,
                  const LogLineSink& log) {
  for (const RegKey& entry : ListEntries(rk, root, store)) {
    if (openDescriptor) WriteKeyDescriptor(entry.Path, *openDescriptor);
    std::shared_ptr<PrivacyValue> pv;
    try {
      pv = values.AddRegKey(entry, status::kErased);
    } catch (const RuntimeError&) {
      // An entry that could not be recorded is not deleted either: nothing is erased unreported.
      log(autocomplete::kAccessDenyLine);
      continue;
    }
    bool deleted = false;
    try {
      deleted = rk.DeleteRegKey(true, root, entry.Path);
    } catch (const RuntimeError&) {
      deleted = false;
    }
    if (!deleted) {
      // The entry is still there: its status says so, whatever it was recorded with.
      pv->ValueStatus = status::kFailed;
      log(autocomplete::kAccessDenyLine);
    }
  }
}

}  // namespace

std::string GetCurrentUserSid() {
  // The platform answers with the SID where the registry keeps security (Windows NT and later) and with the
  // user name elsewhere, which is how the store names the user's key on either kind of system.
  return shell::CurrentUserText();
}

AutoCompleteStores::AutoCompleteStores(RegKey& rk, std::string userText)
    : rk_(rk), userText_(std::move(userText)) {}

std::shared_ptr<PrivacyValues> AutoCompleteStores::ClearAutoCompleteForms(const LogLineSink& log) {
  auto values = std::make_shared<PrivacyValues>();
  // Without a user the paths would name the Protected Storage key itself: nothing of it is touched.
  if (userText_.empty()) return values;
  const std::string store = autocomplete::StoreKey(userText_);
  reg::ChangeBatch batch;
  if (reg::HasKeySecurity()) {
    AutoCompleteStoreAccess access(autocomplete::UserKey(userText_));
    EraseEntries(rk_, reg::kCurrentUser, store, &access.OpenDescriptor(), *values, log);
    access.Restore();
  } else {
    EraseEntries(rk_, reg::kLocalMachine, store, nullptr, *values, log);
    EraseEntries(rk_, reg::kCurrentUser, store, nullptr, *values, log);
  }
  return values;
}

bool AutoCompleteStores::ClearAutoCompletePasswords() {
  reg::KeyHandle key = 0;
  if (reg::OpenKey(reg::RootHandle(reg::kCurrentUser), autocomplete::kIntelliFormsKey, reg::kQueryValue,
                   key) != reg::kSuccess) {
    return false;
  }
  reg::CloseKey(key);
  return rk_.DeleteRegKey(true, reg::kCurrentUser, autocomplete::kIntelliFormsKey);
}

std::shared_ptr<PrivacyValues> AutoCompleteStores::GetAutoCompleteForms() {
  auto values = std::make_shared<PrivacyValues>();
  if (userText_.empty()) return values;
  const std::string store = autocomplete::StoreKey(userText_);
  std::vector<RegKey> entries;
  if (reg::HasKeySecurity()) {
    // The store is open only while it is listed; recording the entries needs no access to it.
    AutoCompleteStoreAccess access(autocomplete::UserKey(userText_));
    entries = ListEntries(rk_, reg::kCurrentUser, store);
  } else {
    entries = ListEntries(rk_, reg::kLocalMachine, store);
    for (RegKey& entry : ListEntries(rk_, reg::kCurrentUser, store)) entries.push_back(entry);
  }
  for (const RegKey& entry : entries) values->AddRegKey(entry, status::kFound);
  return values;
}

}  // namespace qm
