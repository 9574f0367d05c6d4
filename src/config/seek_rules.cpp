#include "config/seek_rules.h"

#include "platform/seek_path.h"
#include "registry/reg_key.h"

namespace qm {

namespace {

/// The parsers whose second seek setting is a folder they walk.
bool TakesProfilesFolder(const PrivacyItem& item) {
  return item.ItemType == PrivacyItemType::Customize && item.SeekSettings.Count() >= 1 &&
         item.SeekSettings.Item(1).rfind("ParseMozilla", 0) == 0;
}

std::string PathProblem(const PrivacyItem& item, int64_t position) {
  if (item.SeekSettings.Count() < position) return "it names no path";
  if (!NativeSeekPath(item.SeekSettings.Item(position))) {
    return "its path \"" + item.SeekSettings.Item(position) + "\" is not absolute or climbs with \"..\"";
  }
  return "";
}

std::string KeyPathProblem(const PrivacyItem& item) {
  const std::string path = item.SeekSettings.Count() >= 2 ? item.SeekSettings.Item(2) : "";
  if (path.find_first_not_of('\\') == std::string::npos) return "its key path is empty: it would name a whole hive";
  return "";
}

}  // namespace

bool RemovesSelf(const PrivacyItem& item) {
  int64_t position = 0;
  switch (item.ItemType) {
    case PrivacyItemType::Folder: position = 2; break;
    case PrivacyItemType::FileTree:
    case PrivacyItemType::RegKey: position = 3; break;
    default: return false;
  }
  return item.SeekSettings.Count() >= position && item.SeekSettings.Item(position) == kRemoveSelfOption;
}

bool DetectsKey(const PrivacyItem& item) {
  return item.ItemType == PrivacyItemType::Detect && item.SeekSettings.Count() >= 2 &&
         RegKey::TransRootKey(item.SeekSettings.Item(1)) != 0;
}

std::string IrregularReason(const PrivacyItem& item) {
  if (item.Irregular) return "its path could not be expanded";
  switch (item.ItemType) {
    case PrivacyItemType::RegValue:
    case PrivacyItemType::RegKey:
    case PrivacyItemType::RegSubKeyValue: return KeyPathProblem(item);
    case PrivacyItemType::Detect: return DetectsKey(item) ? KeyPathProblem(item) : PathProblem(item, 1);
    case PrivacyItemType::File:
    case PrivacyItemType::FileTree:
    case PrivacyItemType::Folder:
    case PrivacyItemType::IniFileItem: return PathProblem(item, 1);
    case PrivacyItemType::Customize: return TakesProfilesFolder(item) ? PathProblem(item, 2) : "";
    case PrivacyItemType::Unknown: break;
  }
  return "";
}

std::string SeekPathSetting(const PrivacyItem& item, int64_t position) {
  if (position < 1 || position > item.SeekSettings.Count()) return "";
  return NativeSeekPath(item.SeekSettings.Item(position)).value_or("");
}

}  // namespace qm
