#include "discovery/item_walker.h"

#include "config/seek_rules.h"
#include "discovery/customize_parsers.h"
#include "discovery/file_walks.h"
#include "discovery/ini_walk.h"
#include "discovery/registry_walks.h"
#include "discovery/seek_entries.h"

namespace qm {

std::shared_ptr<PrivacyValues> ItemWalker::SeekPrivacyValue(PrivacyItem& item, std::shared_ptr<PrivacyValues> values,
                                                            bool clear) {
  // An item built or edited after loading is checked as a loaded one is: it finds nothing, never too much.
  if (!IrregularReason(item).empty()) return values;
  WalkContext context(item, *values, clear, services_);
  switch (item.ItemType) {
    case PrivacyItemType::RegValue: SeekRegValues(context); break;
    case PrivacyItemType::RegKey: SeekRegKey(context); break;
    case PrivacyItemType::RegSubKeyValue: SeekRegSubKeyValues(context); break;
    case PrivacyItemType::File: SeekFiles(context); break;
    case PrivacyItemType::Folder: SeekFolder(context); break;
    case PrivacyItemType::FileTree: SeekFileTree(context); break;
    case PrivacyItemType::IniFileItem: SeekIniEntries(context); break;
    case PrivacyItemType::Customize:
      // An unknown parser name leaves the item's empty result.
      if (CustomizeParser parser = FindCustomizeParser(context.Setting(1))) SkipFailure([&] { parser(context); });
      break;
    case PrivacyItemType::Detect:
    case PrivacyItemType::Unknown: break;
  }
  return values;
}

bool ItemWalker::Detects(PrivacyItem& item) {
  if (item.ItemType != PrivacyItemType::Detect || !IrregularReason(item).empty()) return false;
  PrivacyValues none;
  WalkContext context(item, none, false, services_);
  if (DetectsKey(item)) return DetectsKeyOf(context);
  bool found = false;
  ForEachSeekEntry(context, SeekPathSetting(item, 1), SeekTarget::Any,
                   [&](FolderHandle&, const FolderEntry&) { found = true; });
  return found;
}

}  // namespace qm
