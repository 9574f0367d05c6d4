#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "clean/file_trace_erase.h"
#include "clean/scratch_folder.h"
#include "config/privacy_item.h"
#include "config/stop_requested.h"
#include "discovery/customize_parse.h"
#include "platform/file_system.h"
#include "support/trace_text.h"

namespace qm::testing {

/// True when anything, a dangling link too, is at `path`.
inline bool Exists(const std::string& path) {
  return std::filesystem::exists(std::filesystem::symlink_status(path));
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
    reported.push_back(test::TraceText(pv));
    sameItem = sameItem && &pi == item.get();
  }

  std::shared_ptr<CustomizeParse> parse;
  CustomizeParsers table;
  std::shared_ptr<PrivacyItem> item;
  std::vector<std::string> reported;  ///< "kind status path" per AppendValue, status as at the report
  std::vector<std::string> logLines;
  bool sameItem = true;
};

}  // namespace qm::testing
