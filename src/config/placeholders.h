#pragma once

#include <functional>
#include <string>

#include "platform/registry_backend.h"
#include "platform/shell.h"

namespace qm {

/// The folders behind the path placeholders, filled once by InitSpecialFolders; no trailing separator. An empty
/// folder is one this system does not have (on Linux every Windows-only place).
struct SpecialFolders {
  std::string UserProfileDir;
  std::string AppDataDir;  ///< the LOCAL application data
  std::string WindowsDir;
  std::string SystemDir;
  std::string TemporaryDir;
  std::string ProgramFilesDir;
  std::string RoamingAppDataDir;   ///< AppData\Roaming; Linux: $XDG_CONFIG_HOME or ~/.config
  std::string LocalLowAppDataDir;  ///< AppData\LocalLow; Linux: ""
  std::string CommonAppDataDir;    ///< ProgramData; Linux: ""
  std::string ProgramFilesX86Dir;  ///< Linux: ""
  std::string ProgramFiles64Dir;   ///< Linux: ""
  std::string SystemDriveDir;      ///< the Windows folder's drive, "C:"; Linux: ""
  std::string PublicDir;           ///< C:\Users\Public; Linux: ""
  std::string DocumentsDir;        ///< Linux: $XDG_DOCUMENTS_DIR or ~/Documents
  std::string UserTempDir;         ///< AppData\Local\Temp; Linux: the same as TemporaryDir
};

/// Where InitSpecialFolders gets its answers; the defaults ask the shell, the registry and the file-system
/// service. Tests replace them to reach every fallback.
struct SpecialFolderSources {
  std::function<std::string(int csidl)> shellFolder;           ///< "" when the shell has none
  std::function<std::string(shell::NamedFolder)> namedFolder;  ///< "" when the system has none
  std::function<std::string()> registryAppData;                ///< the "AppData" shell-folders value, "" when missing
  std::function<std::string(int which)> fileSystemFolder;      ///< GetSpecialFolder(0, 1, 2)
  /// The system's answers; the shell-folders value is read from `registry`, which must outlive the sources.
  static SpecialFolderSources System(reg::RegistryBackend& registry);
};

/// Fills `folders` from `sources` in their order of preference, with the fallback texts.
void InitSpecialFolders(SpecialFolders& folders, const SpecialFolderSources& sources);

/// Expands %token% placeholders (folder names, and root<>key<>value registry tokens read from `registry`) in
/// a seek-settings text. Returns "" when a registry token names a missing value or a folder token's folder is
/// empty, so the caller marks the item irregular.
std::string ExpandPlaceholders(const std::string& s, const SpecialFolders& folders, reg::RegistryBackend& registry);

}  // namespace qm
