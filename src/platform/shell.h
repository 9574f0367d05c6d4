#pragma once

#include <string>
#include <vector>

namespace qm::shell {

/// Shell folder numbers the program asks for.
inline constexpr int kCsidlDocuments = 5;
inline constexpr int kCsidlRoamingAppData = 26;
inline constexpr int kCsidlLocalAppData = 28;
inline constexpr int kCsidlCommonAppData = 35;
inline constexpr int kCsidlProgramFiles = 38;
inline constexpr int kCsidlProfile = 40;
inline constexpr int kCsidlProgramFilesX86 = 42;

/// The shell's folder of that number without a trailing separator, or "" when the shell has none. On
/// Linux: 40 is $HOME, 28 is $XDG_DATA_HOME (or ~/.local/share), 26 is $XDG_CONFIG_HOME (or ~/.config), 5 is
/// $XDG_DOCUMENTS_DIR (or ~/Documents); 35, 38 and 42 are "" (Linux has no such place). A relative XDG
/// variable is ignored, as the XDG rules say.
std::string SpecialFolderPath(int csidl);

/// Folders that have no shell folder number, or whose place differs by platform.
enum class NamedFolder {
  LocalAppDataLow,  ///< the known folder LocalAppDataLow (AppData\LocalLow); Linux: ""
  Public,           ///< the known folder Public (C:\Users\Public); Linux: ""
  ProgramFiles64,   ///< $ProgramW6432, the 64-bit program files, set by every 64-bit Windows; Linux: ""
  UserTemp,         ///< the local application-data folder + "\Temp"; Linux: the temporary folder ($TMPDIR or /tmp)
};

/// That folder without a trailing separator, or "" when the system has none.
std::string NamedFolderPath(NamedFolder folder);

/// The user's and the system's well-known folders, which a cleaner must never empty: the profile and its
/// standard folders (Documents, Desktop, Downloads, pictures, music, videos), application data (roaming and
/// local), the shared application data, the folder of all profiles, Windows, system and program files; on
/// Linux $HOME and its standard folders, the XDG data, configuration and documents folders, /home and the system's
/// top-level folders. Folders the system does not have are left out.
std::vector<std::string> WellKnownFolders();

/// The current user as text: the SID ("S-1-5-21-...") on Windows, the user name on Linux.
std::string CurrentUserText();

/// The folder that holds the running program, without a trailing separator.
std::string ProgramFolder();

/// The program's version, "major.minor.patch".
std::string ProgramVersion();

}  // namespace qm::shell
