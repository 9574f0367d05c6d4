#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/crypt.h"
#include "config/item_walks.h"
#include "config/privacy_configs.h"
#include "support/catalogue_builders.h"
#include "support/scratch_folder.h"

namespace qm::testing {

/// Writes `lines` enciphered, one per CR LF line, as the program stores catalogue files.
inline void WriteCatalogue(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += Crypt::EnCrypt(line) + "\r\n";
  WriteBytes(path, bytes);
}

/// The raw lines of a file, without their line ends.
inline std::vector<std::string> RawLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string bytes = ReadBytes(path);
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = std::min(bytes.find("\r\n", start), bytes.size());
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

/// The deciphered lines of a catalogue file.
inline std::vector<std::string> PlainLines(const std::string& path) {
  std::vector<std::string> lines;
  for (const std::string& raw : RawLines(path)) lines.push_back(Crypt::DeCrypt(raw));
  return lines;
}

/// The lines of the text file `name` in the fixtures' "config" folder.
inline std::vector<std::string> FixtureLines(const std::string& name) {
  std::vector<std::string> lines;
  std::istringstream text(ReadBytes(std::string(QM_FIXTURES_DIR) + "/config/" + name));
  // A checkout with CR LF line ends reads the same.
  for (std::string line; std::getline(text, line);) lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
  EXPECT_FALSE(lines.empty()) << name << " is missing or empty";
  return lines;
}

/// The lines as one text, each ended by a line feed: a failed comparison of two such texts shows their diff.
inline std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

/// The entries of a list, in a form a failed check prints.
inline std::vector<std::string> Entries(const TextList& list) { return {list.begin(), list.end()}; }

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
inline std::vector<std::string> Described(const PrivacyConfig& config) {
  std::vector<std::string> lines = {"[" + PrivacyConfig::SoftwareTypeName(config.SoftwareType) + "|" + config.Software +
                                    "|" + (config.Selected ? "1" : "0") + "|" + config.Version + "|" +
                                    config.Description + "]"};
  for (const auto& item : config.Items) lines.push_back(Described(*item));
  return lines;
}

/// Every configuration's Described lines, in order.
inline std::vector<std::string> Described(const PrivacyConfigs& catalogue) {
  std::vector<std::string> lines;
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
