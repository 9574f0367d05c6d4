#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/privacy_configs.h"

namespace qm::ui {

/// Puts `configs` into the catalogue in place of its content, re-orders it and saves it to `file`. When the
/// save fails the catalogue gets its old content back and the error goes on to the caller, so the catalogue in
/// memory never holds what its file could not take.
void CommitCatalogue(PrivacyConfigs& catalogue, const std::vector<std::shared_ptr<PrivacyConfig>>& configs,
                     const std::string& file);

}  // namespace qm::ui
