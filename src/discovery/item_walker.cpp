#include "discovery/item_walker.h"

#include "discovery/file_walks.h"
#include "discovery/ini_walk.h"
#include "discovery/registry_walks.h"

namespace qm {

ItemWalker::ItemWalker(WalkServices services) : services_(std::move(services)) {}

std::shared_ptr<PrivacyValues> ItemWalker::SeekPrivacyValue(PrivacyItem& item,
                                                            std::shared_ptr<PrivacyValues> values,
                                                            bool bClearValue) {
  WalkContext context(item, *values, bClearValue, services_);
  switch (item.ItemType) {
    case item_types::kRegValue:
      SeekRegValues(context);
      break;
    case item_types::kRegKey:
      SeekRegKey(context);
      break;
    case item_types::kRegSubKeyValue:
      SeekRegSubKeyValues(context);
      break;
    case item_types::kFile:
      SeekFiles(context);
      break;
    case item_types::kFolder:
      SeekFolder(context);
      break;
    case item_types::kIniFileItem:
      SeekIniEntries(context);
      break;
    case item_types::kCustomize:
      return CallParser(context, std::move(values));
    default:
      break;
  }
  return values;
}

std::shared_ptr<PrivacyValues> ItemWalker::CallParser(WalkContext& context, std::shared_ptr<PrivacyValues> values) {
  const CustomizeParser* parser = context.Parsers.Find(context.Setting(1));
  if (!parser) return values;
  ParserCall call{context.Item, context.Clear, {}};
  for (int64_t position = 2; position <= context.SettingCount(); ++position) {
    call.Settings.push_back(context.Setting(position));
  }
  context.Item.SetParserEvents(context.Parsers.Events);
  std::shared_ptr<PrivacyValues> result = values;
  SkipFailure([&] { result = (*parser)(call); });
  // The parser object is shared by all items: only the item whose parser runs re-raises its events.
  context.Item.SetParserEvents(nullptr);
  return result;
}

}  // namespace qm
