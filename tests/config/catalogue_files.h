#pragma once

#include <string>
#include <vector>

#include "support/scratch_folder.h"
#include "config/crypt.h"

namespace qm::testing {

/// Writes `lines` enciphered, one per CR LF line, as the program stores catalogue files.
inline void WriteCatalogue(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += Crypt::EnCrypt(line) + "\r\n";
  WriteBytes(path, bytes);
}

/// The raw lines of a file, without their line ends.
inline std::vector<std::string> RawLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string bytes = ReadBytes(path);
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

/// The deciphered lines of a catalogue file.
inline std::vector<std::string> PlainLines(const std::string& path) {
  std::vector<std::string> lines;
  for (const std::string& raw : RawLines(path)) lines.push_back(Crypt::DeCrypt(raw));
  return lines;
}

}  // namespace qm::testing
