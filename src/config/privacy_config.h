#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "config/event_source.h"
#include "config/privacy_events.h"
#include "config/privacy_item.h"
#include "config/text_list.h"
#include "trace/privacy_values.h"

namespace qm {

/// Software type codes (`PrivacyConfig::SoftwareType`) as catalogue files store them; Unknown sorts last.
enum class SoftwareType : int32_t {
  Unknown = 0,
  Root = 1,
  Plugins = 2,
  Customs = 3,
};

/// One software configuration: a named group of privacy items, and the file lines it was loaded from.
class PrivacyConfig : public EventSource<PrivacyConfigEvents> {
 public:
  PrivacyConfig();

  std::string Software;  ///< the name shown in the tree; `FindPrivacyConfig` compares it exactly
  qm::SoftwareType SoftwareType = qm::SoftwareType::Unknown;
  std::string Description;
  bool Selected = false;
  std::string Version;  ///< compared by the plug-in update window
  /// False after a search that found none of the configuration's Detect items: its program is not installed,
  /// and every item found nothing. True for a configuration without Detect items.
  bool Detected = true;
  PrivacyItems Items;  ///< in file order
  TextList FileLines;  ///< the deciphered lines of the configuration's block, rewritten by `SaveConfig`

  /// The first item, in order, whose `Title` equals `sItemTitle` exactly; nullptr if none.
  std::shared_ptr<PrivacyItem> FindPrivacyItem(const std::string& sItemTitle) const;
  /// Forgets the last result of every item.
  void EmptyPrivacyValue();
  /// Searches the selected items (all of them with `options.IncludeUnselected`) in order through `walks` and
  /// returns their merged traces; nullptr when no item produced a result. A new search first tells whether the
  /// program is installed (`Detected`); when it is not, every item finds nothing. A stop ends it after the
  /// item that was running. Ends with `ParseConfigFinish`.
  std::shared_ptr<PrivacyValues> GetPrivacyValue(ItemWalks& walks, const SearchOptions& options);
  /// True when one of the Detect items finds its place, or the configuration has none.
  bool Detect(ItemWalks& walks) const;
  /// The sum of the items' counts that are not -1; -1 when all items report -1 or there are none.
  int64_t ValueCount() const;

  /// The code of a software type name ("Root", "Plugins", "Customs"; case-sensitive); Unknown for any other
  /// text.
  static qm::SoftwareType TransSoftwareType(const std::string& name);
  /// The name of a software type code; "" for codes without one.
  static std::string SoftwareTypeName(qm::SoftwareType softwareType);

  /// A deep copy: fields, a clone of every item, every file line.
  std::shared_ptr<PrivacyConfig> Clone() const;

 private:
  /// Re-raises the events of the item held in `piEvent_` as the configuration's own.
  class ItemForwarder : public PrivacyItemEvents {
   public:
    explicit ItemForwarder(PrivacyConfig& owner) : owner_(owner) {}
    void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override;
    void ParseItemFinish(PrivacyItem& pi, int64_t lTotalCount) override;

   private:
    PrivacyConfig& owner_;
  };

  ItemForwarder itemForwarder_;
  /// The item whose search runs or ran last; it stays set after the search.
  EventSink<PrivacyItem, PrivacyItemEvents> piEvent_;
};

}  // namespace qm
