#include "ui/model/preferences_work.h"

#include <algorithm>
#include <utility>

#include "platform/error.h"

namespace qm::ui {

namespace {

constexpr std::pair<const char*, PreferencesPage> kPageTexts[] = {
    {"General", PreferencesPage::General},  {"Privacy", PreferencesPage::Privacy},
    {"Windows", PreferencesPage::Windows},  {"Internet Explorer", PreferencesPage::InternetExplorer},
    {"Plug-ins", PreferencesPage::Plugins}, {"Customs", PreferencesPage::Customs},
    {"Advance", PreferencesPage::Advance},
};

bool IsListed(const PrivacyConfig& config) {
  return config.SoftwareType == SoftwareType::Plugins || config.SoftwareType == SoftwareType::Customs;
}

// The built-in configurations in catalogue order. The pages address them by this place, not by their place
// in the whole catalogue, so a catalogue with fewer of them never hands a plug-in to a built-in page.
std::vector<std::shared_ptr<PrivacyConfig>> BuiltIns(const PrivacyConfigs& catalogue) {
  std::vector<std::shared_ptr<PrivacyConfig>> builtIns;
  for (const auto& config : catalogue) {
    if (config->SoftwareType == SoftwareType::Root) builtIns.push_back(config);
  }
  return builtIns;
}

}  // namespace

PreferencesPage PageOfText(const std::string& text) {
  for (const auto& [pageText, page] : kPageTexts) {
    if (text == pageText) return page;
  }
  return PreferencesPage::None;
}

std::vector<PreferencesNode> PreferencesTree(const PrivacyConfigs& catalogue) {
  std::vector<PreferencesNode> nodes;
  const auto add = [&](const std::string& text, std::size_t parent, bool expanded = false) {
    nodes.push_back({text, parent, expanded, PageOfText(text)});
    return nodes.size() - 1;
  };
  add("General", PreferencesNode::kNoParent);
  const std::size_t privacy = add("Privacy", PreferencesNode::kNoParent, true);
  for (const auto& config : catalogue) {
    if (!IsListed(*config)) add(config->Software, privacy);
  }
  add("Plug-ins", privacy);
  add("Customs", privacy);
  add("Advance", PreferencesNode::kNoParent);
  return nodes;
}

PreferencesWork::PreferencesWork(const PrivacyConfigs& catalogue, const SystemSettings& settings)
    : Fields(FieldsFromSettings(settings)),
      Plugins(catalogue, SoftwareType::Plugins, kPluginsPageTitle),
      Customs(catalogue, SoftwareType::Customs, kCustomsPageTitle) {
  for (const auto& config : BuiltIns(catalogue)) builtIns_.push_back(config->Clone());
  for (std::size_t page = 0; page < kBuiltInPages; ++page) ChecksFromCopy(page);
}

std::shared_ptr<PrivacyConfig> PreferencesWork::BuiltIn(std::size_t page) const {
  return page < builtIns_.size() ? builtIns_[page] : nullptr;
}

void PreferencesWork::ChecksToCopy(std::size_t page) {
  const std::shared_ptr<PrivacyConfig> copy = BuiltIn(page);
  for (std::size_t i = 0; copy && i < kBuiltInChecks && static_cast<int64_t>(i) < copy->Items.Count(); ++i) {
    if (Checks[page][i]) copy->Items.Item(static_cast<int64_t>(i) + 1)->Selected = *Checks[page][i];
  }
}

void PreferencesWork::ChecksFromCopy(std::size_t page) {
  const std::shared_ptr<PrivacyConfig> copy = BuiltIn(page);
  for (std::size_t i = 0; i < kBuiltInChecks; ++i) {
    Checks[page][i] = std::nullopt;
    if (copy && static_cast<int64_t>(i) < copy->Items.Count()) {
      Checks[page][i] = copy->Items.Item(static_cast<int64_t>(i) + 1)->Selected;
    }
  }
}

std::unique_ptr<PrivacyConfigs> PreferencesWork::Applied(const PrivacyConfigs& catalogue) const {
  std::unique_ptr<PrivacyConfigs> applied = catalogue.Clone();
  const std::vector<std::shared_ptr<PrivacyConfig>> targets = BuiltIns(*applied);
  for (std::size_t n = 0; n < std::min(targets.size(), builtIns_.size()); ++n) {
    const PrivacyConfig& working = *builtIns_[n];
    for (int64_t j = 1; j <= std::min(targets[n]->Items.Count(), working.Items.Count()); ++j) {
      PrivacyItem& target = *targets[n]->Items.Item(j);
      const PrivacyItem& item = *working.Items.Item(j);
      const std::size_t box = static_cast<std::size_t>(j - 1);
      // Items past the six boxes keep what the Privacy Detail window made of them.
      const bool boxed = n < kBuiltInPages && box < kBuiltInChecks && Checks[n][box].has_value();
      target.Selected = boxed ? *Checks[n][box] : item.Selected;
      if (item.HoldFlag) target.HoldSettings = item.HoldSettings;
    }
  }
  for (int64_t i = applied->Count(); i >= 1; --i) {
    if (IsListed(*applied->Item(i))) applied->Remove(i);
  }
  Plugins.AddTo(*applied);
  Customs.AddTo(*applied);
  return applied;
}

void ApplyPreferences(const PreferencesWork& work, const PrivacyConfigs& catalogue, reg::RegistryBackend& registry,
                      const SettingsRoots& roots, const std::string& catalogueFile, AppliedPreferences& applied) {
  const SystemSettings settings = SettingsFromFields(work.Fields);
  try {
    SavePreferenceSettings(registry, settings, roots);
  } catch (const RuntimeError& e) {
    throw e.Prefixed(kSettingsNotSaved);
  }
  applied.Settings = settings;
  std::unique_ptr<PrivacyConfigs> saved = work.Applied(catalogue);
  try {
    saved->SaveConfig(catalogueFile);
  } catch (const RuntimeError& e) {
    throw e.Prefixed(kCatalogueNotSaved);
  }
  applied.Catalogue = std::move(saved);
}

}  // namespace qm::ui
