#pragma once

#include <windows.h>

#include <string>

namespace qm::ui {

/// The maker's web site, which About links to.
inline constexpr char kWebsiteAddress[] = "https://www.dunvorel.com/quillmere";

/// "Version " + major.minor.revision of this program's version resource, each a plain number ("" when the
/// program has none).
std::string VersionText();

/// Shows the About window modally, owned by `owner`.
void ShowAboutDialog(HWND owner);

}  // namespace qm::ui
