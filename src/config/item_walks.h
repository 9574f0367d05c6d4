#pragma once

#include <memory>

namespace qm {

class PrivacyItem;
class PrivacyValues;

/// How a search runs.
struct SearchOptions {
  bool Refresh = true;             ///< search anew; otherwise only report what the last search kept
  bool IncludeUnselected = false;  ///< search the configurations and items that are not selected too
  bool Clear = false;              ///< erase each trace that is not held as it is found
};

/// How an item finds its traces: the registry, folder, file and ini walks and the special-case parsers, and
/// the run's stop flag. The catalogue calls it through this interface so that it never depends on the walks
/// themselves; the engine of a run implements it.
class ItemWalks {
 public:
  /// Searches `item` (not irregular, of a known type) into `values`, its fresh empty result, erasing each
  /// trace when `clear`, and reports every trace through `item.RaiseAppendValue`. Returns the item's result:
  /// `values`, or what a special-case parser handed back (nullptr for nothing). Skips its own failures; it
  /// does not throw.
  virtual std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem& item, std::shared_ptr<PrivacyValues> values,
                                                          bool clear) = 0;

  /// True when the Detect item `item` finds its key, file or folder: its configuration's program is there.
  virtual bool Detects(PrivacyItem& item) = 0;

  /// True once the run was asked to stop: every loop leaves before its next trace or item.
  virtual bool StopRequested() const = 0;

 protected:
  ~ItemWalks() = default;
};

}  // namespace qm
