#pragma once

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "config/crypt.h"
#include "config/privacy_configs.h"
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
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
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
  for (std::string line; std::getline(text, line);) lines.push_back(line);
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
    const std::vector<std::string> more = Described(*config);
    lines.insert(lines.end(), more.begin(), more.end());
  }
  return lines;
}

}  // namespace qm::testing
