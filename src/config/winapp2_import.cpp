#include "config/winapp2_import.h"

#include <map>
#include <utility>

#include "config/winapp2_ini.h"
#include "config/winapp2_keys.h"
#include "platform/text.h"

namespace qm {

namespace {

enum class KeyKind {
  Detect,
  DetectFile,
  DetectOS,
  SpecialDetect,
  FileKey,
  RegKey,
  ExcludeKey,
  LangSecRef,
  Section,
  Warning,
  Default,
  Unknown
};

constexpr std::pair<std::string_view, KeyKind> kKeyKinds[] = {
    {"Detect", KeyKind::Detect},         {"DetectFile", KeyKind::DetectFile},
    {"DetectOS", KeyKind::DetectOS},     {"SpecialDetect", KeyKind::SpecialDetect},
    {"FileKey", KeyKind::FileKey},       {"RegKey", KeyKind::RegKey},
    {"ExcludeKey", KeyKind::ExcludeKey}, {"LangSecRef", KeyKind::LangSecRef},
    {"Section", KeyKind::Section},       {"Warning", KeyKind::Warning},
    {"Default", KeyKind::Default},
};

/// The headings CCleaner shows for the LangSecRef numbers.
constexpr std::pair<std::string_view, std::string_view> kSections[] = {
    {"3001", "Internet Explorer"},
    {"3005", "Microsoft Edge"},
    {"3006", "Edge Chromium"},
    {"3021", "Applications"},
    {"3022", "Internet"},
    {"3023", "Multimedia"},
    {"3024", "Utilities"},
    {"3025", "Windows"},
    {"3026", "Firefox"},
    {"3027", "Opera"},
    {"3028", "Safari"},
    {"3029", "Google Chrome"},
    {"3030", "Thunderbird"},
    {"3031", "Windows Store"},
    {"3032", "CCleaner Browser"},
    {"3033", "Vivaldi"},
    {"3034", "Brave"},
    {"3035", "Opera GX"},
    {"3036", "Spotify"},
    {"3037", "Avast Secure Browser"},
    {"3038", "AVG Secure Browser"},
};

/// The folders that tell CCleaner's SpecialDetect programs are installed.
constexpr std::pair<std::string_view, std::string_view> kSpecialDetects[] = {
    {"DET_CHROME", "%appdatadir%\\Google\\Chrome\\User Data"},
    {"DET_MOZILLA", "%roamingappdatadir%\\Mozilla\\Firefox"},
    {"DET_THUNDERBIRD", "%roamingappdatadir%\\Thunderbird"},
    {"DET_OPERA", "%roamingappdatadir%\\Opera Software"},
};

/// Quillmere is built for Windows 10 and later (kernel version 10.0, Windows 11 included).
constexpr int kRunningWindows = 1000;

template <typename Value, std::size_t N>
const Value* Lookup(const std::pair<std::string_view, Value> (&table)[N], std::string_view name) {
  for (const auto& [key, value] : table) {
    if (text::EqualsIgnoreCase(key, name)) return &value;
  }
  return nullptr;
}

KeyKind KindOf(std::string_view name) {
  while (!name.empty() && name.back() >= '0' && name.back() <= '9') name.remove_suffix(1);
  const KeyKind* kind = Lookup(kKeyKinds, name);
  return kind ? *kind : KeyKind::Unknown;
}

/// "6.2" as 602, "10.0" as 1000; -1 for anything else.
int WindowsVersion(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == text.size() || text.size() > 6) return -1;
  int major = 0;
  int minor = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == dot) continue;
    if (text[i] < '0' || text[i] > '9') return -1;
    int& part = i < dot ? major : minor;
    part = part * 10 + (text[i] - '0');
  }
  return major * 100 + minor;
}

std::string SoftwareName(const std::string& entryName) {
  return TrimWinapp2(entryName.ends_with('*') ? std::string_view(entryName).substr(0, entryName.size() - 1)
                                              : std::string_view(entryName));
}

/// True when `text` survives the catalogue's code page.
bool FitsCodePage(const std::string& line) { return text::AnsiToUtf8(text::Utf8ToAnsi(line)) == line; }

/// True when nothing of the key's items and holds could break a catalogue line's "<>" and "><" separators.
bool FitsLineGrammar(const Winapp2KeyResult& result) {
  const auto fits = [](const std::string& text) { return text.find_first_of("<>") == std::string::npos; };
  for (const Winapp2Item& item : result.items) {
    for (const std::string& setting : item.seek) {
      if (!fits(setting)) return false;
    }
  }
  for (const Winapp2Hold& hold : result.holds) {
    if (!fits(hold.pattern)) return false;
  }
  return true;
}

