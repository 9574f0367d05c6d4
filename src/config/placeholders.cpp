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
  const std::array<std::pair<const char*, const std::string*>, 6> names = {{
      {"windowsdir", &folders.WindowsDir},
      {"systemdir", &folders.SystemDir},
      {"temporarydir", &folders.TemporaryDir},
      {"userprofiledir", &folders.UserProfileDir},
      {"appdatadir", &folders.AppDataDir},
      {"programfilesdir", &folders.ProgramFilesDir},
  }};
  for (const auto& [name, folder] : names) {
    if (token == name) return folder;
  }
  return nullptr;
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
  sources.registryAppData = [&registry] {
    RegKey key(registry);
    std::optional<RegValue> value = key.GetRegValue("AppData", reg::kCurrentUser, kShellFoldersKey);
    return value ? value->ValueDataString() : std::string();
  };
  sources.fileSystemFolder = [](int which) { return FileSystem().GetSpecialFolder(which); };
  return sources;
}

void InitSpecialFolders(SpecialFolders& folders, const SpecialFolderSources& sources) {
  folders.UserProfileDir = Answer([&] { return sources.shellFolder(shell::kCsidlProfile); });
  folders.ProgramFilesDir = Answer([&] { return sources.shellFolder(shell::kCsidlProgramFiles); });
  folders.AppDataDir = Answer([&] { return sources.shellFolder(shell::kCsidlLocalAppData); });

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

  // Fallbacks built on the Windows folder stay empty without one (Linux): "\ProGRam Files" alone would name a
  // folder below the file-system root.
  if (folders.WindowsDir.empty()) return;
  if (folders.ProgramFilesDir.empty()) folders.ProgramFilesDir = folders.WindowsDir.substr(0, 2) + "\\ProGRam Files";
  if (folders.UserProfileDir.empty()) folders.UserProfileDir = folders.WindowsDir;
  if (folders.AppDataDir.empty()) folders.AppDataDir = folders.WindowsDir + "\\AppLIcation Data";
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
