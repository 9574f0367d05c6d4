#pragma once

#include <memory>

namespace qm {

class PrivacyItem;
class PrivacyValues;

/// How an item finds its traces: the registry, folder, file and ini walks and the special-case parsers. The
/// catalogue calls it through this interface so that it never depends on the walks themselves.
class ItemWalks {
 public:
  virtual ~ItemWalks() = default;

  /// Searches `item` (not irregular, of a known type) into `values`, its fresh empty result, erasing each
  /// trace when `bClearValue`, and reports every trace through `item.RaiseAppendValue`. Returns the item's
  /// result: `values`, or what a special-case parser handed back (nullptr for nothing). Skips its own
  /// failures; it does not throw.
  virtual std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem& item, std::shared_ptr<PrivacyValues> values,
                                                          bool bClearValue) = 0;
};

/// Installs the walks every item search uses; the caller keeps the object alive while it is installed.
void SetItemWalks(ItemWalks* walks);
ItemWalks* GetItemWalks();

}  // namespace qm
