#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/privacy_configs.h"
#include "platform/registry_backend.h"
#include "settings/system_settings.h"
#include "ui/model/config_list.h"
#include "ui/model/preferences_fields.h"

namespace qm::ui {

inline constexpr char kPreferencesCaption[] = "Preferences";
inline constexpr char kPluginsPageTitle[] = "Plug-ins Settings";
inline constexpr char kCustomsPageTitle[] = "Customs Settings";
/// Asked before the highlighted rows of a list page go.
inline constexpr char kDeleteConfigsQuestion[] =
    "All highlight software items will be delete, continue?\r\n\r\n"
    "Recommend: Don't delete any software item, you can uncheck those are not installed in your pc.";

/// What a failing "Apply" or "OK" puts before the error's own description.
inline constexpr char kSettingsNotSaved[] = "The settings cannot be saved.\r\n";
inline constexpr char kCatalogueNotSaved[] = "The catalogue cannot be saved.\r\n";

/// The pages of Preferences; None for a tree node that shows no page.
enum class PreferencesPage { None, General, Privacy, Windows, InternetExplorer, Plugins, Customs, Advance };

/// The page whose tree text is `text`: "General", "Privacy", "Windows", "Internet Explorer", "Plug-ins",
/// "Customs" or "Advance"; None for any other text.
PreferencesPage PageOfText(const std::string& text);

/// One node of the category tree, in the order the nodes are added.
struct PreferencesNode {
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);
  std::string Text;
  std::size_t Parent = kNoParent;
  bool Expanded = false;
  PreferencesPage Page = PreferencesPage::None;
};

/// The category tree: "General"; "Privacy", expanded, with one child per configuration of `catalogue` that is
/// neither a plug-in nor a custom (catalogue order), then "Plug-ins" and "Customs"; "Advance".
std::vector<PreferencesNode> PreferencesTree(const PrivacyConfigs& catalogue);

/// The two built-in pages: their check boxes stand for the first six items of the first and the second
/// built-in configuration.
inline constexpr std::size_t kWindowsPage = 0;
inline constexpr std::size_t kInternetExplorerPage = 1;
inline constexpr std::size_t kBuiltInPages = 2;
inline constexpr std::size_t kBuiltInChecks = 6;
/// A built-in page's check boxes; nothing where the configuration has no such item (the box is disabled).
using BuiltInChecks = std::array<std::optional<bool>, kBuiltInChecks>;

/// What Preferences edits between its opening and "OK": the settings as the pages show them, the built-in
/// pages' check boxes, a working copy of every built-in configuration, and the two lists.
class PreferencesWork {
 public:
  PreferencesWork(const PrivacyConfigs& catalogue, const SystemSettings& settings);

  PreferencesFields Fields;
  std::array<BuiltInChecks, kBuiltInPages> Checks;
  ConfigList Plugins;
  ConfigList Customs;

  /// The working copy a built-in page stands for; nullptr when the catalogue has fewer built-in configurations.
  std::shared_ptr<PrivacyConfig> BuiltIn(std::size_t page) const;
  /// Before "Advance..." opens the copy: its items take the page's check boxes.
  void ChecksToCopy(std::size_t page);
  /// After it closed: the check boxes take the copy's items.
  void ChecksFromCopy(std::size_t page);

  /// A clone of `catalogue` with the pages applied: each built-in configuration's items selected as the check
  /// boxes say (items without a box as its working copy says) and, where an item holds, the copy's holds;
  /// every plug-in and custom configuration replaced by the lists' rows, in row order.
  std::unique_ptr<PrivacyConfigs> Applied(const PrivacyConfigs& catalogue) const;

 private:
  std::vector<std::shared_ptr<PrivacyConfig>> builtIns_;
};

/// What "Apply" and "OK" have written so far, for the main window to take when the dialog closes.
struct AppliedPreferences {
  std::optional<SystemSettings> Settings;     ///< the settings last written to the registry
  std::shared_ptr<PrivacyConfigs> Catalogue;  ///< the catalogue last saved to the catalogue file
};

/// "Apply" and "OK": writes the settings (see SavePreferenceSettings), then saves the catalogue the pages
/// make of `catalogue` to `catalogueFile` (replaced atomically), recording each step in `applied` once it is
/// done. Raises at the first step that fails, its description led by kSettingsNotSaved or kCatalogueNotSaved:
/// what was done before stays, the catalogue file is the old one.
void ApplyPreferences(const PreferencesWork& work, const PrivacyConfigs& catalogue, reg::RegistryBackend& registry,
                      const SettingsRoots& roots, const std::string& catalogueFile, AppliedPreferences& applied);

}  // namespace qm::ui
