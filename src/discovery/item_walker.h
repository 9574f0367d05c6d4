#pragma once

#include <memory>

#include "config/item_walks.h"
#include "discovery/walk_services.h"

namespace qm {

/// The item walks of a run: by the item's type, the registry, file, folder and ini walks and the
/// special-case parsers, all through the run's services. Every failure inside a walk is skipped and the walk
/// goes on.
class ItemWalker : public ItemWalks {
 public:
  explicit ItemWalker(const WalkServices& services) : services_(services) {}

  std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem& item, std::shared_ptr<PrivacyValues> values,
                                                  bool clear) override;
  bool Detects(PrivacyItem& item) override;
  bool StopRequested() const override { return services_.Stop.load(); }

 private:
  const WalkServices& services_;
};

}  // namespace qm
