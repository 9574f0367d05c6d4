#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/catalogue_tree.h"
#include "config/crypt.h"
#include "config/placeholders.h"
#include "config/privacy_configs.h"
#include "config/seek_rules.h"
#include "config/settings_string.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace qm {

namespace {

/// The error the original raised when a line needs an object that is not there.
constexpr int32_t kObjectNotSet = 91;
constexpr std::string_view kConfigLine = "[Config]";

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

/// Length in characters, as the line grammar counts them (a line of fewer than 3 is ignored).
std::size_t CharacterCount(std::string_view s) { return text::Utf8ToUtf16(s).size(); }

std::string JoinWith(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  return joined;
}

/// Reads one catalogue file into a catalogue, line by line, keeping every line in its configuration's
/// `FileLines`.
class CatalogueReader {
 public:
  CatalogueReader(PrivacyConfigs& catalogue, std::string fileName, const SpecialFolders& folders,
                  reg::RegistryBackend& registry)
      : catalogue_(catalogue), fileName_(std::move(fileName)), folders_(folders), registry_(registry) {}

  void Read(TextStream& stream) {
    while (!stream.AtEndOfStream()) {
      const std::string stored = TrimBlanks(stream.ReadLine());
      ++lineNumber_;
      if (!Crypt::IsCipherText(stored)) {
        Fail(Crypt::kInvalidCipherText, "the line is not enciphered text");
      }
      ReadLine(Crypt::DeCrypt(stored));
    }
  }

 private:
  void ReadLine(const std::string& s) {
    if (s != kConfigLine) lines_->Add(s);
    if (CharacterCount(s) < 3 || StartsWith(s, "--")) return;
    if (s == kConfigLine) {
      auto config = std::make_shared<PrivacyConfig>();
      catalogue_.Add(config);
      // The first configuration keeps whatever came before it; every later block starts with its own line.
      if (catalogue_.Count() == 1) config->FileLines = std::move(preamble_);
      config->FileLines.Add(s);
      current_ = config;
      lines_ = &config->FileLines;
      titleLines_.clear();
    } else if (StartsWith(s, "Software:")) {
      Current().Software = s.substr(9);
    } else if (StartsWith(s, "Type:")) {
      Current().SoftwareType = PrivacyConfig::TransSoftwareType(s.substr(5));
    } else if (StartsWith(s, "Description:")) {
      Current().Description = s.substr(12);
    } else if (StartsWith(s, "Selected:")) {
      Current().Selected = s.substr(9) == "1";
    } else if (StartsWith(s, "Version:")) {
      Current().Version = s.substr(8);
    } else {
      ReadItem(s);
    }
  }

  void ReadItem(const std::string& s) {
    PrivacyConfig& config = Current();
    auto item = std::make_shared<PrivacyItem>();
    config.Items.Add(item);
    const std::vector<std::string> parts = SplitAt(s, kPartSeparator);
    const std::vector<std::string> fields = SplitAt(parts[0], kFieldSeparator);
    auto field = [&](std::size_t i) -> const std::string& {
      if (i >= fields.size()) Fail(errors::kSubscriptOutOfRange, "the item line has fewer than four fields");
      return fields[i];
    };
    item->Software = config.Software;
    item->FileLine = s;
    item->Title = field(0);
    item->Selected = field(1) == "1";
    item->HoldFlag = field(2) == "1";
    item->ItemType = PrivacyItem::TransPrivacyItemType(field(3));
    if (parts.size() < 2) Fail(errors::kSubscriptOutOfRange, "the item line has no \"><\" part");
    const std::string expanded = ExpandPlaceholders(parts[1], folders_, registry_);
    if (!parts[1].empty() && expanded.empty()) {
      item->Irregular = true;
    } else {
      item->Irregular = false;
      item->SetSeekSettingsByString(TrimBlanks(expanded));
    }
    // Stored holds count only while the hold flag is on; otherwise the next save drops them.
    if (parts.size() > 2 && item->HoldFlag) item->SetHoldSettingsByString(TrimBlanks(parts[2]));
    // A placeholder this system has no folder for (no Windows folder on Linux) is no news; a path that can
    // never be walked is.
    if (const std::string reason = IrregularReason(*item); !item->Irregular && !reason.empty()) {
      item->Irregular = true;
      Warn("item \"" + item->Title + "\" of \"" + config.Software + "\" finds nothing: " + reason);
    }
    const auto [first, added] = titleLines_.emplace(item->Title, lineNumber_);
    if (!added) {
      Warn("configuration \"" + config.Software + "\" repeats the item title \"" + item->Title + "\" of line " +
           std::to_string(first->second));
    }
  }

  void Warn(const std::string& what) {
    catalogue_.LoadWarnings.push_back("\"" + fileName_ + "\" line " + std::to_string(lineNumber_) + ": " + what);
  }

  PrivacyConfig& Current() {
    if (!current_) Fail(kObjectNotSet, "a key line comes before the first \"[Config]\"");
    return *current_;
  }

