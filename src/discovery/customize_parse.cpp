#include "discovery/customize_parse.h"

#include <utility>

#include "clean/file_trace_erase.h"
#include "clean/privacy_log.h"
#include "discovery/parsers/ie_auto_complete.h"
#include "discovery/parsers/mozilla_address_history.h"
#include "discovery/parsers/mozilla_files.h"
#include "platform/error.h"
#include "registry/auto_complete.h"
#include "settings/system_settings.h"

namespace qm {

namespace {

/// Position 2 of the argument array: the folder that holds the Mozilla profiles.
constexpr std::size_t kProfilesFolder = 2;

}  // namespace

ParserEnvironment ParserEnvironment::System() {
  ParserEnvironment environment;
  environment.RecycleBins = RecycleBinPlaces::System;
  environment.CurrentUser = GetCurrentUserSid;
  environment.EraseFile = [](PrivacyValue& pv) {
    EraseFileTrace(pv, FillRule::kAlways, Settings().SecurityFillTimes);
  };
  environment.AppendString = [](const std::string& line) { ThePrivacyLog().AppendString(line); };
  return environment;
}

CustomizeParse::CustomizeParse(ParserEnvironment environment) : environment_(std::move(environment)) {}

std::shared_ptr<PrivacyValues> CustomizeParse::Run(const ParserCall& vArgs,
                                                   const std::function<void(ParseRun&)>& body) {
  ParseRun run{vArgs.Item,
               vArgs.ClearValue,
               std::make_shared<PrivacyValues>(),
               [this](PrivacyItem& pi, PrivacyValue& pv) {
                 Raise([&](AppendValueListener& listener) { listener.AppendValue(pi, pv); });
               },
               environment_.EraseFile,
               environment_.AppendString};
  try {
    body(run);
  } catch (const RuntimeError&) {
    // The traces found (and maybe erased) until the failure are still this call's result.
  }
  return run.Values;
}

std::shared_ptr<PrivacyValues> CustomizeParse::ParseRecycleBin(const ParserCall& vArgs) {
  return Run(vArgs, [&](ParseRun& run) {
    const std::string user = environment_.CurrentUser ? environment_.CurrentUser() : std::string();
    qm::ParseRecycleBin(run, environment_.RecycleBins ? environment_.RecycleBins() : RecycleBinPlaces{},
                        user);
  });
}

std::shared_ptr<PrivacyValues> CustomizeParse::ParseIEAutoComplete(const ParserCall& vArgs) {
  return Run(vArgs, [&](ParseRun& run) {
    qm::ParseIEAutoComplete(run, environment_.CurrentUser ? environment_.CurrentUser() : std::string());
  });
}

std::shared_ptr<PrivacyValues> CustomizeParse::ParseMozillaAddressHistory(const ParserCall& vArgs) {
  return Run(vArgs, [&](ParseRun& run) { qm::ParseMozillaAddressHistory(run, vArgs.Text(kProfilesFolder)); });
}

std::shared_ptr<PrivacyValues> CustomizeParse::ParseMozillaHistoryFile(const ParserCall& vArgs) {
  return Run(vArgs, [&](ParseRun& run) { qm::ParseMozillaHistoryFile(run, vArgs.Text(kProfilesFolder)); });
}

std::shared_ptr<PrivacyValues> CustomizeParse::ParseMozillaCacheFiles(const ParserCall& vArgs) {
  return Run(vArgs, [&](ParseRun& run) { qm::ParseMozillaCacheFiles(run, vArgs.Text(kProfilesFolder)); });
}

std::shared_ptr<PrivacyValues> CustomizeParse::ParseMozillaCookies(const ParserCall& vArgs) {
  return Run(vArgs, [&](ParseRun& run) { qm::ParseMozillaCookies(run, vArgs.Text(kProfilesFolder)); });
}

std::shared_ptr<CustomizeParse> TheCustomizeParse() {
  static const std::shared_ptr<CustomizeParse> parse = std::make_shared<CustomizeParse>();
  return parse;
}

void RegisterCustomizeParse(CustomizeParsers& table, const std::shared_ptr<CustomizeParse>& parse) {
  using Method = std::shared_ptr<PrivacyValues> (CustomizeParse::*)(const ParserCall&);
  const std::pair<const char*, Method> methods[] = {
      {"ParseRecycleBin", &CustomizeParse::ParseRecycleBin},
      {"ParseIEAutoComplete", &CustomizeParse::ParseIEAutoComplete},
      {"ParseMozillaAddressHistory", &CustomizeParse::ParseMozillaAddressHistory},
      {"ParseMozillaHistoryFile", &CustomizeParse::ParseMozillaHistoryFile},
      {"ParseMozillaCacheFiles", &CustomizeParse::ParseMozillaCacheFiles},
      {"ParseMozillaCookies", &CustomizeParse::ParseMozillaCookies},
  };
  for (const auto& [name, method] : methods) {
    table.Register(name, [parse, method](const ParserCall& call) { return ((*parse).*method)(call); });
  }
  table.Events = parse;
}

}  // namespace qm
