#pragma once

#include <memory>

#include "config/item_walks.h"
#include "discovery/walk_context.h"

namespace qm {

/// The item walks of the program: by the item's type, the registry, file, folder and ini walks and the
/// special-case parsers. Every failure inside a walk is skipped and the walk goes on.
class ItemWalker : public ItemWalks {
 public:
  explicit ItemWalker(WalkServices services);

  std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem& item, std::shared_ptr<PrivacyValues> values,
                                                  bool bClearValue) override;

 private:
  /// Calls the parser named by S1 with the item, the erase flag and the other seek settings; an unknown name
  /// leaves the item's empty result.
  std::shared_ptr<PrivacyValues> CallParser(WalkContext& context, std::shared_ptr<PrivacyValues> values);

  WalkServices services_;
};

/// Installs item walks for as long as it lives, then puts back the ones installed before.
class ScopedItemWalks {
 public:
  explicit ScopedItemWalks(ItemWalks* walks) : previous_(GetItemWalks()) { SetItemWalks(walks); }
  ~ScopedItemWalks() { SetItemWalks(previous_); }
  ScopedItemWalks(const ScopedItemWalks&) = delete;
  ScopedItemWalks& operator=(const ScopedItemWalks&) = delete;

 private:
  ItemWalks* previous_;
};

}  // namespace qm
