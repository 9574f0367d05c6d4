#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/shell.h"

namespace qm::shell {

namespace {

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty()) {
    // No $HOME (a service, a cleared environment): the account's own entry says where it is.
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
      home = entry->pw_dir;
  }
  return WithoutTrailingSlash(home);
}

/// The XDG folder `variable` names when it is absolute (the XDG rules ignore a relative one), else `belowHome`
/// in the home folder; "" without a home.
std::string XdgFolder(const char* variable, const char* belowHome) {
  const std::string folder = Environment(variable);
  if (!folder.empty() && folder.front() == '/') return WithoutTrailingSlash(folder);
  const std::string home = HomeFolder();
  return home.empty() ? "" : home + "/" + belowHome;
}

}  // namespace

std::string SpecialFolderPath(int csidl) {
  switch (csidl) {
    case kCsidlProfile: return HomeFolder();
    case kCsidlLocalAppData: return XdgFolder("XDG_DATA_HOME", ".local/share");
    case kCsidlRoamingAppData: return XdgFolder("XDG_CONFIG_HOME", ".config");
    case kCsidlDocuments: return XdgFolder("XDG_DOCUMENTS_DIR", "Documents");
    default: return "";
  }
}

std::string NamedFolderPath(NamedFolder folder) {
  // The user's own temporary folder is the one temporary folder; the other names are Windows-only places.
  return folder == NamedFolder::UserTemp ? FileSystem().GetSpecialFolder(2) : "";
}

std::vector<std::string> WellKnownFolders() {
  std::vector<std::string> folders = {"/home", "/root", "/usr",  "/etc", "/var",   "/opt", "/srv",
                                      "/boot", "/bin",  "/sbin", "/lib", "/lib64", "/mnt", "/media"};
  const std::string home = HomeFolder();
  if (!home.empty()) {
    folders.push_back(home);
    for (const char* name :
         {"Documents", "Desktop", "Downloads", "Pictures", "Music", "Videos", ".config", ".local", ".local/share"}) {
      folders.push_back(home + "/" + name);
    }
  }
  for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR"}) {
    const std::string folder = Environment(variable);
    if (!folder.empty() && folder.front() == '/') folders.push_back(WithoutTrailingSlash(folder));
  }
  return folders;
}

std::string CurrentUserText() {
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name != nullptr)
    return entry->pw_name;
  return std::to_string(::getuid());
}

std::string ProgramFolder() {
  std::vector<char> buffer(4096);
  while (true) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "";
    if (static_cast<size_t>(length) < buffer.size()) {
      const std::string program(buffer.data(), static_cast<size_t>(length));
      const size_t slash = program.find_last_of('/');
      return slash == 0 ? "/" : program.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramVersion() { return QM_VERSION; }

}  // namespace qm::shell
