#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "config/privacy_configs.h"

namespace qm::ui {

/// The Custom List window's working list: copies of the catalogue's custom configurations and the ones made
/// in the window, row i being configuration i. The catalogue sees them only when they are applied.
class CustomList {
 public:
  /// Clones of the catalogue's Customs configurations, in catalogue order.
  explicit CustomList(const PrivacyConfigs& catalogue);

  std::size_t size() const { return static_cast<std::size_t>(working_.Count()); }
  /// The configuration of a 0-based row.
  PrivacyConfig& operator[](std::size_t row) const { return *working_.Item(static_cast<int64_t>(row) + 1); }

  /// Appends a configuration the Custom Maker made.
  void Add(std::shared_ptr<PrivacyConfig> config) { working_.Add(std::move(config)); }
  /// Removes the configurations whose rows are highlighted, from the last row up.
  void Remove(const std::vector<bool>& highlighted);
  /// Each configuration's `Selected` from its row's check box.
  void SetTicks(const std::vector<bool>& ticked);

  /// Replaces every Customs configuration of the catalogue by copies of the list, re-orders the catalogue and
  /// saves it to `file` (see CommitCatalogue). Copies, so later edits here stay out of the catalogue until the
  /// next apply.
  void Apply(PrivacyConfigs& catalogue, const std::string& file) const;
  /// Writes the whole list, in order, to `file` in the catalogue's format: a plug-in file of custom
  /// configurations.
  void Export(const std::string& file) const { working_.SaveConfig(file); }

 private:
  PrivacyConfigs working_;
};

}  // namespace qm::ui
