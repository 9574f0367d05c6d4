#include "ui/model/catalogue_commit.h"

namespace qm::ui {
namespace {

void Fill(PrivacyConfigs& catalogue, const std::vector<std::shared_ptr<PrivacyConfig>>& configs) {
  catalogue.RemoveAll();
  for (const auto& config : configs) catalogue.Add(config);
}

}  // namespace

void CommitCatalogue(PrivacyConfigs& catalogue, const std::vector<std::shared_ptr<PrivacyConfig>>& configs,
                     const std::string& file) {
  const std::vector<std::shared_ptr<PrivacyConfig>> before(catalogue.begin(), catalogue.end());
  Fill(catalogue, configs);
  catalogue.ReOrder();
  try {
    catalogue.SaveConfig(file);
  } catch (...) {
    Fill(catalogue, before);
    throw;
  }
}

}  // namespace qm::ui
