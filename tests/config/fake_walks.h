#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/item_walks.h"
#include "config/privacy_configs.h"
#include "config/stop_requested.h"
#include "support/catalogue_builders.h"
#include "support/event_journal.h"

namespace qm::testing {

/// Item walks for catalogue tests, installed while the object lives. Seek setting 1 says what an item
/// finds: a number of traces ("2"), "stop" (one trace, then the stop flag is set), "parser" (one trace
/// raised through a parser object, whose own collection is the result) or "nothing" (no result at all).
class FakeWalks : public ItemWalks {
 public:
  FakeWalks() { SetItemWalks(this); }
  ~FakeWalks() override {
    SetItemWalks(nullptr);
    StopRequested = false;
  }

  std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem& item, std::shared_ptr<PrivacyValues> values,
                                                  bool bClearValue) override {
    searched.push_back(item.Title + (bClearValue ? "!" : ""));
    const std::string plan = item.SeekSettings.Count() > 0 ? item.SeekSettings.Item(1) : "";
    if (plan == "nothing") return nullptr;
    if (plan == "parser") return RunParser(item);
    const int count = plan == "stop" ? 1 : std::stoi(plan);
    for (int i = 1; i <= count; ++i) {
      auto pv = values->AddIniFileItem(item.Title + ".ini", "k" + std::to_string(i), "v", status::kFound);
      item.RaiseAppendValue(*pv);
    }
    if (plan == "stop") StopRequested = true;
    return values;
  }

  /// The titles of the items searched, in order ("!" marks an erasing search).
  std::vector<std::string> searched;

 private:
  class Parser : public AppendValueSource {
   public:
    void Report(PrivacyItem& pi, PrivacyValue& pv) {
      Raise([&](AppendValueListener& listener) { listener.AppendValue(pi, pv); });
    }
  };

  std::shared_ptr<PrivacyValues> RunParser(PrivacyItem& item) {
    auto parser = std::make_shared<Parser>();
    item.SetParserEvents(parser);
    auto found = std::make_shared<PrivacyValues>();
    auto pv = found->AddIniFileItem("parser.ini", item.Title, "v", status::kFound);
    parser->Report(item, *pv);
    item.SetParserEvents(nullptr);
    return found;
  }
};

/// A configuration with items "title=plan" (selected) or "-title=plan" (not selected).
inline std::shared_ptr<PrivacyConfig> MakeConfig(const std::string& software, int32_t type, bool selected,
                                                 const std::vector<std::string>& items) {
  std::vector<std::shared_ptr<PrivacyItem>> made;
  for (const std::string& entry : items) {
    const bool itemSelected = entry[0] != '-';
    const std::string body = itemSelected ? entry : entry.substr(1);
    const std::size_t eq = body.find('=');
    made.push_back(MakeItem(software, body.substr(0, eq), item_types::kIniFileItem, {body.substr(eq + 1)}));
    made.back()->Selected = itemSelected;
  }
  auto config = MakeConfig(software, type, made);
  config->Selected = selected;
  return config;
}

}  // namespace qm::testing
