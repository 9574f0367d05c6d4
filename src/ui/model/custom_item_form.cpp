#include "ui/model/custom_item_form.h"

#include <tuple>

#include "config/settings_string.h"

namespace qm::ui {
namespace {

/// The seek setting at a 1-based position, "" past the last: a short item leaves its fields empty.
std::string Setting(const PrivacyItem& item, int64_t position) {
  return position <= item.SeekSettings.Count() ? item.SeekSettings.Item(position) : "";
}

std::optional<CustomItemKind> KindOf(PrivacyItemType type) {
  switch (type) {
    case PrivacyItemType::RegValue: return CustomItemKind::RegistryValue;
    case PrivacyItemType::File: return CustomItemKind::File;
    case PrivacyItemType::Folder: return CustomItemKind::Folder;
    case PrivacyItemType::IniFileItem: return CustomItemKind::IniFile;
    default: return CustomItemKind::RegistryKey;
  }
}

/// The seek setting and the line's text of a place given as a special-path entry and a path below it.
std::pair<std::string, std::string> PlaceParts(const std::vector<std::string>& entries, int index,
                                               const std::string& path) {
  if (index <= 0) return {path, path};
  const std::string placeholder = "%" + std::string(kSpecialPathNames[index]) + "%";
  if (path.empty()) return {entries[index], placeholder};
  return {entries[index] + "\\" + path, placeholder + "\\" + path};
}

/// Keeps the first refusal of a field holding "<" or ">": they can join the separators around them into new
/// ones, so the line would read back as something else (no file name can hold them anyway).
class SeparatorCheck {
 public:
  void operator()(const char* label, const std::string& text) {
    if (refusal.empty() && text.find_first_of("<>") != std::string::npos) {
      refusal = std::string(label) + " must not contain \"<\" or \">\".";
    }
  }
  std::string refusal;
};

/// An item line that begins like a comment or a key line would load as one: the item would be lost.
bool BeginsLikeAnotherLine(const std::string& name) {
  for (const char* start : {"--", "Software:", "Type:", "Description:", "Selected:", "Version:"}) {
    if (name.starts_with(start)) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> SpecialPathEntries(const SpecialFolders& folders) {
  return {"",
          folders.UserProfileDir,
          folders.AppDataDir,
          folders.WindowsDir,
          folders.SystemDir,
          folders.TemporaryDir,
          folders.ProgramFilesDir};
}

CustomItemEnabled EnabledFor(CustomItemKind kind) {
  switch (kind) {
    case CustomItemKind::RegistryKey: return {.Registry = true};
    case CustomItemKind::RegistryValue: return {.Registry = true, .ValueName = true};
    case CustomItemKind::Folder: return {.Folder = true};
    case CustomItemKind::File: return {.Folder = true, .FileName = true};
    case CustomItemKind::IniFile: return {.Ini = true};
  }
  return {};
}

std::pair<int, std::string> SplitSpecialPath(const std::string& stored, const std::string& fileLine,
                                             const SpecialFolders& folders) {
  const std::vector<std::string> entries = SpecialPathEntries(folders);
  for (int index = 1; index < static_cast<int>(entries.size()); ++index) {
    const std::string& folder = entries[index];
    if (folder.empty() || !stored.starts_with(folder) ||
        fileLine.find("%" + std::string(kSpecialPathNames[index]) + "%") == std::string::npos) {
      continue;
    }
    std::string rest = stored;
    for (std::size_t at = rest.find(folder); at != std::string::npos; at = rest.find(folder, at)) {
      rest.erase(at, folder.size());
    }
    if (rest.starts_with("\\")) rest.erase(0, 1);
    return {index, rest};
  }
  return {0, stored};
}

CustomItemFields FieldsOfItem(const PrivacyItem& item, const SpecialFolders& folders) {
  CustomItemFields fields;
  fields.ItemName = item.Title;
  fields.Kind = KindOf(item.ItemType);
  if (item.Title.empty()) return fields;
  switch (item.ItemType) {
    case PrivacyItemType::RegValue: fields.ValueName = Setting(item, 3); [[fallthrough]];
    case PrivacyItemType::RegKey:
      fields.RootKey = Setting(item, 1);
      fields.KeyPath = Setting(item, 2);
      break;
    case PrivacyItemType::File: fields.FileName = Setting(item, 2); [[fallthrough]];
    case PrivacyItemType::Folder:
      std::tie(fields.FolderSpecialPath, fields.FolderPath) =
          SplitSpecialPath(Setting(item, 1), item.FileLine, folders);
      break;
    case PrivacyItemType::IniFileItem:
      std::tie(fields.IniSpecialPath, fields.IniFilePath) = SplitSpecialPath(Setting(item, 1), item.FileLine, folders);
      fields.IniSectorName = Setting(item, 2);
      fields.IniItemName = Setting(item, 3);
      break;
    default: break;
  }
  return fields;
}

std::string ApplyCustomItemFields(const CustomItemFields& fields, const SpecialFolders& folders, PrivacyItem& item) {
  const std::string name = TrimBlanks(fields.ItemName);
  if (name.empty()) return "Item Name is null.";
  SeparatorCheck check;
  check("Item Name", name);
  if (!check.refusal.empty()) return check.refusal;
  if (BeginsLikeAnotherLine(name)) {
    return "Item Name must not begin with \"--\", \"Software:\", \"Type:\", \"Description:\", \"Selected:\" or "
           "\"Version:\".";
  }
  if (!fields.Kind) return "Please select custom item's type.";

  const std::vector<std::string> entries = SpecialPathEntries(folders);
  PrivacyItemType type = PrivacyItemType::Unknown;
  TextList settings;
  std::string tail;
  int special = 0;
  switch (*fields.Kind) {
    case CustomItemKind::RegistryKey:
    case CustomItemKind::RegistryValue: {
      const std::string keyPath = TrimBlanks(fields.KeyPath);
      const std::string valueName = TrimBlanks(fields.ValueName);
      if (fields.RootKey.empty() || keyPath.empty()) return "Registry Key Path is null.";
      const bool value = *fields.Kind == CustomItemKind::RegistryValue;
      check("Root Key", fields.RootKey);
      check("Key Path", keyPath);
      if (value) check("Value(s) Name", valueName);
      type = value ? PrivacyItemType::RegValue : PrivacyItemType::RegKey;
      // The root as the line names it, so the item finds the same before and after the catalogue is read back.
      settings.Add(fields.RootKey);
      settings.Add(keyPath);
      tail = (value ? "RegValue><" : "RegKey><") + fields.RootKey + "<>" + keyPath;
      if (value && !valueName.empty()) {
        settings.Add(valueName);
        tail += "<>" + valueName;
      }
      break;
    }
    case CustomItemKind::Folder:
    case CustomItemKind::File: {
      const std::string folderPath = TrimBlanks(fields.FolderPath);
      const std::string fileName = TrimBlanks(fields.FileName);
      special = fields.FolderSpecialPath > 0 && fields.FolderSpecialPath < 7 ? fields.FolderSpecialPath : 0;
      if ((entries[special] + folderPath).empty()) return "Folder Path is null.";
      const bool file = *fields.Kind == CustomItemKind::File;
      check("Folder Path", folderPath);
      if (file) check("File(s) Name", fileName);
      type = file ? PrivacyItemType::File : PrivacyItemType::Folder;
      const auto [setting, place] = PlaceParts(entries, special, folderPath);
      settings.Add(setting);
      tail = (file ? "File><" : "Folder><") + place;
      if (file && !fileName.empty()) {
        settings.Add(fileName);
        tail += "<>" + fileName;
      }
      break;
    }
    case CustomItemKind::IniFile: {
      const std::string filePath = TrimBlanks(fields.IniFilePath);
      const std::string sector = TrimBlanks(fields.IniSectorName);
      const std::string iniItem = TrimBlanks(fields.IniItemName);
      if (filePath.empty() || sector.empty()) return "Initial File Path and/or Sector Name is null.";
      check("File Full Path", filePath);
      check("Sector Name", sector);
      check("Item(s) Name", iniItem);
      special = fields.IniSpecialPath > 0 && fields.IniSpecialPath < 7 ? fields.IniSpecialPath : 0;
      type = PrivacyItemType::IniFileItem;
      const auto [setting, place] = PlaceParts(entries, special, filePath);
      settings.Add(setting);
      settings.Add(sector);
      tail = "IniFileItem><" + place + "<>" + sector;
      if (!iniItem.empty()) {
        settings.Add(iniItem);
        tail += "<>" + iniItem;
      }
      break;
    }
  }
  if (!check.refusal.empty()) return check.refusal;

  item.Title = name;
  item.ItemType = type;
  item.SeekSettings = settings;
  item.FileLine = name + "<>" + (item.Selected ? "1" : "0") + "<>" + (item.HoldFlag ? "1" : "0") + "<>" + tail;
  // The item is searched with the new settings: an old failed expansion no longer counts, a folder this system
  // lacks does, as it will when the catalogue is read back.
  item.Irregular = special > 0 && entries[special].empty();
  return "";
}

}  // namespace qm::ui
