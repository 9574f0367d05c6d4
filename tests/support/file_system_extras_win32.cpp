#include <windows.h>

#include <string>

#include "platform/text.h"
#include "support/file_system_extras.h"

namespace qm::testing {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string wide = text::Utf8ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

/// The Linux path of a Windows path, through Wine's own conversion; "" outside Wine.
std::string UnixPath(const std::string& path) {
  using Convert = char* (*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return "";
  char* unix = convert(Wide(path).c_str());
  if (!unix) return "";
  std::string result(unix);
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return result;
}

}  // namespace

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  const std::string unixTarget = UnixPath(target);
  const std::string unixLink = UnixPath(link);
  if (unixTarget.empty() || unixLink.empty()) return false;
  // Wine starts Linux programs too: ln makes a link that Windows code sees as a reparse point.
  std::wstring command = L"Z:\\bin\\ln -s \"" + Wide(unixTarget) + L"\" \"" + Wide(unixLink) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return false;
  }
  ::WaitForSingleObject(process.hProcess, 10000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  // The wait may end before the Linux program has, and its exit code does not reach us: look for the link
  // itself for a while. (Wine shows a link to a folder as a reparse point, a link to a file as a file.)
  for (int attempt = 0; attempt < 50; ++attempt) {
    const DWORD attributes = ::GetFileAttributesW(Wide(link).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return true;
    ::Sleep(100);
  }
  return false;
}

bool MakeFifo(const std::string&) { return false; }

bool MakeSocket(const std::string&) { return false; }

bool MakeDevice(const std::string&) { return false; }

bool GiveTo(const std::string&, uint32_t) { return false; }

}  // namespace qm::testing
