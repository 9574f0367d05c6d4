#pragma once

#include <functional>
#include <string>

namespace qm {

/// The six folders behind the path placeholders, filled once by InitSpecialFolders; no trailing separator.
struct SpecialFolders {
  std::string UserProfileDir;
  std::string AppDataDir;
  std::string WindowsDir;
  std::string SystemDir;
  std::string TemporaryDir;
  std::string ProgramFilesDir;
};

/// The program's one set of placeholder folders.
SpecialFolders& PlaceholderFolders();

/// Where InitSpecialFolders gets its answers; the defaults ask the shell, the registry and the file-system
/// service. Tests replace them to reach every fallback.
struct SpecialFolderSources {
  std::function<std::string(int csidl)> shellFolder;         ///< "" when the shell has none
  std::function<std::string()> registryAppData;              ///< the "AppData" shell-folders value, "" when missing
  std::function<std::string(int which)> fileSystemFolder;    ///< GetSpecialFolder(0, 1, 2)
  static SpecialFolderSources System();
};

/// Fills `folders` from `sources` in their order of preference, with the fallback texts.
void InitSpecialFolders(SpecialFolders& folders, const SpecialFolderSources& sources);
/// Fills the program's placeholder folders from the system.
void InitSpecialFolders();

/// Expands %token% placeholders (folder names and root<>key<>value registry tokens) in a seek-settings text.
/// Returns "" when a registry token names a missing value or a folder token's folder is empty, so the caller
/// marks the item irregular.
std::string ExpandPlaceholders(const std::string& s, const SpecialFolders& folders);
std::string ExpandPlaceholders(const std::string& s);

}  // namespace qm
