#pragma once

#include <functional>
#include <string>

#include "platform/registry_backend.h"

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

/// Where InitSpecialFolders gets its answers; the defaults ask the shell, the registry and the file-system
/// service. Tests replace them to reach every fallback.
struct SpecialFolderSources {
  std::function<std::string(int csidl)> shellFolder;       ///< "" when the shell has none
  std::function<std::string()> registryAppData;            ///< the "AppData" shell-folders value, "" when missing
  std::function<std::string(int which)> fileSystemFolder;  ///< GetSpecialFolder(0, 1, 2)
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
