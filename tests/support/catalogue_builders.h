#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/privacy_config.h"
#include "config/privacy_configs.h"
#include "config/privacy_item.h"

namespace qm::testing {

/// A selected item of `software` with its seek settings; held by `holds` when there are any.
inline std::shared_ptr<PrivacyItem> MakeItem(const std::string& software, const std::string& title,
                                             PrivacyItemType type, const std::vector<std::string>& seek,
                                             const std::vector<std::string>& holds = {}) {
  auto item = std::make_shared<PrivacyItem>();
  item->Software = software;
  item->Title = title;
  item->Selected = true;
  item->ItemType = type;
  for (const std::string& s : seek) item->SeekSettings.Add(s);
  item->HoldFlag = !holds.empty();
  for (const std::string& h : holds) item->HoldSettings.Add(h);
  return item;
}

/// A selected configuration of the software type `type` holding `items`.
inline std::shared_ptr<PrivacyConfig> MakeConfig(const std::string& software, SoftwareType type,
                                                 const std::vector<std::shared_ptr<PrivacyItem>>& items) {
  auto config = std::make_shared<PrivacyConfig>();
  config->Software = software;
  config->SoftwareType = type;
  config->Selected = true;
  for (const auto& item : items) config->Items.Add(item);
  return config;
}

/// The entries of a list, in a form a failed check prints.
inline std::vector<std::string> Entries(const TextList& list) { return {list.begin(), list.end()}; }

/// Each configuration of a catalogue as its name, then "+" when it is selected or "-", and a blank.
inline std::string NameTicks(const PrivacyConfigs& catalogue) {
  std::string text;
  for (const auto& config : catalogue) text += config->Software + (config->Selected ? "+ " : "- ");
  return text;
}

}  // namespace qm::testing
