#include <windows.h>
#include <sddl.h>
#include <shlobj.h>
#include <userenv.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"
#include "platform/text_win32.h"

namespace qm::shell {

static_assert(kCsidlDocuments == CSIDL_PERSONAL && kCsidlRoamingAppData == CSIDL_APPDATA &&
              kCsidlLocalAppData == CSIDL_LOCAL_APPDATA && kCsidlCommonAppData == CSIDL_COMMON_APPDATA &&
              kCsidlProgramFiles == CSIDL_PROGRAM_FILES && kCsidlProfile == CSIDL_PROFILE &&
              kCsidlProgramFilesX86 == CSIDL_PROGRAM_FILESX86);

namespace {

std::string WithoutTrailingSeparator(std::wstring_view path) {
  std::string folder = text::Narrow(path);
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string KnownFolderPath(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = WithoutTrailingSeparator(path);
  CoTaskMemFree(path);
  return folder;
}

std::string EnvironmentFolder(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return "";
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
  // A length that no longer fits means the variable changed in between: take it as missing.
  if (length == 0 || length >= size) return "";
  return WithoutTrailingSeparator(std::wstring_view(value.data(), length));
}

}  // namespace

std::string SpecialFolderPath(int csidl) {
  wchar_t path[MAX_PATH + 1] = L"";
  if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return "";
  return WithoutTrailingSeparator(path);
}

std::string NamedFolderPath(NamedFolder folder) {
  switch (folder) {
    case NamedFolder::LocalAppDataLow: return KnownFolderPath(FOLDERID_LocalAppDataLow);
    case NamedFolder::Public: return KnownFolderPath(FOLDERID_Public);
    case NamedFolder::ProgramFiles64: return EnvironmentFolder(L"ProgramW6432");
    case NamedFolder::UserTemp: {
      const std::string local = SpecialFolderPath(CSIDL_LOCAL_APPDATA);
      return local.empty() ? "" : local + "\\Temp";
    }
  }
  return "";
}

std::vector<std::string> WellKnownFolders() {
  std::vector<std::string> folders;
  for (int csidl : {CSIDL_PROFILE, CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_MYPICTURES, CSIDL_MYMUSIC,
                    CSIDL_MYVIDEO, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_COMMON_DOCUMENTS,
                    CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
                    CSIDL_PROGRAM_FILES_COMMON}) {
    if (std::string folder = SpecialFolderPath(csidl); !folder.empty()) folders.push_back(std::move(folder));
  }
  if (std::string downloads = KnownFolderPath(FOLDERID_Downloads); !downloads.empty()) {
    folders.push_back(std::move(downloads));
  }
  std::wstring profiles(MAX_PATH, L'\0');
  DWORD length = static_cast<DWORD>(profiles.size());
  if (GetProfilesDirectoryW(profiles.data(), &length)) folders.push_back(text::Narrow(profiles.c_str()));
  return folders;
}

std::string CurrentUserText() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "";
  DWORD needed = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
  std::vector<unsigned char> buffer(needed);
  std::string sid;
  if (needed > 0 && GetTokenInformation(token, TokenUser, buffer.data(), needed, &needed)) {
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    wchar_t* text = nullptr;
    if (ConvertSidToStringSidW(user->User.Sid, &text)) {
      sid = text::Narrow(text);
      LocalFree(text);
    }
  }
  CloseHandle(token);
  return sid;
}

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return "";
    // A full buffer means the name may have been cut: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return text::Narrow(slash == std::wstring::npos ? path : path.substr(0, slash));
}

std::string ProgramVersion() { return QM_VERSION; }

}  // namespace qm::shell
