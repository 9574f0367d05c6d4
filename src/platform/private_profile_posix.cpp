#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"
#include "platform/private_profile_detail.h"
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

std::u16string Folded(std::u16string_view s) {
  std::u16string folded(s);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
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

/// The file's bytes; nothing when it is missing, unreadable or no regular file (a FIFO or a device is refused
/// before a byte is read, so it can never hang the program).
std::optional<std::string> ReadFile(const std::string& file) {
  try {
    return FileSystem().ReadAllBytes(file);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
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

/// Where a write goes and what the file there must keep.
struct WriteTarget {
  std::string path;  ///< the ini path itself, or the file its links lead to
  bool exists = true;
  mode_t mode = 0;
  uid_t owner = static_cast<uid_t>(-1);  ///< -1: whoever makes the file
  gid_t group = static_cast<gid_t>(-1);
};

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

/// Where a write to `file` goes: the file its links lead to, so the links stay links. Nothing when the path
/// names something that may not be replaced: anything but a regular file or a link to one (told from its
/// status, never by opening it), a dangling link, or a read-only file, as Windows refuses one.
std::optional<WriteTarget> TargetOf(const std::string& file) {
  char* real = ::realpath(file.c_str(), nullptr);
  if (real == nullptr) {
    struct stat link;
    if (errno != ENOENT || ::lstat(file.c_str(), &link) == 0) return std::nullopt;
    return WriteTarget{file, false, NewFileMode()};
  }
  WriteTarget target{real};
  std::free(real);
  struct stat info;
  if (::stat(target.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 ||
      ::access(target.path.c_str(), W_OK) != 0) {
    return std::nullopt;
  }
  target.mode = info.st_mode & 07777;
  target.owner = info.st_uid;
  target.group = info.st_gid;
  return target;
}

/// Writes the lines to a temporary file beside the target, flushes it to the disk and renames it over the
/// target in one step, so the file is always either the old or the new one.
bool Save(const Profile& profile, const WriteTarget& target) {
  std::string bytes;
  for (const Line& line : profile.lines) bytes.append(line.raw).append(line.ending);
  std::string temp = target.path + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, target.mode) == 0 && ::fchown(fd, target.owner, target.group) == 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    ok = put > 0;
    if (ok) done += static_cast<size_t>(put);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), target.path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

/// A line GetPrivateProfileSection lists: an entry that is no comment.
bool IsListed(const Parsed& parsed) {
  return parsed.kind == Parsed::Entry && (parsed.name.empty() || parsed.name.front() != u';');
}

/// Cuts the line after its first "=", keeping every byte before it; false when there was nothing to cut.
bool CutValue(Line& line, Encoding encoding) {
  const size_t unit = encoding == Encoding::Utf16Le ? 2 : 1;
  for (size_t i = 0; i + unit <= line.raw.size(); i += unit) {
    if (line.raw[i] != '=' || (unit == 2 && line.raw[i + 1] != '\0')) continue;
    if (i + unit == line.raw.size()) return false;
    line.raw.resize(i + unit);
    line.text.resize(line.text.find(u'=') + 1);
    return true;
  }
  return false;
}

}  // namespace

std::string FoldedKey(std::string_view key) { return text::Utf16ToUtf8(Folded(text::Utf8ToUtf16(key))); }

uint32_t ReadSection(const std::string& section, std::string& buffer, uint32_t bufferSize, const std::string& file) {
  buffer.clear();
  if (bufferSize < 2) return 0;
  const std::optional<std::string> bytes = ReadFile(file);
  if (!bytes) return 0;
  const Profile profile = Load(*bytes);
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
    if (!IsListed(parsed)) continue;
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

bool WriteString(const std::string& section, const std::string& key, const std::optional<std::string>& value,
                 const std::string& file) {
  const std::optional<WriteTarget> target = TargetOf(file);
  if (!target) return false;
  std::optional<std::string> bytes = target->exists ? ReadFile(target->path) : std::string();
  if (!bytes) return false;
  Profile profile = Load(*bytes);
  const std::u16string sectionName = text::Utf8ToUtf16(section);
  const std::u16string keyName = text::Utf8ToUtf16(key);
  const Encoding encoding = profile.encoding;

  size_t first = 0;
  size_t end = 0;
  if (!FindSection(profile, sectionName, first, end)) {
    if (!value) return true;
    if (!profile.lines.empty() && profile.lines.back().ending.empty())
      profile.lines.back().ending = LineBreak(encoding);
    profile.lines.push_back(MakeLine(u"[" + sectionName + u"]", encoding));
    profile.lines.push_back(MakeLine(keyName + u"=" + text::Utf8ToUtf16(*value), encoding));
    return Save(profile, *target);
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
      return Save(profile, *target);
    }
    const std::u16string newValue = text::Utf8ToUtf16(*value);
    if (parsed.hasValue && parsed.value == newValue) return true;
    // The entry keeps its own name as written and its own line break; a last line without one gets one.
    const std::u16string replaced = parsed.name + u"=" + newValue;
    line.raw = Encode(replaced, encoding);
    if (line.ending.empty()) line.ending = LineBreak(encoding);
    line.text = replaced;
    return Save(profile, *target);
  }
  if (!value) return true;
  if (lastFilled > 0 && profile.lines[lastFilled - 1].ending.empty()) {
    profile.lines[lastFilled - 1].ending = LineBreak(encoding);
  }
  profile.lines.insert(profile.lines.begin() + static_cast<std::ptrdiff_t>(lastFilled),
                       MakeLine(keyName + u"=" + text::Utf8ToUtf16(*value), encoding));
  return Save(profile, *target);
}

std::vector<bool> BlankEntries(const std::string& file, const std::string& section,
                               const std::vector<IniEntry>& entries) {
  std::vector<bool> blank(entries.size(), false);
  const std::optional<WriteTarget> target = TargetOf(file);
  if (!target || !target->exists) return blank;
  const std::optional<std::string> bytes = ReadFile(target->path);
  if (!bytes) return blank;
  Profile profile = Load(*bytes);
  size_t first = 0;
  size_t end = 0;
  if (!FindSection(profile, text::Utf8ToUtf16(section), first, end)) return blank;

  std::vector<size_t> lineIndex;
  std::vector<std::u16string> lineKeys;
  for (size_t i = first; i < end; ++i) {
    const Parsed parsed = Parse(profile.lines[i].text);
    if (!IsListed(parsed)) continue;
    lineIndex.push_back(i);
    lineKeys.push_back(Folded(parsed.name));
  }
  std::vector<std::u16string> entryKeys;
  entryKeys.reserve(entries.size());
  for (const IniEntry& entry : entries) entryKeys.push_back(Folded(text::Utf8ToUtf16(entry.Key)));
  const std::vector<size_t> found = profile_detail::LocateEntries(lineKeys, entryKeys, entries);

  bool changed = false;
  for (const size_t at : found) {
    if (at != profile_detail::kNoLine) changed = CutValue(profile.lines[lineIndex[at]], profile.encoding) || changed;
  }
  if (changed && !Save(profile, *target)) return blank;
  for (size_t i = 0; i < entries.size(); ++i) blank[i] = found[i] != profile_detail::kNoLine;
  return blank;
}

}  // namespace qm::profile
