#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/item_walks.h"
#include "config/privacy_configs.h"
#include "support/catalogue_builders.h"

namespace qm::testing {

/// Item walks for catalogue tests. Seek setting 1 says what an item finds: a number of traces ("2"), "stop"
/// (one trace, then the run is asked to stop) or "nothing" (no result at all).
class FakeWalks : public ItemWalks {
 public:
  std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem& item, std::shared_ptr<PrivacyValues> values,
                                                  bool clear) override {
    searched.push_back(item.Title + (clear ? "!" : ""));
    const std::string plan = item.SeekSettings.Count() > 0 ? item.SeekSettings.Item(1) : "";
    if (plan == "nothing") return nullptr;
    const int count = plan == "stop" ? 1 : std::stoi(plan);
    for (int i = 1; i <= count; ++i) {
      auto pv = values->AddIniFileItem(item.Title + ".ini", "k" + std::to_string(i), "v", TraceStatus::Found);
      item.RaiseAppendValue(*pv);
    }
    if (plan == "stop") stop = true;
    return values;
  }
  bool StopRequested() const override { return stop; }

  /// The titles of the items searched, in order ("!" marks an erasing search).
  std::vector<std::string> searched;
  bool stop = false;
};

/// Options of a search anew: with every configuration and item when `all`, erasing when `clear`.
inline SearchOptions Search(bool all = false, bool clear = false) { return SearchOptions{true, all, clear}; }
/// Options of a pass that only reports the kept results.
inline SearchOptions Kept() { return SearchOptions{false, false, false}; }

/// A configuration with items "title=plan" (selected) or "-title=plan" (not selected).
inline std::shared_ptr<PrivacyConfig> MakeConfig(const std::string& software, SoftwareType type, bool selected,
                                                 const std::vector<std::string>& items) {
  std::vector<std::shared_ptr<PrivacyItem>> made;
  for (const std::string& entry : items) {
    const bool itemSelected = entry[0] != '-';
    const std::string body = itemSelected ? entry : entry.substr(1);
    const std::size_t eq = body.find('=');
    made.push_back(MakeItem(software, body.substr(0, eq), PrivacyItemType::IniFileItem, {body.substr(eq + 1)}));
    made.back()->Selected = itemSelected;
  }
  auto config = MakeConfig(software, type, made);
  config->Selected = selected;
  return config;
}

}  // namespace qm::testing
