#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/file_system.h"
#include "platform/private_profile.h"
#include "platform/text.h"

// The Windows profile functions, rebuilt with the results Wine gives on the same files: lines are trimmed,
// a section is found by its name without regard to case (the first one wins), comments and blank lines
// are skipped, a line without "=" is an entry as it stands, and values are returned as written, quotes
// included. Writing changes only the line it must and keeps every other byte of the file.

namespace qm::profile {

namespace {

enum class Encoding { Utf8, Utf8Bom, Ansi, Utf16Le };

/// One line of the file: its own bytes, its line break's bytes ("" on a last line without one), and its
/// text decoded for parsing.
struct Line {
  std::string raw;
  std::string ending;
  std::u16string text;
};

struct Profile {
  Encoding encoding = Encoding::Utf8;
  std::vector<Line> lines;
};

/// What a trimmed line is.
struct Parsed {
  enum Kind { Blank, Section, Entry } kind = Blank;
  std::u16string name;  ///< the section's or the entry's name
  bool hasValue = false;
  std::u16string value;
};

bool IsSpace(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::u16string Trim(std::u16string_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsSpace(s[begin])) ++begin;
  while (end > begin && IsSpace(s[end - 1])) --end;
  return std::u16string(s.substr(begin, end - begin));
}

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

Parsed Parse(const std::u16string& text) {
  Parsed parsed;
  const std::u16string line = Trim(text);
  if (line.empty()) return parsed;
  if (line.front() == u'[') {
    // The name runs to the last "]"; a "[" line without one is an ordinary entry.
    const size_t close = line.find_last_of(u']');
    if (close != std::u16string::npos && close > 0) {
      parsed.kind = Parsed::Section;
      parsed.name = Trim(std::u16string_view(line).substr(1, close - 1));
      return parsed;
    }
  }
  parsed.kind = Parsed::Entry;
  const size_t equals = line.find(u'=');
  if (equals == std::u16string::npos) {
    parsed.name = line;
    return parsed;
  }
  parsed.name = Trim(std::u16string_view(line).substr(0, equals));
  parsed.hasValue = true;
  parsed.value = Trim(std::u16string_view(line).substr(equals + 1));
  return parsed;
}

std::u16string Decode(std::string_view raw, Encoding encoding) {
  switch (encoding) {
    case Encoding::Utf16Le: {
      std::u16string text;
      for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8));
      }
      return text;
    }
    case Encoding::Ansi: return text::Utf8ToUtf16(text::AnsiToUtf8(raw));
    default: return text::Utf8ToUtf16(raw);
  }
}

std::string Encode(const std::u16string& text, Encoding encoding) {
  switch (encoding) {
    case Encoding::Utf16Le: {
      std::string raw;
      for (char16_t c : text) {
        raw += static_cast<char>(c & 0xFF);
        raw += static_cast<char>(c >> 8);
      }
      return raw;
    }
    case Encoding::Ansi: return text::Utf8ToAnsi(text::Utf16ToUtf8(text));
    default: return text::Utf16ToUtf8(text);
  }
}

/// Splits the file into lines at CR LF, LF or CR, in its own encoding, so each line keeps its bytes.
Profile Load(const std::string& bytes) {
  Profile profile;
  std::string_view body = bytes;
  const size_t unit = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 1;
  std::string prefix;
  if (unit == 2) {
    profile.encoding = Encoding::Utf16Le;
    prefix = body.substr(0, 2);
    body.remove_prefix(2);
  } else if (body.substr(0, 3) == "\xEF\xBB\xBF") {
    profile.encoding = Encoding::Utf8Bom;
    prefix = body.substr(0, 3);
    body.remove_prefix(3);
  } else {
    profile.encoding = text::IsValidUtf8(body) ? Encoding::Utf8 : Encoding::Ansi;
  }
  const auto at = [&](size_t i) -> uint16_t {
    return unit == 1 ? static_cast<uint8_t>(body[i])
                     : static_cast<uint16_t>(static_cast<uint8_t>(body[i]) | (static_cast<uint8_t>(body[i + 1]) << 8));
  };
  size_t start = 0;
  size_t i = 0;
  while (i + unit <= body.size()) {
    const uint16_t c = at(i);
    if (c != '\r' && c != '\n') {
      i += unit;
      continue;
    }
    const size_t contentEnd = i;
    i += unit;
    if (c == '\r' && i + unit <= body.size() && at(i) == '\n') i += unit;
    profile.lines.push_back(Line{std::string(body.substr(start, contentEnd - start)),
                                 std::string(body.substr(contentEnd, i - contentEnd)),
                                 Decode(body.substr(start, contentEnd - start), profile.encoding)});
    start = i;
  }
  if (start < body.size()) {
    profile.lines.push_back(Line{std::string(body.substr(start)), "", Decode(body.substr(start), profile.encoding)});
  }
  // The byte-order mark travels with the first line, so it is written back untouched.
  if (!prefix.empty()) {
    if (profile.lines.empty()) profile.lines.push_back(Line{"", "", u""});
    profile.lines.front().raw.insert(0, prefix);
  }
  return profile;
}

