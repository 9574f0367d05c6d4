#pragma once

#include <cstdint>
#include <optional>
#include <string>

// <windows.h> maps these names to their W forms; ours keep their plain names. A file that includes
// <windows.h> must include it before this header.
#undef GetPrivateProfileSection
#undef WritePrivateProfileString

namespace qm::profile {

/// Reads the entries of `section` of the ini file `file` into `buffer` the way GetPrivateProfileSection does
/// with a buffer of `bufferSize` characters: each line of the section (comments excluded) followed by a NUL,
/// the whole followed by one more NUL. Returns the number of characters copied, not counting the final NUL;
/// when the section does not fit the result is `bufferSize - 2`. Section names compare case-insensitively.
/// Text is UTF-8.
uint32_t GetPrivateProfileSection(const std::string& section, std::string& buffer, uint32_t bufferSize,
                                  const std::string& file);

/// Writes `key=value` into `section` of `file` as WritePrivateProfileString does: replaces the key's value in
/// place (an empty value leaves "key="), adds the key, or the section, when missing; no value deletes the key.
/// Returns false when the file cannot be written.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::optional<std::string>& value, const std::string& file);

}  // namespace qm::profile
