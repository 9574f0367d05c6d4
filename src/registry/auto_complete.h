#pragma once

#include <functional>
#include <string>
#include <vector>

#include "registry/reg_key.h"

namespace qm {

/// Where the browser keeps its AutoComplete data, below HKEY_CURRENT_USER (and HKEY_LOCAL_MACHINE on
/// systems without registry security).
namespace autocomplete {
inline constexpr char kProtectedStorageKey[] = "Software\\Microsoft\\Protected Storage System Provider";
inline constexpr char kFormsTypeId[] = "e161255a-37c3-11d2-bcaa-00c04fd929db";
inline constexpr char kIntelliFormsKey[] = "Software\\Microsoft\\Internet Explorer\\IntelliForms";
/// Internet Explorer 7 and later keep the form entries as the values of this key; the saved passwords are
/// beside it (Storage2) and never a trace.
inline constexpr char kFormDataKey[] = "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1";
/// The activity-log line written for each step of a form clearing that failed.
inline constexpr char kAccessDenyLine[] = "A autocomplete regkey can't be deleted(Access Deny).";

/// The user's key below the Protected Storage key: PSS\user.
std::string UserKey(const std::string& userText);
/// The store whose direct sub-keys are the form entries: PSS\user\Data\type\type.
std::string StoreKey(const std::string& userText);
}  // namespace autocomplete

/// Receives the lines the form clearing writes to the activity log (the log writes them only while a log
/// run is open).
using LogLineSink = std::function<void(const std::string& line)>;

/// The current user as the registry names its keys: the security identifier as text ("S-1-5-21-...") where
/// the registry keeps security, else the logged-on user name; "" when it cannot be found.
std::string GetCurrentUserSid();

/// One form entry of a store, and whether a clearing deleted it.
struct AutoCompleteEntry {
  RegKey Key;
  bool Erased = false;
};

/// The browser's AutoComplete form stores of Internet Explorer 4 to 6 of one user in one registry: one sub-key
/// per form entry below the store key.
class AutoCompleteStores {
 public:
  AutoCompleteStores(reg::RegistryBackend& registry, std::string userText);

  /// Erases every form entry and returns them, in the order they were found, each telling whether it is gone.
  /// On a registry with security the store is opened first (each entry also gets the open descriptor, see
  /// AutoCompleteStoreAccess); without it the entries under HKEY_LOCAL_MACHINE come first, then those under
  /// HKEY_CURRENT_USER. For each entry that stays, `log` receives autocomplete::kAccessDenyLine.
  std::vector<AutoCompleteEntry> ClearAutoCompleteForms(const LogLineSink& log);

  /// Lists the form entries in enumeration order (on a registry without security: HKEY_LOCAL_MACHINE's, then
  /// HKEY_CURRENT_USER's). On a registry with security the store is opened for the listing as for clearing,
  /// and closed again.
  std::vector<AutoCompleteEntry> GetAutoCompleteForms();

  const std::string& UserText() const { return userText_; }

 private:
  /// The entries of one store, taken out of the key's enumeration before any of them is deleted.
  std::vector<AutoCompleteEntry> ListEntries(uint32_t root);

  reg::RegistryBackend& registry_;
  std::string userText_;
};

}  // namespace qm
