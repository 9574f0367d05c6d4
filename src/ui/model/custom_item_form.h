#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/placeholders.h"
#include "config/privacy_item.h"

namespace qm::ui {

/// The item types of the Custom Item dialog, numbered as its option buttons.
enum class CustomItemKind { RegistryKey = 0, RegistryValue = 1, Folder = 2, File = 3, IniFile = 4 };

/// The registry roots of the "Root Key:" list, in its order.
inline constexpr std::array<const char*, 7> kRootKeyNames = {
    "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",    "HKEY_USERS",   "HKEY_CURRENT_CONFIG",
    "HKEY_CLASSES_ROOT", "HKEY_PERFORMANCE_DATA", "HKEY_DYN_DATA"};

/// The placeholder written into a definition line for each entry of a special-path list; entry 0 has none.
inline constexpr std::array<const char*, 7> kSpecialPathNames = {
    "", "userprofiledir", "appdatadir", "windowsdir", "systemdir", "temporarydir", "programfilesdir"};

/// The seven entries of a special-path list: an empty one, then what each placeholder stands for here.
std::vector<std::string> SpecialPathEntries(const SpecialFolders& folders);

/// What the dialog's fields hold. Special paths are list indexes (0 for none). Every member has an initializer,
/// so a table of cases can name only the fields it fills.
struct CustomItemFields {
  std::string ItemName{};
  std::optional<CustomItemKind> Kind{};
  std::string RootKey{};
  std::string KeyPath{};
  std::string ValueName{};
  int FolderSpecialPath = 0;
  std::string FolderPath{};
  std::string FileName{};
  int IniSpecialPath = 0;
  std::string IniFilePath{};
  std::string IniSectorName{};
  std::string IniItemName{};

  bool operator==(const CustomItemFields&) const = default;
};

/// Which frames and fields an item type enables; a frame that is off takes its labels and fields with it.
struct CustomItemEnabled {
  bool Registry = false;
  bool ValueName = false;
  bool Folder = false;
  bool FileName = false;
  bool Ini = false;
};
CustomItemEnabled EnabledFor(CustomItemKind kind);

/// Finds the placeholder a stored (expanded) path began with: the first, in list order, whose folder starts
/// the path and whose name stands between "%" signs in the item's definition line. Returns its list index and
/// the path without that folder (every occurrence) and one leading "\"; index 0 and the path itself when none.
std::pair<int, std::string> SplitSpecialPath(const std::string& stored, const std::string& fileLine,
                                             const SpecialFolders& folders);

/// The fields that show an item: the option of its type, and, for an item that has a title, its seek settings.
CustomItemFields FieldsOfItem(const PrivacyItem& item, const SpecialFolders& folders);

/// Checks the fields and, when they pass, writes into `item` its title, type, seek settings (replacing the old
/// ones) and definition line, built from the fields as the catalogue's item line grammar reads them back.
/// Returns "" then, or the refusal message, leaving `item` untouched.
std::string ApplyCustomItemFields(const CustomItemFields& fields, const SpecialFolders& folders, PrivacyItem& item);

}  // namespace qm::ui
