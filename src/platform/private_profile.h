#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::profile {

/// Reads the entries of `section` of the ini file `file` into `buffer` the way GetPrivateProfileSection does
/// with a buffer of `bufferSize` characters: each line of the section (comments excluded) followed by a NUL,
/// the whole followed by one more NUL. Returns the number of characters copied, not counting the final NUL;
/// when the section does not fit the result is `bufferSize - 2`. Section names compare case-insensitively.
/// Text is UTF-8. A file that cannot be read, or is no regular file, has no sections.
uint32_t ReadSection(const std::string& section, std::string& buffer, uint32_t bufferSize, const std::string& file);

/// Writes `key=value` into `section` of `file` as WritePrivateProfileString does: replaces the key's value in
/// place (an empty value leaves "key="), adds the key, or the section, when missing; no value deletes the key.
/// Returns false when the file cannot be written.
bool WriteString(const std::string& section, const std::string& key, const std::optional<std::string>& value,
                 const std::string& file);

/// `key` folded the way this platform's ini functions compare keys: two keys name the same entry exactly when
/// their folded forms are equal. What a caller counts occurrences by.
std::string FoldedKey(std::string_view key);

/// One entry of a section: the `Occurrence`-th line (0-based, counting every line of the section whose key
/// equals `Key` without regard to case, blank values included) whose key is `Key`.
struct IniEntry {
  std::string Key;
  uint32_t Occurrence = 0;
};

/// Blanks the value of each listed entry of `section` (the line keeps its key as the file wrote it and ends
/// after its "="), changing nothing else, and tells for each listed entry whether its value is blank in the
/// file afterwards. Never adds a line or a section. A read-only file is left alone: all false. Windows blanks
/// only the first line of a key, so there a later occurrence stays and answers false.
std::vector<bool> BlankEntries(const std::string& file, const std::string& section,
                               const std::vector<IniEntry>& entries);

}  // namespace qm::profile
