#pragma once

#include <string>

#include "cli/command.h"
#include "config/privacy_configs.h"

namespace qm::cli {

/// The catalogue file the options name: --catalogue, or PrivacyConfig.dat beside the program.
std::string CatalogueFileName(const Options& options);

/// Resolves the placeholder folders and loads the catalogue as the program does at start. On failure it
/// reports the error and returns false (the caller exits with kExitNoCatalogue).
bool LoadCatalogue(const CommandContext& context, PrivacyConfigs& catalogue);

}  // namespace qm::cli
