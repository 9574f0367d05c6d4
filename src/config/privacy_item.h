#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "config/event_source.h"
#include "config/item_walks.h"
#include "config/privacy_events.h"
#include "config/text_list.h"
#include "trace/privacy_values.h"

namespace qm {

/// Item type codes (`PrivacyItem::ItemType`) as catalogue files store them; there is no 6, and Unknown finds
/// nothing. A Detect item finds no traces either: it tells whether its configuration's program is installed.
enum class PrivacyItemType : int32_t {
  Unknown = 0,
  RegValue = 1,
  RegKey = 2,
  RegSubKeyValue = 3,
  File = 4,
  Folder = 5,
  IniFileItem = 7,
  Customize = 8,
  FileTree = 9,
  Detect = 10,
};

/// One privacy item: a place where traces live, and the traces its last search found.
class PrivacyItem : public EventSource<PrivacyItemEvents> {
 public:
  std::string Software;  ///< the owning configuration's `Software`, copied when the item is loaded
  std::string Title;     ///< the item's name; `FindPrivacyItem` compares it exactly
  bool Selected = false;
  bool HoldFlag = false;  ///< only when true are hold settings read, written and matched
  TextList SeekSettings;  ///< where to look; meanings by item type
  TextList HoldSettings;  ///< full paths of traces that survive a clear
  PrivacyItemType ItemType = PrivacyItemType::Unknown;
  bool Irregular = false;  ///< the item's seek settings cannot be used: the item finds nothing
  std::string FileLine;    ///< the item's definition line as it was read, kept for the custom item editor

  /// The number of traces of the last search; -1 when there is no result.
  int64_t ValueCount() const;

  /// Appends the "<>"-separated parts of `str` (trimmed as a whole, parts kept as they are) to the list.
  void SetSeekSettingsByString(const std::string& str);
  void SetHoldSettingsByString(const std::string& str);

  /// Forgets the last result; afterwards `ValueCount` is -1.
  void EmptyPrivacyValue();

  /// With `options.Refresh`: drops the kept result and searches anew through `walks` (erasing with
  /// `options.Clear`); the search runs only for a regular item of a known type. Without it: returns the kept
  /// result. Always ends with `ParseItemFinish`.
  std::shared_ptr<PrivacyValues> GetPrivacyValue(ItemWalks& walks, const SearchOptions& options);

  /// The type code of a type name (exact, case-sensitive); Unknown for any other text.
  static PrivacyItemType TransPrivacyItemType(const std::string& sType);
  /// The type name of a code; "" for codes without one.
  static std::string PrivacyItemTypeName(PrivacyItemType itemType);

  /// A deep copy of the definition, without the kept result.
  std::shared_ptr<PrivacyItem> Clone() const;

  /// Raises `AppendValue` with this item and `pv`: the walks and parsers call it once per trace.
  void RaiseAppendValue(PrivacyValue& pv);

 private:
  std::shared_ptr<PrivacyValues> values_;
};

/// The items of one configuration, in file order.
class PrivacyItems : public OrderedCollection<PrivacyItem> {
 public:
  PrivacyItems() : OrderedCollection("PrivacyItems") {}
};

}  // namespace qm