std::string JoinedWith(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : std::string(separator)) + part;
  return joined;
}

/// Turns one winapp2 entry into one configuration block.
class EntryMapper {
 public:
  EntryMapper(const Winapp2Entry& entry, const Winapp2Options& options) : entry_(entry), options_(options) {}

  /// The configuration's lines, none when the entry is not mapped; `report` says how it went.
  std::vector<std::string> Map(Winapp2EntryReport& report) {
    for (const Winapp2Key& key : entry_.keys) Take(key);
    if (report.name.empty()) Refuse("it has no name");
    if (!special_.empty()) detects_ = {Winapp2Item{"SpecialDetect", "Detect", {special_}}};
    if (cleaners_.empty()) Refuse(cleaningKeys_ == 0 ? "it has no FileKey or RegKey" : "nothing is left to clean");
    NoteDeeperHolds();
    std::vector<std::string> lines = Lines(report.name);
    for (const std::string& line : lines) {
      if (!FitsCodePage(line)) Refuse("it holds characters the catalogue's code page cannot hold");
    }
    Tell(report);
    return refusal_.empty() ? lines : std::vector<std::string>();
  }

 private:
  /// The refusal first, then what was dropped or differs.
  void Tell(Winapp2EntryReport& report) const {
    report.mapping = !refusal_.empty() ? Winapp2Mapping::NotMapped
                     : notes_.empty()  ? Winapp2Mapping::Exact
                                       : Winapp2Mapping::Partly;
    report.notes = refusal_.empty() ? std::vector<std::string>() : std::vector<std::string>{refusal_};
    report.notes.insert(report.notes.end(), notes_.begin(), notes_.end());
  }

  void Take(const Winapp2Key& key) {
    switch (KindOf(key.name)) {
      case KeyKind::Detect: return TakeResult(key, MapDetectKey(key), detects_);
      case KeyKind::DetectFile: return TakeResult(key, MapDetectFile(key), detects_);
      case KeyKind::FileKey: ++cleaningKeys_; return TakeResult(key, MapFileKey(key), cleaners_);
      case KeyKind::RegKey: ++cleaningKeys_; return TakeResult(key, MapRegKey(key), cleaners_);
      case KeyKind::ExcludeKey: return TakeResult(key, MapExcludeKey(key), cleaners_);
      case KeyKind::DetectOS: return TakeDetectOS(key);
      case KeyKind::SpecialDetect: return TakeSpecialDetect(key);
      case KeyKind::LangSecRef: {
        const std::string_view* heading = Lookup(kSections, key.value);
        section_ = heading ? std::string(*heading) : "LangSecRef " + key.value;
        return;
      }
      case KeyKind::Section: section_ = key.value; return;
      case KeyKind::Warning: warning_ = key.value; return;
      case KeyKind::Default: selected_ = !text::EqualsIgnoreCase(key.value, "False"); return;
      case KeyKind::Unknown: notes_.push_back(key.name + " ignored: winapp2 has no such key"); return;
    }
  }

  void TakeResult(const Winapp2Key& key, Winapp2KeyResult result, std::vector<Winapp2Item>& into) {
    if (!result.refusal.empty()) return Refuse(result.refusal);
    if (!FitsLineGrammar(result)) {
      const std::string why = "it holds \"<\" or \">\", which a catalogue line cannot carry";
      if (!result.holds.empty()) return Refuse(key.name + " cannot be kept: " + why);
      result.dropped = why;
    }
    if (!result.dropped.empty()) return notes_.push_back(key.name + " dropped: " + result.dropped);
    notes_.insert(notes_.end(), result.notes.begin(), result.notes.end());
    into.insert(into.end(), result.items.begin(), result.items.end());
    holds_.insert(holds_.end(), result.holds.begin(), result.holds.end());
    for (const Winapp2Hold& hold : result.holds) {
      if (hold.keepsDeeper) return deeperExcludes_.push_back(key.name);
    }
  }

  /// A DetectOS that admits Windows 10 changes nothing where Quillmere runs; one that does not leaves the
  /// entry nowhere to apply.
  void TakeDetectOS(const Winapp2Key& key) {
    const std::size_t bar = key.value.find('|');
    const std::string low = TrimWinapp2(std::string_view(key.value).substr(0, bar));
    const std::string high = bar == std::string::npos ? "" : TrimWinapp2(std::string_view(key.value).substr(bar + 1));
    const int from = low.empty() ? 0 : WindowsVersion(low);
    const int to = high.empty() ? kRunningWindows : WindowsVersion(high);
    if (bar == std::string::npos || from < 0 || to < 0) {
      notes_.push_back(key.name + "=" + key.value + " dropped: it is no version range");
    } else if (from > kRunningWindows || to < kRunningWindows) {
      Refuse(key.name + "=" + key.value + " leaves out Windows 10 and 11, the only Windows Quillmere runs on");
    }
  }