bool ReadFile(const std::string& file, std::string& bytes) {
  std::ifstream in(FileSystem::NativePath(file), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

/// The index range [first, end) of the lines inside the first section of that name; false when missing.
bool FindSection(const Profile& profile, std::u16string_view section, size_t& first, size_t& end) {
  bool inside = false;
  for (size_t i = 0; i < profile.lines.size(); ++i) {
    const Parsed parsed = Parse(profile.lines[i].text);
    if (parsed.kind != Parsed::Section) continue;
    if (inside) {
      end = i;
      return true;
    }
    if (SameName(parsed.name, section)) {
      inside = true;
      first = i + 1;
    }
  }
  end = profile.lines.size();
  return inside;
}

std::string LineBreak(Encoding encoding) { return Encode(u"\r\n", encoding); }

Line MakeLine(const std::u16string& text, Encoding encoding) {
  return Line{Encode(text, encoding), LineBreak(encoding), text};
}

/// Writes the lines to a temporary file beside `file` and renames it over the file in one step.
bool Save(const Profile& profile, const std::string& path, mode_t mode) {
  const std::string file = FileSystem::NativePath(path);
  std::string temp = file + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, mode) == 0;
  std::string bytes;
  for (const Line& line : profile.lines) bytes += line.raw + line.ending;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    ok = put > 0;
    if (ok) done += static_cast<size_t>(put);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace

uint32_t GetPrivateProfileSection(const std::string& section, std::string& buffer, uint32_t bufferSize,
                                  const std::string& file) {
  buffer.clear();
  std::string bytes;
  if (bufferSize < 2 || !ReadFile(file, bytes)) return 0;
  const Profile profile = Load(bytes);
  size_t first = 0;
  size_t end = 0;
  if (!FindSection(profile, text::Utf8ToUtf16(section), first, end)) return 0;

  // Filled the way Windows fills a buffer of `bufferSize` characters: each piece cut to fit, always room
  // for the closing NULs, and `bufferSize - 2` when the section did not fit.
  std::u16string out;
  uint32_t room = bufferSize;
  const auto copy = [&](const std::u16string& piece) {
    const size_t taken = std::min<size_t>(piece.size(), room - 2);
    out.append(piece, 0, taken);
    out += u'\0';
    room -= static_cast<uint32_t>(taken + 1);
  };
  for (size_t i = first; i < end && room > 2; ++i) {
    const Parsed parsed = Parse(profile.lines[i].text);
    if (parsed.kind != Parsed::Entry || (!parsed.name.empty() && parsed.name.front() == u';')) continue;
    copy(parsed.name);
    if (room < 2) break;
    if (parsed.hasValue) {
      out.back() = u'=';
      copy(parsed.value);
    }
  }
  const uint32_t copied = room <= 1 ? bufferSize - 2 : bufferSize - room;
  out.resize(copied);
  buffer = text::Utf16ToUtf8(out);
  return copied;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::optional<std::string>& value, const std::string& file) {
  std::string bytes;
  mode_t mode = 0666 & ~[] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }();
  struct stat info;
  if (::stat(FileSystem::NativePath(file).c_str(), &info) == 0) {
    // A read-only file is refused, as Windows refuses it.
    if (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 || !ReadFile(file, bytes)) return false;
    mode = info.st_mode & 07777;
  } else if (errno != ENOENT) {
    return false;
  }
  Profile profile = Load(bytes);
  const std::u16string sectionName = text::Utf8ToUtf16(section);
  const std::u16string keyName = text::Utf8ToUtf16(key);
  const Encoding encoding = profile.encoding;

  size_t first = 0;
  size_t end = 0;
  if (!FindSection(profile, sectionName, first, end)) {
    if (!value) return true;
    if (!profile.lines.empty() && profile.lines.back().ending.empty()) profile.lines.back().ending = LineBreak(encoding);
    profile.lines.push_back(MakeLine(u"[" + sectionName + u"]", encoding));
    profile.lines.push_back(MakeLine(keyName + u"=" + text::Utf8ToUtf16(*value), encoding));
    return Save(profile, file, mode);
  }

  size_t lastFilled = first;  // where a new entry goes: after the section's last non-blank line
  for (size_t i = first; i < end; ++i) {
    Line& line = profile.lines[i];
    const Parsed parsed = Parse(line.text);
    if (parsed.kind == Parsed::Blank) continue;
    lastFilled = i + 1;
    if (!SameName(parsed.name, keyName)) continue;
    if (!value) {
      profile.lines.erase(profile.lines.begin() + static_cast<std::ptrdiff_t>(i));
      return Save(profile, file, mode);
    }
    const std::u16string newValue = text::Utf8ToUtf16(*value);
    if (parsed.hasValue && parsed.value == newValue) return true;
    // The entry keeps its own name as written and its own line break; a last line without one gets one.
    const std::u16string replaced = parsed.name + u"=" + newValue;
    line.raw = Encode(replaced, encoding);
    if (line.ending.empty()) line.ending = LineBreak(encoding);
    line.text = replaced;
    return Save(profile, file, mode);
  }
  if (!value) return true;
  if (lastFilled > 0 && profile.lines[lastFilled - 1].ending.empty()) {
    profile.lines[lastFilled - 1].ending = LineBreak(encoding);
  }
  profile.lines.insert(profile.lines.begin() + static_cast<std::ptrdiff_t>(lastFilled),
                       MakeLine(keyName + u"=" + text::Utf8ToUtf16(*value), encoding));
  return Save(profile, file, mode);
}

}  // namespace qm::profile
