#pragma once

#include <string>
#include <vector>

namespace qm::shell {

/// Shell folder numbers the program asks for.
inline constexpr int kCsidlLocalAppData = 28;
inline constexpr int kCsidlProgramFiles = 38;
inline constexpr int kCsidlProfile = 40;

/// The shell's folder of that number without a trailing separator, or "" when the shell has none. On
/// Linux: 40 is $HOME, 28 is $XDG_DATA_HOME (or ~/.local/share), 38 is "".
std::string SpecialFolderPath(int csidl);

/// The user's and the system's well-known folders, which a cleaner must never empty: the profile and its
/// standard folders (Documents, Desktop, Downloads, pictures, music, videos), application data (roaming and
/// local), the shared application data, the folder of all profiles, Windows, system and program files; on
/// Linux $HOME and its standard folders, the XDG data and configuration folders, /home and the system's
/// top-level folders. Folders the system does not have are left out.
std::vector<std::string> WellKnownFolders();

/// The current user as text: the SID ("S-1-5-21-...") on Windows, the user name on Linux.
std::string CurrentUserText();

/// The folder that holds the running program, without a trailing separator.
std::string ProgramFolder();

/// The program's version, "major.minor.patch".
std::string ProgramVersion();

}  // namespace qm::shell
