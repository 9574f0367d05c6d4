#include "config/placeholders.h"

#include <array>
#include <exception>
#include <utility>

#include "platform/file_system.h"
#include "platform/registry_backend.h"
#include "platform/shell.h"
#include "registry/reg_key.h"

namespace qm {

namespace {

/// The current user's shell-folders key: it maps folder names such as "AppData" to paths.
constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

/// A source's answer up to its first NUL; "" when asking fails.
template <typename Ask>
std::string Answer(Ask&& ask) {
  try {
    std::string folder = ask();
    return folder.substr(0, folder.find('\0'));
  } catch (const std::exception&) {
    return "";
  }
}

/// The folder behind a token name (case-sensitive), or null when the name is no folder token.
const std::string* FolderOf(const std::string& token, const SpecialFolders& folders) {
  const std::array<std::pair<const char*, const std::string*>, 15> names = {{
      {"windowsdir", &folders.WindowsDir},
      {"systemdir", &folders.SystemDir},
      {"temporarydir", &folders.TemporaryDir},
      {"userprofiledir", &folders.UserProfileDir},
      {"appdatadir", &folders.AppDataDir},
      {"programfilesdir", &folders.ProgramFilesDir},
      {"roamingappdatadir", &folders.RoamingAppDataDir},
      {"locallowappdatadir", &folders.LocalLowAppDataDir},
      {"commonappdatadir", &folders.CommonAppDataDir},
      {"programfilesx86dir", &folders.ProgramFilesX86Dir},
      {"programfiles64dir", &folders.ProgramFiles64Dir},
      {"systemdrivedir", &folders.SystemDriveDir},
      {"publicdir", &folders.PublicDir},
      {"documentsdir", &folders.DocumentsDir},
      {"usertempdir", &folders.UserTempDir},
  }};
  for (const auto& [name, folder] : names) {
    if (token == name) return folder;
  }
  return nullptr;
}

/// Gives `folder` its fallback when the system had no answer.
void FallBack(std::string& folder, const std::string& fallback) {
  if (folder.empty()) folder = fallback;
}

/// Splits a token at every "<>".
std::vector<std::string> SplitToken(const std::string& token) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = token.find("<>", start)) != std::string::npos; start = at + 2) {
    parts.push_back(token.substr(start, at - start));
  }
  parts.push_back(token.substr(start));
  return parts;
}

/// What one token between two "%" stands for; false when the whole expansion must fail.
bool ExpandToken(const std::string& token, const SpecialFolders& folders, reg::RegistryBackend& registry,
                 std::string& result) {
  if (token.size() < 2) return true;
  if (const std::string* folder = FolderOf(token, folders)) {
    // An empty folder would leave a path below the file-system root ("\Temp"): fail instead.
    if (folder->empty()) return false;
    result += *folder;
    return true;
  }
  std::vector<std::string> parts = SplitToken(token);
  if (parts.size() != 3) return true;
  RegKey key(registry);
  std::optional<RegValue> value = key.GetRegValue(parts[2], RegKey::TransRootKey(parts[0]), parts[1]);
  // A missing value reads as type 0; a value that displays as "" would leave a rooted path just the same.
  if (!value || value->ValueType == reg::kNone) return false;
  std::string data = value->ValueDataString();
  if (data.empty()) return false;
  result += data;
  return true;
}

}  // namespace

SpecialFolderSources SpecialFolderSources::System(reg::RegistryBackend& registry) {
  SpecialFolderSources sources;
  sources.shellFolder = [](int csidl) { return shell::SpecialFolderPath(csidl); };
  sources.namedFolder = [](shell::NamedFolder folder) { return shell::NamedFolderPath(folder); };
  sources.registryAppData = [&registry] {
    RegKey key(registry);
    std::optional<RegValue> value = key.GetRegValue("AppData", reg::kCurrentUser, kShellFoldersKey);
    return value ? value->ValueDataString() : std::string();
  };
  sources.fileSystemFolder = [](int which) { return FileSystem().GetSpecialFolder(which); };
  return sources;
}

