#include <windows.h>

#include <unordered_set>
#include <vector>

#include "platform/private_profile.h"
#include "platform/private_profile_detail.h"
#include "platform/text_win32.h"

namespace qm::profile {

namespace {

/// The lines of a section as GetPrivateProfileSectionW lists them: keys case-folded, values as read.
struct SectionLines {
  std::vector<std::wstring> keys;
  std::vector<std::wstring> values;
};

std::wstring Folded(std::wstring key) {
  if (!key.empty()) ::CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
  return key;
}

/// The whole section, read with a buffer that grows until it fits.
SectionLines ReadLines(const std::wstring& section, const std::wstring& file) {
  std::vector<wchar_t> buffer(4096);
  DWORD copied = 0;
  while ((copied = ::GetPrivateProfileSectionW(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                               file.c_str())) == buffer.size() - 2) {
    buffer.resize(buffer.size() * 4);
  }
  SectionLines lines;
  for (size_t start = 0; start < copied;) {
    const std::wstring_view line(buffer.data() + start);
    const size_t equals = line.find(L'=');
    lines.keys.push_back(Folded(std::wstring(line.substr(0, equals))));
    lines.values.emplace_back(equals == std::wstring_view::npos ? L"" : line.substr(equals + 1));
    start += line.size() + 1;
  }
  return lines;
}

}  // namespace

std::string FoldedKey(std::string_view key) { return text::Narrow(Folded(text::Widen(key))); }

uint32_t ReadSection(const std::string& section, std::string& buffer, uint32_t bufferSize, const std::string& file) {
  buffer.clear();
  if (bufferSize < 2) return 0;
  std::vector<wchar_t> wide(bufferSize, L'\0');
  const DWORD copied =
      ::GetPrivateProfileSectionW(text::Widen(section).c_str(), wide.data(), bufferSize, text::Widen(file).c_str());
  buffer = text::Narrow(std::wstring_view(wide.data(), copied));
  return copied;
}

bool WriteString(const std::string& section, const std::string& key, const std::optional<std::string>& value,
                 const std::string& file) {
  const std::wstring wideValue = value ? text::Widen(*value) : std::wstring();
  return ::WritePrivateProfileStringW(text::Widen(section).c_str(), text::Widen(key).c_str(),
                                      value ? wideValue.c_str() : nullptr, text::Widen(file).c_str()) != FALSE;
}

std::vector<bool> BlankEntries(const std::string& file, const std::string& section,
                               const std::vector<IniEntry>& entries) {
  std::vector<bool> blank(entries.size(), false);
  const std::wstring wideFile = text::Widen(file);
  const std::wstring wideSection = text::Widen(section);
  // A read-only file is refused up front, whatever the write would do: Wine run by root writes one.
  const DWORD attributes = ::GetFileAttributesW(wideFile.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0) return blank;

  std::vector<std::wstring> entryKeys;
  entryKeys.reserve(entries.size());
  for (const IniEntry& entry : entries) entryKeys.push_back(Folded(text::Widen(entry.Key)));
  // The call blanks a key's first line, or adds the key when it is missing: a key is written only when its
  // first line is listed and there. A key with a NUL inside matches no line, the section's lines being
  // NUL-separated.
  const std::vector<std::wstring> before = ReadLines(wideSection, wideFile).keys;
  const std::unordered_set<std::wstring> present(before.begin(), before.end());
  std::unordered_set<std::wstring> written;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Occurrence != 0 || present.count(entryKeys[i]) == 0 || !written.insert(entryKeys[i]).second) {
      continue;
    }
    ::WritePrivateProfileStringW(wideSection.c_str(), text::Widen(entries[i].Key).c_str(), L"", wideFile.c_str());
  }

  const SectionLines after = ReadLines(wideSection, wideFile);
  const std::vector<size_t> found = profile_detail::LocateEntries(after.keys, entryKeys, entries);
  for (size_t i = 0; i < entries.size(); ++i) {
    blank[i] = found[i] != profile_detail::kNoLine && after.values[found[i]].empty();
  }
  return blank;
}

}  // namespace qm::profile