  [[noreturn]] void Fail(int32_t number, const std::string& what) const {
    throw RuntimeError(number, "PrivacyConfigs",
                       "\"" + fileName_ + "\" line " + std::to_string(lineNumber_) + ": " + what);
  }

  PrivacyConfigs& catalogue_;
  std::string fileName_;
  const SpecialFolders& folders_;
  reg::RegistryBackend& registry_;
  int64_t lineNumber_ = 0;
  std::map<std::string, int64_t> titleLines_;  ///< the current configuration's item titles and their lines
  TextList preamble_;
  TextList* lines_ = &preamble_;
  std::shared_ptr<PrivacyConfig> current_;
};

/// Writes one configuration's lines back: trimmed, with the check states and holds the user may have changed.
/// Each item line takes its own item: items and their lines come in the same order, so the n-th line with a
/// title belongs to the n-th item with that title.
class ConfigWriter {
 public:
  explicit ConfigWriter(const PrivacyConfig& config) : config_(config) {}

  std::string SavedLine(const std::string& line) {
    std::string s = TrimBlanks(line);
    if (CharacterCount(s) <= 2 || StartsWith(s, "--") || s == kConfigLine || StartsWith(s, "Software:") ||
        StartsWith(s, "Type:") || StartsWith(s, "Description:") || StartsWith(s, "Version:")) {
      return s;
    }
    if (StartsWith(s, "Selected:")) return config_.Selected ? "Selected:1" : "Selected:0";
    const std::vector<std::string> parts = SplitAt(s, kPartSeparator);
    std::vector<std::string> fields = SplitAt(parts[0], kFieldSeparator);
    const std::shared_ptr<PrivacyItem> item = TakeItem(fields[0]);
    if (fields.size() < 3 || parts.size() < 2) {
      throw RuntimeError(errors::kSubscriptOutOfRange, "PrivacyConfigs",
                         "the line of item \"" + fields[0] + "\" is malformed");
    }
    fields[1] = item->Selected ? "1" : "0";
    fields[2] = item->HoldFlag ? "1" : "0";
    // The seek part goes back as it was stored, placeholders unexpanded.
    s = JoinWith(fields, kFieldSeparator) + std::string(kPartSeparator) + parts[1];
    if (item->HoldFlag && !item->HoldSettings.empty()) {
      s += kPartSeparator;
      s += JoinWith(std::vector<std::string>(item->HoldSettings.begin(), item->HoldSettings.end()), kFieldSeparator);
    }
    return s;
  }

 private:
  /// The next item titled `title` after the last one taken; the first such item when none is left.
  std::shared_ptr<PrivacyItem> TakeItem(const std::string& title) {
    for (int64_t i = next_; i <= config_.Items.Count(); ++i) {
      if (config_.Items.Item(i)->Title != title) continue;
      next_ = i + 1;
      return config_.Items.Item(i);
    }
    if (std::shared_ptr<PrivacyItem> item = config_.FindPrivacyItem(title)) return item;
    throw RuntimeError(kObjectNotSet, "PrivacyConfigs",
                       "configuration \"" + config_.Software + "\" has no item titled \"" + title + "\"");
  }

  const PrivacyConfig& config_;
  int64_t next_ = 1;
};

std::string CatalogueFileName(const std::string& sConfigFileName) {
  return sConfigFileName.empty() ? kDefaultCatalogueFileName : sConfigFileName;
}

}  // namespace

void PrivacyConfigs::LoadConfig(const std::string& sConfigFileName, const SpecialFolders& folders,
                                reg::RegistryBackend& registry) {
  const std::string fileName = CatalogueFileName(sConfigFileName);
  FileSystem fs;
  // Opened before anything is emptied: a file that cannot be read leaves the catalogue as it was.
  std::unique_ptr<TextStream> stream = fs.OpenTextFile(fileName, IoMode::ForReading);
  RemoveAll();
  LoadWarnings.clear();
  CatalogueReader(*this, fileName, folders, registry).Read(*stream);
  stream->Close();
  ReOrder();
  for (const std::string& problem : TagProblems(*this)) LoadWarnings.push_back("\"" + fileName + "\": " + problem);
}

void PrivacyConfigs::SaveConfig(const std::string& sConfigFileName) const {
  const std::string fileName = CatalogueFileName(sConfigFileName);
  const std::string tmpName = fileName + ".tmp";
  FileSystem fs;
  std::unique_ptr<TextStream> stream = fs.CreateTextFile(tmpName, true);
  for (const auto& config : *this) {
    ConfigWriter writer(*config);
    for (const std::string& line : config->FileLines) stream->WriteLine(Crypt::EnCrypt(writer.SavedLine(line)));
  }
  // On the disk before the rename, so the target is always the old or the complete new catalogue.
  stream->Close(true);
  fs.Replace(tmpName, fileName);
}

}  // namespace qm
