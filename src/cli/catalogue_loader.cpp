#include "cli/catalogue_loader.h"

#include "config/placeholders.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace qm::cli {

std::string CatalogueFileName(const Options& options) {
  if (!options.catalogue.empty()) return options.catalogue;
  return FileSystem::Join(shell::ProgramFolder(), kDefaultCatalogueFileName);
}

bool LoadCatalogue(const CommandContext& context, PrivacyConfigs& catalogue) {
  const std::string file = CatalogueFileName(context.options);
  try {
    // Item paths are expanded while the catalogue loads, so the folders must be known first.
    InitSpecialFolders();
    catalogue.LoadConfig(file);
    return true;
  } catch (const RuntimeError& e) {
    ReportError(context, "cannot load the catalogue " + file + ": " + e.Description());
    return false;
  }
}

}  // namespace qm::cli
