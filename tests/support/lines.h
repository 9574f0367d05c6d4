#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/scratch_folder.h"

namespace qm::testing {

/// Lines of text: the form most checks compare.
using Lines = std::vector<std::string>;

/// The lines as one text, each ended by a line feed: a failed comparison of two such texts shows their diff.
inline std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

/// The lines in order, for what comes in no set order.
inline Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

/// `text` with each `from` in it replaced by `to`.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

/// The parts of `text` between the separators `separator`.
inline Lines Split(const std::string& text, const std::string& separator) {
  Lines parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size()) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

/// Bytes as case files write them, and back: "<cr>", "<nl>" and "<nul>" stand for CR, LF and NUL.
inline constexpr std::pair<const char*, char> kEscapes[] = {{"<cr>", '\r'}, {"<nl>", '\n'}, {"<nul>", '\0'}};
inline std::string Unescaped(std::string text) {
  for (const auto& [name, byte] : kEscapes) text = Replaced(text, name, std::string(1, byte));
  return text;
}
inline std::string Escaped(std::string bytes) {
  for (const auto& [name, byte] : kEscapes) bytes = Replaced(bytes, std::string(1, byte), name);
  return bytes;
}

/// The lines of the file `name` under tests/fixtures but those that begin with "#", its comments (a checkout
/// with CR LF line ends reads the same).
inline Lines FixtureLines(const std::string& name) {
  Lines lines;
  for (std::string& line : TextLines(ReadBytes(std::string(QM_FIXTURES_DIR) + "/" + name))) {
    if (line.rfind('#', 0) != 0) lines.push_back(std::move(line));
  }
  EXPECT_FALSE(lines.empty()) << name << " is missing or empty";
  return lines;
}

/// The cases of a table under tests/fixtures: each line that is no comment nor empty, split at its first " =>"
/// into what goes in and, after one blank, what must come out.
inline std::vector<std::pair<std::string, std::string>> FixtureCases(const std::string& name) {
  std::vector<std::pair<std::string, std::string>> cases;
  for (const std::string& line : FixtureLines(name)) {
    const std::size_t arrow = line.find(" =>");
    if (line.empty()) continue;
    EXPECT_NE(arrow, std::string::npos) << name << ": " << line;
    const std::string out = arrow == std::string::npos ? "" : line.substr(arrow + 3);
    cases.emplace_back(line.substr(0, arrow), out.substr(out.starts_with(" ") ? 1 : 0));
  }
  return cases;
}

/// A file made of sections, each a "[name]" line with the name in lower case (catalogue and .reg lines are no
/// such line), text after the "]" being its first line, and the lines below it; "#" lines are comments.
using Sections = std::map<std::string, Lines>;
inline Sections ReadSections(const std::string& file) {
  Sections sections;
  Lines* current = nullptr;
  for (const std::string& line : TextLines(ReadBytes(file))) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t close = line.find(']');
    if (line[0] == '[' && std::islower(static_cast<unsigned char>(line[1])) && close != std::string::npos) {
      current = &sections[line.substr(1, close - 1)];
      if (close + 1 < line.size()) current->push_back(line.substr(close + 2));
    } else if (current) {
      current->push_back(line);
    }
  }
  return sections;
}

}  // namespace qm::testing
