#include "ui/model/custom_list.h"

#include <algorithm>

#include "ui/model/catalogue_commit.h"

namespace qm::ui {

CustomList::CustomList(const PrivacyConfigs& catalogue) {
  for (const auto& config : catalogue) {
    if (config->SoftwareType == SoftwareType::Customs) working_.Add(config->Clone());
  }
}

void CustomList::Remove(const std::vector<bool>& highlighted) {
  for (std::size_t row = std::min(highlighted.size(), size()); row > 0; --row) {
    if (highlighted[row - 1]) working_.Remove(static_cast<int64_t>(row));
  }
}

void CustomList::SetTicks(const std::vector<bool>& ticked) {
  for (std::size_t row = 0; row < std::min(ticked.size(), size()); ++row) (*this)[row].Selected = ticked[row];
}

void CustomList::Apply(PrivacyConfigs& catalogue, const std::string& file) const {
  std::vector<std::shared_ptr<PrivacyConfig>> configs;
  for (const auto& config : catalogue) {
    if (config->SoftwareType != SoftwareType::Customs) configs.push_back(config);
  }
  for (const auto& config : working_) configs.push_back(config->Clone());
  CommitCatalogue(catalogue, configs, file);
}

}  // namespace qm::ui
