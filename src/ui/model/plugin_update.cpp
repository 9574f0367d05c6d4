#include "ui/model/plugin_update.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "config/settings_string.h"
#include "platform/text.h"
#include "ui/model/catalogue_commit.h"

namespace qm::ui {
namespace {

/// The decimal number a version text reads as, if it is one ("2", " 1.5", "+1e3").
std::optional<double> VersionNumber(const std::string& version) {
  const std::string trimmed = TrimBlanks(version);
  std::string_view s = trimmed;
  if (s.starts_with('+')) s.remove_prefix(1);
  // from_chars would also take "inf" and "nan", which are no version numbers.
  if (s.empty() || s.find_first_not_of("0123456789.eE+-") != std::string_view::npos) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

/// The catalogue position of the first configuration with the same name and software type, or 0.
int64_t MatchingPosition(const PrivacyConfigs& catalogue, const PrivacyConfig& found) {
  for (int64_t i = 1; i <= catalogue.Count(); ++i) {
    const PrivacyConfig& config = *catalogue.Item(i);
    if (config.Software == found.Software && config.SoftwareType == found.SoftwareType) return i;
  }
  return 0;
}

/// A configuration the catalogue gets is ticked; a block without a "Selected:" line would lose the tick when
/// the catalogue is read back.
void Tick(PrivacyConfig& config) {
  config.Selected = true;
  for (const std::string& line : config.FileLines) {
    if (TrimBlanks(line).starts_with("Selected:")) return;
  }
  config.FileLines.Add("Selected:1");
}

}  // namespace

bool IsNewerVersion(const std::string& found, const std::string& current) {
  const std::optional<double> foundNumber = VersionNumber(found);
  const std::optional<double> currentNumber = VersionNumber(current);
  if (foundNumber && currentNumber) return *foundNumber > *currentNumber;
  return found > current;
}

bool PluginExtensionClaimed(reg::RegistryBackend& registry) {
  reg::KeyHandle key = 0;
  if (registry.OpenKey(reg::RootHandle(reg::kClassesRoot), ".pc", reg::kRead, key) != reg::kSuccess) return false;
  registry.CloseKey(key);
  return true;
}

bool IsPluginFile(const File& file, bool extensionClaimed) {
  if (file.Type == "PC File") return true;
  return !extensionClaimed && file.Name.size() > 3 &&
         text::EqualsIgnoreCase(std::string_view(file.Name).substr(file.Name.size() - 3), ".pc");
}

void PluginUpdate::ShowNew(const std::string& folder, const PrivacyConfigs& catalogue, const SpecialFolders& folders,
                           reg::RegistryBackend& registry) {
  rows_.clear();
  problems_.clear();
  found_.RemoveAll();
  FileSystem fs;
  if (fs.FolderExists(folder)) {
    const bool claimed = PluginExtensionClaimed(registry);
    for (const File& file : fs.GetFolder(folder).Files()) {
      if (!IsPluginFile(file, claimed)) continue;
      PrivacyConfigs read;
      try {
        read.LoadConfig(file.Path, folders, registry);
      } catch (const RuntimeError& e) {
        problems_.push_back(e.Description());
        continue;
      }
      problems_.insert(problems_.end(), read.LoadWarnings.begin(), read.LoadWarnings.end());
      for (const auto& config : read) found_.Add(config);
    }
    found_.ReOrder();
  }
  for (int64_t i = 1; i <= found_.Count(); ++i) {
    const std::shared_ptr<PrivacyConfig>& found = found_.Item(i);
    PluginRow row{found->Software, PrivacyConfig::SoftwareTypeName(found->SoftwareType), "", i, -1, found, nullptr};
    if (const int64_t j = MatchingPosition(catalogue, *found); j == 0) {
      row.Status = "Add New Version " + found->Version;
    } else if (IsNewerVersion(found->Version, catalogue.Item(j)->Version)) {
      row.Status = "Update to Version " + found->Version;
      row.Current = j;
      row.Replaces = catalogue.Item(j);
    } else {
      continue;
    }
    rows_.push_back(std::move(row));
  }
}

std::string PluginUpdate::FrameCaption() const {
  return "New Plugins: " + std::to_string(rows_.size()) + " Plugins can be updated.";
}

void PluginUpdate::AddTicked(const std::vector<bool>& ticked, PrivacyConfigs& catalogue, const std::string& file) {
  std::vector<std::shared_ptr<PrivacyConfig>> configs(catalogue.begin(), catalogue.end());
  for (std::size_t k = rows_.size(); k > 0; --k) {
    const PluginRow& row = rows_[k - 1];
    if (k > ticked.size() || !ticked[k - 1]) continue;
    // The configuration the row was matched with, wherever earlier replacements have moved it.
    if (row.Replaces) std::erase(configs, row.Replaces);
    Tick(*row.Found);
    configs.push_back(row.Found);
  }
  CommitCatalogue(catalogue, configs, file);
  std::vector<PluginRow> left;
  for (std::size_t k = 0; k < rows_.size(); ++k) {
    if (k >= ticked.size() || !ticked[k]) left.push_back(rows_[k]);
  }
  rows_ = std::move(left);
}

}  // namespace qm::ui
