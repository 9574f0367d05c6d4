#include <windows.h>

#include <vector>

#include "platform/private_profile.h"
#include "platform/text_win32.h"

namespace qm::profile {

uint32_t GetPrivateProfileSection(const std::string& section, std::string& buffer, uint32_t bufferSize,
                                  const std::string& file) {
  buffer.clear();
  if (bufferSize < 2) return 0;
  std::vector<wchar_t> wide(bufferSize, L'\0');
  const DWORD copied =
      ::GetPrivateProfileSectionW(text::Widen(section).c_str(), wide.data(), bufferSize, text::Widen(file).c_str());
  buffer = text::Narrow(std::wstring_view(wide.data(), copied));
  return copied;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::optional<std::string>& value, const std::string& file) {
  const std::wstring wideValue = value ? text::Widen(*value) : std::wstring();
  return ::WritePrivateProfileStringW(text::Widen(section).c_str(), text::Widen(key).c_str(),
                                    value ? wideValue.c_str() : nullptr, text::Widen(file).c_str()) != FALSE;
}

}  // namespace qm::profile
