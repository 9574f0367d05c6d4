#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/placeholders.h"
#include "config/privacy_configs.h"
#include "platform/file_system.h"
#include "platform/registry_backend.h"

namespace qm::ui {

/// True when the version `found` is newer than `current`: as decimal numbers when both are numbers, else as
/// texts in code-unit order.
bool IsNewerVersion(const std::string& found, const std::string& current);

/// True when HKEY_CLASSES_ROOT holds a key for the ".pc" extension: some program has claimed it.
bool PluginExtensionClaimed(reg::RegistryBackend& registry);

/// True when the plug-in scan takes `file`: its shell type description is "PC File", or its name ends in ".pc"
/// while no program has claimed the extension, where the shell describes it otherwise (Wine, other languages).
bool IsPluginFile(const File& file, bool extensionClaimed);

/// One configuration the plug-in window offers.
struct PluginRow {
  std::string Name;
  std::string Type;      ///< "Root", "Plugins", "Customs", or "" for another software type
  std::string Status;    ///< "Add New Version " or "Update to Version " followed by the version
  int64_t Plugins = 0;   ///< its 1-based position in the found list
  int64_t Current = -1;  ///< the 1-based catalogue position of the configuration it replaces, -1 for a new one
  std::shared_ptr<PrivacyConfig> Found;
  std::shared_ptr<PrivacyConfig> Replaces;  ///< the catalogue configuration matched at the scan, or none
};

/// The plug-in window without the window: the configurations of a folder's plug-in files that the catalogue
/// lacks or has in an older version, and the merge of those the user ticks.
class PluginUpdate {
 public:
  /// Reads every plug-in file of `folder` (nothing when it does not exist) into the found list, re-orders it
  /// and offers each configuration that the catalogue has no configuration of the same name and software type
  /// for, or has in an older version. A file that cannot be read contributes nothing: its error, naming the
  /// file and the line, goes to `Problems` with the load warnings of the files that were read.
  void ShowNew(const std::string& folder, const PrivacyConfigs& catalogue, const SpecialFolders& folders,
               reg::RegistryBackend& registry);

  const std::vector<PluginRow>& Rows() const { return rows_; }
  const std::vector<std::string>& Problems() const { return problems_; }
  /// "New Plugins: " + the number of rows + " Plugins can be updated."
  std::string FrameCaption() const;

  /// Adds the ticked rows' configurations to the catalogue, ticked, each in place of the configuration its row
  /// was matched with, then re-orders and saves the catalogue to `file` (see CommitCatalogue); the rows acted
  /// on leave the list. When the save fails nothing changes and the error goes on to the caller.
  void AddTicked(const std::vector<bool>& ticked, PrivacyConfigs& catalogue, const std::string& file);

 private:
  PrivacyConfigs found_;
  std::vector<PluginRow> rows_;
  std::vector<std::string> problems_;
};

}  // namespace qm::ui
