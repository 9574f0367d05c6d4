#include "ui/model/start_page_monitor.h"

#include <iterator>

#include "config/settings_string.h"
#include "registry/reg_key.h"

namespace qm::ui {

namespace {

constexpr char kStartPageValue[] = "Start Page";
constexpr char kWindowTitleValue[] = "Window Title";

RegKey BrowserMainKey(reg::RegistryBackend& registry) {
  return RegKey(registry, reg::kCurrentUser, kBrowserMainKeyPath);
}

/// A value's text; "" for a missing value, and for a missing key, whose values nobody can have changed.
std::string ReadText(RegKey& key, const std::string& name) {
  std::optional<RegValue> value = key.GetRegValue(name);
  return value ? value->ValueDataString() : "";
}

std::string PagesText(const std::string& startPage, const std::string& windowTitle) {
  return "Start Page is \"" + startPage + "\", Window Title is \"" + windowTitle + "\"";
}

}  // namespace

BrowserPages ReadBrowserPages(reg::RegistryBackend& registry) {
  RegKey main = BrowserMainKey(registry);
  return {ReadText(main, kStartPageValue), ReadText(main, kWindowTitleValue)};
}

std::optional<std::string> MonitorQuestion(const SystemSettings& settings, const BrowserPages& current) {
  if (current.StartPage == settings.StartPage && current.WindowTitle == settings.WindowTitle) return std::nullopt;
  const std::string lines[] = {
      "Internet Explorer Start Page and Window Title have been changed!",
      "Original Values: " + PagesText(settings.StartPage, settings.WindowTitle),
      "Current Values: " + PagesText(current.StartPage, current.WindowTitle),
      "",
      "\"Yes\" to recover to the original values, \"No\" to update to the current values.",
  };
  std::string question = lines[0];
  for (std::size_t i = 1; i < std::size(lines); ++i) question += "\r\n" + lines[i];
  return question;
}

void RecoverBrowserPages(reg::RegistryBackend& registry, const SystemSettings& settings) {
  RegKey main = BrowserMainKey(registry);
  main.SetRegValue(kStartPageValue, reg::kSz, settings.StartPage);
  if (TrimBlanks(settings.WindowTitle).empty()) {
    main.DeleteRegValue(kWindowTitleValue);
  } else {
    main.SetRegValue(kWindowTitleValue, reg::kSz, settings.WindowTitle);
  }
}

void AdoptBrowserPages(reg::RegistryBackend& registry, SystemSettings& settings, const BrowserPages& current,
                       const SettingsRoots& roots) {
  settings.StartPage = current.StartPage;
  settings.WindowTitle = current.WindowTitle;
  SaveSystemSetting(registry, settings, setting_names::kStartPage, roots);
  SaveSystemSetting(registry, settings, setting_names::kWindowTitle, roots);
}

}  // namespace qm::ui