  /// A known SpecialDetect decides alone, as it does in CCleaner: its folder replaces the Detect keys.
  void TakeSpecialDetect(const Winapp2Key& key) {
    const std::string_view* folder = Lookup(kSpecialDetects, key.value);
    if (folder) {
      special_ = *folder;
    } else {
      notes_.push_back(key.name + "=" + key.value + " dropped: no folder is known for it");
    }
  }

  /// "*" spans folders in a hold, so a FILE exclude with a wildcard keeps more than winapp2 does wherever a
  /// FileTree item walks below its folder.
  void NoteDeeperHolds() {
    for (const Winapp2Item& item : cleaners_) {
      if (item.type != "FileTree") continue;
      for (const std::string& exclude : deeperExcludes_) {
        notes_.push_back(exclude + " also keeps matching files in deeper folders");
      }
      return;
    }
  }

  void Refuse(const std::string& why) {
    if (refusal_.empty()) refusal_ = why;
  }

  std::string Description() const {
    if (!warning_.empty()) return "Warning: " + warning_;
    return "From winapp2.ini" + (section_.empty() ? "" : ", section " + section_);
  }

  std::vector<std::string> Lines(const std::string& software) {
    std::vector<std::string> lines = {"[Config]", options_.plugins ? "Type:Plugins" : "Type:Customs",
                                      "Software:" + software, "Description:" + Description(),
                                      selected_ ? "Selected:1" : "Selected:0"};
    if (options_.plugins) lines.push_back("Version:1");
    for (const std::vector<Winapp2Item>* items : {&detects_, &cleaners_}) {
      for (const Winapp2Item& item : *items) lines.push_back(ItemLine(item));
    }
    return lines;
  }

  std::string ItemLine(const Winapp2Item& item) {
    const bool registry = item.type == "RegKey" || item.type == "RegValue";
    std::vector<std::string> holds;
    if (item.type != "Detect") {
      for (const Winapp2Hold& hold : holds_) {
        if (hold.registry == registry) holds.push_back(hold.pattern);
      }
    }
    std::string line = UniqueTitle(item.title) + "<>1<>" + (holds.empty() ? "0" : "1") + "<>" + item.type + "><" +
                       JoinedWith(item.seek, "<>");
    return holds.empty() ? line : line + "><" + JoinedWith(holds, "<>");
  }

  /// Saving finds items by title, so a repeated key name gets a number.
  std::string UniqueTitle(const std::string& title) {
    const int count = ++titles_[title];
    return count == 1 ? title : title + " (" + std::to_string(count) + ")";
  }

  const Winapp2Entry& entry_;
  const Winapp2Options& options_;
  std::vector<Winapp2Item> detects_;
  std::vector<Winapp2Item> cleaners_;
  std::vector<Winapp2Hold> holds_;
  std::vector<std::string> notes_;
  std::vector<std::string> deeperExcludes_;  ///< FILE excludes whose holds reach deeper than winapp2's
  std::string refusal_;
  std::string special_;
  std::string section_;
  std::string warning_;
  bool selected_ = true;
  int cleaningKeys_ = 0;  ///< FileKeys and RegKeys, mapped or dropped
  std::map<std::string, int> titles_;
};

}  // namespace

Winapp2Import ImportWinapp2(std::string_view text, const Winapp2Options& options) {
  Winapp2Import converted;
  std::map<std::string, int64_t> firstLines;
  for (const Winapp2Entry& entry : ReadWinapp2Entries(text)) {
    Winapp2EntryReport report{SoftwareName(entry.name), entry.line, Winapp2Mapping::Exact, {}};
    std::vector<std::string> lines = EntryMapper(entry, options).Map(report);
    // Configurations are found by name: only the first of a name is written.
    if (report.mapping != Winapp2Mapping::NotMapped) {
      const auto [first, added] = firstLines.emplace(report.name, entry.line);
      if (!added) {
        report.mapping = Winapp2Mapping::NotMapped;
        report.notes = {"an entry of the same name comes first, on line " + std::to_string(first->second)};
        lines.clear();
      }
    }
    converted.lines.insert(converted.lines.end(), lines.begin(), lines.end());
    converted.entries.push_back(std::move(report));
  }
  return converted;
}

std::string Winapp2MappingName(Winapp2Mapping mapping) {
  switch (mapping) {
    case Winapp2Mapping::Exact: return "exact";
    case Winapp2Mapping::Partly: return "partly";
    case Winapp2Mapping::NotMapped: return "not mapped";
  }
  return "";
}

}  // namespace qm
