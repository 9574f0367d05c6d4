#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "config/event_source.h"
#include "config/privacy_events.h"
#include "config/text_list.h"
#include "discovery/privacy_values.h"

namespace qm {

/// Item type codes (`PrivacyItem::ItemType`); there is no 6, and 0 is an unknown type that finds nothing.
namespace item_types {
inline constexpr int32_t kUnknown = 0;
inline constexpr int32_t kRegValue = 1;
inline constexpr int32_t kRegKey = 2;
inline constexpr int32_t kRegSubKeyValue = 3;
inline constexpr int32_t kFile = 4;
inline constexpr int32_t kFolder = 5;
inline constexpr int32_t kIniFileItem = 7;
inline constexpr int32_t kCustomize = 8;
}  // namespace item_types

/// The special-case parser object as an item sees it: a source of `AppendValue` events.
using AppendValueSource = EventSource<AppendValueListener>;

/// One privacy item: a place where traces live, and the traces its last search found.
class PrivacyItem : public EventSource<PrivacyItemEvents> {
 public:
  PrivacyItem();

  std::string Software;  ///< the owning configuration's `Software`, copied when the item is loaded
  std::string Title;     ///< the item's name; `FindPrivacyItem` compares it exactly
  bool Selected = false;
  bool HoldFlag = false;    ///< only when true are hold settings read, written and matched
  TextList SeekSettings;    ///< where to look; meanings by item type
  TextList HoldSettings;    ///< full paths of traces that survive a clear
  int32_t ItemType = item_types::kUnknown;
  bool Irregular = false;   ///< the seek path could not be expanded at load: the item finds nothing
  std::string FileLine;     ///< the item's definition line, kept for the custom item editor

  /// The number of traces of the last search; -1 when there is no result.
  int64_t ValueCount() const;

  /// Appends the "<>"-separated parts of `str` (trimmed as a whole, parts kept as they are) to the list.
  void SetSeekSettingsByString(const std::string& str);
  void SetHoldSettingsByString(const std::string& str);

  /// Forgets the last result; afterwards `ValueCount` is -1.
  void EmptyPrivacyValue();

  /// With `bRefreshValue`: drops the kept result and searches anew (erasing when `bClearValue`); the search
  /// runs only for a regular item of a known type. Without it: returns the kept result. Always ends with
  /// `ParseItemFinish`.
  std::shared_ptr<PrivacyValues> GetPrivacyValue(bool bRefreshValue, bool bClearValue);

  /// The type code of a type name (exact, case-sensitive); 0 for any other text.
  static int32_t TransPrivacyItemType(const std::string& sType);
  /// The type name of a code; "" for codes without one.
  static std::string PrivacyItemTypeName(int32_t itemType);

  /// A deep copy of the definition, without the kept result.
  std::shared_ptr<PrivacyItem> Clone() const;

  /// Raises `AppendValue` with this item and `pv`: the walks call it once per trace.
  void RaiseAppendValue(PrivacyValue& pv);

  /// Makes the special-case parser object this item's parser sink: its `AppendValue` events are re-raised
  /// unchanged as the item's own. nullptr lets go of it.
  void SetParserEvents(std::shared_ptr<AppendValueSource> parser);

 private:
  /// Re-raises the parser's events as the item's own.
  class ParserForwarder : public AppendValueListener {
   public:
    explicit ParserForwarder(PrivacyItem& owner) : owner_(owner) {}
    void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override;

   private:
    PrivacyItem& owner_;
  };

  std::shared_ptr<PrivacyValues> values_;
  ParserForwarder parserForwarder_;
  EventSink<AppendValueSource, AppendValueListener> cpEvent_;
};

/// The items of one configuration, in file order.
class PrivacyItems : public OrderedCollection<PrivacyItem> {
 public:
  PrivacyItems() : OrderedCollection("PrivacyItems") {}
};

}  // namespace qm
