#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/crypt.h"
#include "config/item_walks.h"
#include "config/privacy_configs.h"
#include "support/catalogue_builders.h"
#include "support/lines.h"
#include "support/scratch_folder.h"

namespace qm::testing {

/// Writes `lines` enciphered, one per CR LF line, as the program stores catalogue files.
inline void WriteCatalogue(const std::string& path, const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += Crypt::EnCrypt(line) + "\r\n";
  WriteBytes(path, bytes);
}

/// The raw lines of a file, split at its CR LF line ends.
inline Lines RawLines(const std::string& path) {
  Lines lines = Split(ReadBytes(path), "\r\n");
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

/// The deciphered lines of a catalogue file.
inline Lines PlainLines(const std::string& path) {
  Lines lines;
  for (const std::string& raw : RawLines(path)) lines.push_back(Crypt::DeCrypt(raw));
  return lines;
}

/// An item as it is now, in the form of its catalogue line:
/// "Software: Title<>selected<>held<>Type><seek settings><hold settings>".
inline std::string Described(const PrivacyItem& item) {
  std::string line = item.Software + ": " + item.Title + "<>" + (item.Selected ? "1" : "0") + "<>" +
                     (item.HoldFlag ? "1" : "0") + "<>" + PrivacyItem::PrivacyItemTypeName(item.ItemType);
  for (const TextList* settings : {&item.SeekSettings, &item.HoldSettings}) {
    line += "><";
    for (int64_t i = 1; i <= settings->Count(); ++i) line += (i > 1 ? "<>" : "") + settings->Item(i);
  }
  return line;
}

/// A configuration as it is now: "[Type|Software|selected|Version|Description]", then its items' lines.
inline Lines Described(const PrivacyConfig& config) {
  Lines lines = {"[" + PrivacyConfig::SoftwareTypeName(config.SoftwareType) + "|" + config.Software + "|" +
                 (config.Selected ? "1" : "0") + "|" + config.Version + "|" + config.Description + "]"};
  for (const auto& item : config.Items) lines.push_back(Described(*item));
  return lines;
}

/// Every configuration's Described lines, in order.
inline Lines Described(const PrivacyConfigs& catalogue) {
  Lines lines;
  for (const auto& config : catalogue) {
    for (std::string& line : Described(*config)) lines.push_back(std::move(line));
  }
  return lines;
}

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
  /// A Detect item finds its place when its seek setting 1 is "here".
  bool Detects(PrivacyItem& item) override { return item.SeekSettings.Count() > 0 && item.SeekSettings.Item(1) == "here"; }
  bool StopRequested() const override { return stop; }

  /// The titles of the items searched, in order ("!" marks an erasing search).
  Lines searched;
  bool stop = false;
};

/// Options of a search anew: with every configuration and item when `all`, erasing when `clear`.
inline SearchOptions Search(bool all = false, bool clear = false) { return SearchOptions{true, all, clear}; }
/// Options of a pass that only reports the kept results.
inline SearchOptions Kept() { return SearchOptions{false, false, false}; }

/// A configuration with items "title=plan" (selected) or "-title=plan" (not selected).
inline std::shared_ptr<PrivacyConfig> MakeConfig(const std::string& software, SoftwareType type, bool selected,
                                                 const Lines& items) {
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
