#pragma once

#include <optional>
#include <string>

#include "platform/registry_backend.h"
#include "settings/system_settings.h"

namespace qm::ui {

/// The browser's "Start Page" and "Window Title" under HKEY_CURRENT_USER "Software\Microsoft\Internet
/// Explorer\Main"; a missing value, or a missing key, reads as "".
struct BrowserPages {
  std::string StartPage;
  std::string WindowTitle;
};
BrowserPages ReadBrowserPages(reg::RegistryBackend& registry);

/// The monitor's question when the browser's values differ from the stored ones (exact comparison), the
/// five lines joined by CR LF; nothing when they are equal.
std::optional<std::string> MonitorQuestion(const SystemSettings& settings, const BrowserPages& current);

/// "Yes": the stored start page written back; the stored window title written back, or the browser's value
/// deleted when the stored title is blank. Registry failures raise.
void RecoverBrowserPages(reg::RegistryBackend& registry, const SystemSettings& settings);

/// "No": the settings take the current values, which are written to the settings key (made when missing, see
/// SaveSystemSetting). Registry failures raise.
void AdoptBrowserPages(reg::RegistryBackend& registry, SystemSettings& settings, const BrowserPages& current,
                       const SettingsRoots& roots = SettingsRoots{});

}  // namespace qm::ui