void InitSpecialFolders(SpecialFolders& folders, const SpecialFolderSources& sources) {
  const auto shellFolder = [&](int csidl) { return Answer([&] { return sources.shellFolder(csidl); }); };
  const auto namedFolder = [&](shell::NamedFolder name) { return Answer([&] { return sources.namedFolder(name); }); };
  folders.UserProfileDir = shellFolder(shell::kCsidlProfile);
  folders.ProgramFilesDir = shellFolder(shell::kCsidlProgramFiles);
  folders.AppDataDir = shellFolder(shell::kCsidlLocalAppData);
  folders.RoamingAppDataDir = shellFolder(shell::kCsidlRoamingAppData);
  folders.LocalLowAppDataDir = namedFolder(shell::NamedFolder::LocalAppDataLow);
  folders.CommonAppDataDir = shellFolder(shell::kCsidlCommonAppData);
  folders.ProgramFilesX86Dir = shellFolder(shell::kCsidlProgramFilesX86);
  folders.ProgramFiles64Dir = namedFolder(shell::NamedFolder::ProgramFiles64);
  folders.PublicDir = namedFolder(shell::NamedFolder::Public);
  folders.DocumentsDir = shellFolder(shell::kCsidlDocuments);
  folders.UserTempDir = namedFolder(shell::NamedFolder::UserTemp);

  if (folders.UserProfileDir.empty() || folders.AppDataDir.empty()) {
    std::string registryAppData = Answer([&] { return sources.registryAppData(); });
    if (folders.AppDataDir.empty()) folders.AppDataDir = registryAppData;
    size_t lastSeparator = folders.AppDataDir.find_last_of("\\/");
    if (folders.UserProfileDir.empty() && lastSeparator != std::string::npos) {
      folders.UserProfileDir = folders.AppDataDir.substr(0, lastSeparator);
    }
  }

  folders.WindowsDir = Answer([&] { return sources.fileSystemFolder(0); });
  folders.SystemDir = Answer([&] { return sources.fileSystemFolder(1); });
  folders.TemporaryDir = Answer([&] { return sources.fileSystemFolder(2); });
  folders.SystemDriveDir = folders.WindowsDir.substr(0, 2);

  // The fallbacks are Windows paths: without a Windows folder (Linux) they stay empty, as "\ProGRam Files"
  // alone would name a folder below the file-system root and "/home/ann\AppData\LocalLow" no folder at all.
  // With one, every folder they are built on is set by then, the first six before the nine built on them.
  if (folders.WindowsDir.empty()) return;
  FallBack(folders.ProgramFilesDir, folders.SystemDriveDir + "\\ProGRam Files");
  FallBack(folders.UserProfileDir, folders.WindowsDir);
  FallBack(folders.AppDataDir, folders.WindowsDir + "\\AppLIcation Data");
  FallBack(folders.RoamingAppDataDir, folders.UserProfileDir + "\\AppData\\Roaming");
  FallBack(folders.LocalLowAppDataDir, folders.UserProfileDir + "\\AppData\\LocalLow");
  FallBack(folders.CommonAppDataDir, folders.SystemDriveDir + "\\ProgramData");
  FallBack(folders.ProgramFilesX86Dir, folders.ProgramFilesDir);
  FallBack(folders.ProgramFiles64Dir, folders.ProgramFilesDir);
  FallBack(folders.PublicDir, folders.SystemDriveDir + "\\Users\\Public");
  FallBack(folders.DocumentsDir, folders.UserProfileDir + "\\Documents");
  FallBack(folders.UserTempDir, folders.AppDataDir + "\\Temp");
}

std::string ExpandPlaceholders(const std::string& s, const SpecialFolders& folders, reg::RegistryBackend& registry) {
  std::string result;
  std::string token;
  bool inToken = false;
  for (char c : s) {
    if (c != '%') {
      (inToken ? token : result).push_back(c);
      continue;
    }
    if (!inToken) {
      inToken = true;
      token.clear();
      continue;
    }
    inToken = false;
    if (!ExpandToken(token, folders, registry, result)) return "";
  }
  // Text after a "%" that is never closed is dropped.
  return result;
}

}  // namespace qm
