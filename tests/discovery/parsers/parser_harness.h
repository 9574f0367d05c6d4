#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "clean/file_trace_erase.h"
#include "config/privacy_item.h"
#include "config/stop_requested.h"
#include "discovery/customize_parse.h"
#include "platform/file_system.h"

namespace qm::testing {

/// A fresh folder for one test, removed afterwards. Under Wine it lies on Z: (the Linux root), so that
/// Linux symbolic links can be made in it.
class ParserScratch {
 public:
  ParserScratch() {
    static const uint64_t run = std::random_device{}();
    static std::atomic<int> serial{0};
    const std::filesystem::path root = FileSystem::Separator() == '\\'
                                           ? std::filesystem::path("Z:\\tmp")
                                           : std::filesystem::temp_directory_path();
    path_ = root / ("qm-parse-" + std::to_string(run) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ParserScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ParserScratch(const ParserScratch&) = delete;
  ParserScratch& operator=(const ParserScratch&) = delete;

  /// A path inside the folder; "/" in `name` separates folders on both builds.
  std::string Path(const std::string& name = "") const {
    return (name.empty() ? path_ : path_ / std::filesystem::path(name).make_preferred()).string();
  }
  /// Makes the folders of `name` and writes `bytes` into it; returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = Path(name);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }
  std::string Folder(const std::string& name) const {
    std::filesystem::create_directories(Path(name));
    return Path(name);
  }

 private:
  std::filesystem::path path_;
};

inline bool Exists(const std::string& path) {
  return std::filesystem::exists(std::filesystem::symlink_status(path));
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Makes a symbolic link `link` to `target` (a folder when `toFolder`). The Windows build runs under Wine,
/// whose runtime makes no links: there the Linux "ln" makes one on the Z: path, which Windows code then sees
/// as a reparse point (a link to a folder; Wine shows a link to a file as a plain file). Returns whether the
/// link was made.
inline bool MakeLink(const std::string& target, const std::string& link, bool toFolder) {
  if (FileSystem::Separator() == '\\') {
    auto unixPath = [](std::string path) {
      if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
      for (char& c : path) c = c == '\\' ? '/' : c;
      return path;
    };
    const std::string command = "start /wait /unix /bin/ln -s " + unixPath(target) + " " + unixPath(link);
    return std::system(command.c_str()) == 0;
  }
  std::error_code error;
  if (toFolder) {
    std::filesystem::create_directory_symlink(target, link, error);
  } else {
    std::filesystem::create_symlink(target, link, error);
  }
  return !error;
}

/// Calls the parsers of one CustomizeParse object the way item discovery does and records what they report.
class ParserHarness : public AppendValueListener {
 public:
  /// Parsers working on `places` for the user `user`, erasing files with two overwrite passes.
  explicit ParserHarness(RecycleBinPlaces places = {}, std::string user = "S-1-5-21-0-0-0-1000") {
    ParserEnvironment environment;
    environment.RecycleBins = [places] { return places; };
    environment.CurrentUser = [user] { return user; };
    environment.EraseFile = [](PrivacyValue& pv) { EraseFileTrace(pv, FillRule::kAlways, 2); };
    environment.AppendString = [this](const std::string& line) { logLines.push_back(line); };
    parse = std::make_shared<CustomizeParse>(environment);
    RegisterCustomizeParse(table, parse);
    parse->Subscribe(this);
    item = std::make_shared<PrivacyItem>();
    item->Title = "Item";
    item->ItemType = item_types::kCustomize;
  }
  ~ParserHarness() {
    parse->Unsubscribe(this);
    StopRequested = false;
  }

  /// Calls the parser `name` with the clear flag and the seek settings S2, S3 ... through the table.
  std::shared_ptr<PrivacyValues> Call(const std::string& name, bool clear,
                                      std::vector<std::string> settings = {}) {
    reported.clear();
    const CustomizeParser* parser = table.Find(name);
    if (!parser) return nullptr;
    return (*parser)(ParserCall{*item, clear, std::move(settings)});
  }

  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override {
    reported.push_back(Describe(pv));
    sameItem = sameItem && &pi == item.get();
  }

  /// "kind status path" of a trace.
  static std::string Describe(const PrivacyValue& pv) {
    return std::to_string(pv.ValueType) + " " + std::to_string(pv.ValueStatus) + " " + pv.Path;
  }
  static std::vector<std::string> Describe(const PrivacyValues& values) {
    std::vector<std::string> out;
    for (const auto& pv : values) out.push_back(Describe(*pv));
    return out;
  }

  std::shared_ptr<CustomizeParse> parse;
  CustomizeParsers table;
  std::shared_ptr<PrivacyItem> item;
  std::vector<std::string> reported;  ///< "kind status path" per AppendValue, status as at the report
  std::vector<std::string> logLines;
  bool sameItem = true;
};

}  // namespace qm::testing
