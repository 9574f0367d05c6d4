#include "platform/registry_store_format.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace qm::reg {

namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

bool IsStringType(uint32_t type) { return type == 1 || type == 2 || type == 7; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string Utf16LeBytesToUtf8(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
  }
  return text::Utf16ToUtf8(units);
}

std::string Utf8ToUtf16LeBytes(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size() * 2);
  for (char16_t unit : text::Utf8ToUtf16(utf8)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

/// The file as UTF-8 text; `ansi` tells a REGEDIT4 file, whose hex(N) texts are ANSI bytes too.
std::string DecodeFile(const std::string& bytes, bool& ansi) {
  ansi = false;
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
    return Utf16LeBytesToUtf8(std::string_view(bytes).substr(2));
  }
  std::string_view body = bytes;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  if (TrimLeft(body).substr(0, kHeader4.size()) == kHeader4) {
    ansi = true;
    return text::AnsiToUtf8(body);
  }
  return std::string(body);
}

std::vector<std::string_view> SplitLines(std::string_view textView) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < textView.size()) {
    size_t end = textView.find('\n', start);
    if (end == std::string_view::npos) end = textView.size();
    lines.push_back(TrimRight(textView.substr(start, end - start)));
    start = end + 1;
  }
  return lines;
}

/// Reads a quoted text starting after its opening quote at `pos`; leaves `pos` after the closing quote.
bool ReadQuoted(std::string_view line, size_t& pos, std::string& out) {
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') return true;
    if (c != '\\' || pos >= line.size()) {
      out.push_back(c);
      continue;
    }
    char escaped = line[pos++];
    switch (escaped) {
      case '\\': out.push_back('\\'); break;
      case '"': out.push_back('"'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case '0': out.push_back('\0'); break;
      default: out.push_back('\\'); out.push_back(escaped);
    }
  }
  return false;
}

bool HexDigit(char c, uint32_t& digit) {
  if (c >= '0' && c <= '9')
    digit = static_cast<uint32_t>(c - '0');
  else if (c >= 'a' && c <= 'f')
    digit = static_cast<uint32_t>(c - 'a' + 10);
  else if (c >= 'A' && c <= 'F')
    digit = static_cast<uint32_t>(c - 'A' + 10);
  else
    return false;
  return true;
}

/// A hexadecimal number of 1 to `maxDigits` digits making up the whole of `s`.
bool ParseHexNumber(std::string_view s, size_t maxDigits, uint32_t& number) {
  s = TrimRight(TrimLeft(s));
  if (s.empty() || s.size() > maxDigits) return false;
  number = 0;
  for (char c : s) {
    uint32_t digit;
    if (!HexDigit(c, digit)) return false;
    number = number << 4 | digit;
  }
  return true;
}

bool ParseHexBytes(std::string_view s, std::string& bytes) {
  s = TrimRight(TrimLeft(s));
  if (s.empty()) return true;
  bytes.reserve(bytes.size() + s.size() / 3 + 1);
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find(',', start);
    if (end == std::string_view::npos) end = s.size();
    uint32_t byte;
    if (!ParseHexNumber(s.substr(start, end - start), 2, byte)) return false;
    bytes.push_back(static_cast<char>(byte));
    start = end + 1;
  }
  return true;
}

/// Why a line could not be read; null when it could.
using Trouble = const char*;

static_assert(RegistryStore::kMaxDepth == 512, "the reason below names the limit");
constexpr Trouble kTooDeep = "key deeper than 512 levels";

/// Reads the data part of a value line (after "=").
Trouble ParseData(std::string_view data, bool ansi, uint32_t& type, std::string& bytes) {
  if (!data.empty() && data.front() == '"') {
    size_t pos = 1;
    if (!ReadQuoted(data, pos, bytes)) return "unclosed quote";
    bytes.push_back('\0');
    type = 1;
    return nullptr;
  }
  if (data.substr(0, 6) == "dword:") {
    uint32_t number;
    if (!ParseHexNumber(data.substr(6), 8, number)) return "bad dword data";
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(number >> (8 * i) & 0xFF));
    type = 4;
    return nullptr;
  }
  if (data.substr(0, 4) == "hex:") {
    type = 3;
    return ParseHexBytes(data.substr(4), bytes) ? nullptr : "bad hex data";
  }
  if (data.substr(0, 4) == "hex(") {
    size_t close = data.find("):", 4);
    if (close == std::string_view::npos || !ParseHexNumber(data.substr(4, close - 4), 8, type)) {
      return "bad value type";
    }
    if (!ParseHexBytes(data.substr(close + 2), bytes)) return "bad hex data";
    if (IsStringType(type)) bytes = ansi ? text::AnsiToUtf8(bytes) : Utf16LeBytesToUtf8(bytes);
    return nullptr;
  }
  return "unknown data format";
}

/// Reads a value line, continuation lines joined: "name"=data, @=data or "name"=-.
Trouble ReadValue(std::string_view line, bool ansi, RegistryStore::Node& key) {
  std::string name;
  size_t pos = 1;
  if (line.front() == '"' && !ReadQuoted(line, pos, name)) return "unclosed quote";
  std::string_view rest = TrimLeft(line.substr(pos));
  if (rest.empty() || rest.front() != '=') return "no = after the name";
  rest = TrimLeft(rest.substr(1));
  if (rest == "-") {
    key.Values.Erase(name);
    return nullptr;
  }
  uint32_t type = 0;
  std::string bytes;
  if (Trouble trouble = ParseData(rest, ansi, type, bytes)) return trouble;
  key.Values.Set(name, type, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  return nullptr;
}

/// Splits "ROOT\path" into the root node and the path; null for an unknown root.
RegistryStore::NodePtr SectionRoot(const RegistryStore& store, std::string_view section, std::string_view& path) {
  size_t slash = section.find('\\');
  path = slash == std::string_view::npos ? std::string_view() : section.substr(slash + 1);
  return store.Root(RegistryStore::RootByName(section.substr(0, slash)));
}

/// Reads a section line: [ROOT\path] opens a key, creating it, and [-ROOT\path] deletes one with everything
/// below it; the path may be quoted. `key` becomes the key the values that follow go to, or null.
Trouble ReadSection(std::string_view line, RegistryStore& store, RegistryStore::NodePtr& key) {
  key = nullptr;
  std::string_view inner = line.substr(1);
  const bool remove = !inner.empty() && inner.front() == '-';
  if (remove) inner.remove_prefix(1);
  std::string unquoted;
  std::string_view section;
  if (!inner.empty() && inner.front() == '"') {
    size_t pos = 1;
    if (!ReadQuoted(inner, pos, unquoted)) return "unclosed quote";
    if (TrimLeft(inner.substr(pos)).substr(0, 1) != "]") return "no closing ]";
    section = unquoted;
  } else {
    size_t close = inner.rfind(']');
    if (close == std::string_view::npos) return "no closing ]";
    section = inner.substr(0, close);
  }
  std::string_view path;
  RegistryStore::NodePtr root = SectionRoot(store, section, path);
  if (!root) return "unknown root";
  if (remove) {
    RegistryStore::RemoveTree(root, path);
    return nullptr;
  }
  bool created = false;
  key = RegistryStore::Create(root, path, created);
  return key ? nullptr : kTooDeep;
}

/// `s` in quotes, escaped so that ReadQuoted gives it back and it stays on one line.
std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\0': out += "\\0"; break;
      default: out.push_back(c);
    }
  }
  return out + '"';
}

/// A section line in regedit's form, or quoted when a key name holds a character that would break the line.
std::string Section(const std::string& path) {
  const bool plain = path.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
  return "[" + (plain ? path : Quoted(path)) + "]\r\n";
}

/// REG_SZ data that the quoted form gives back unchanged: one final NUL and no line breaks.
bool IsPlainText(const std::vector<uint8_t>& data) {
  if (data.empty() || data.back() != 0) return false;
  for (size_t i = 0; i + 1 < data.size(); ++i) {
    if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
  }
  return true;
}

void AppendHex(std::string& out, size_t lineStart, const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint8_t byte = static_cast<uint8_t>(bytes[i]);
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0xF]);
    if (i + 1 == bytes.size()) break;
    out.push_back(',');
    // regedit keeps lines under 80 columns, continuing them after a backslash.
    if (out.size() - lineStart > 76) {
      out += "\\\r\n  ";
      lineStart = out.size() - 2;
    }
  }
}

void AppendValue(std::string& out, const RegistryStore::Value& value) {
  size_t lineStart = out.size();
  out += value.Name.empty() ? "@" : Quoted(value.Name);
  out += '=';
  if (value.Type == 1 && IsPlainText(value.Data)) {
    out += Quoted(std::string_view(reinterpret_cast<const char*>(value.Data.data()), value.Data.size() - 1));
  } else if (value.Type == 4 && value.Data.size() == 4) {
    char number[16];
    std::snprintf(
        number, sizeof number, "dword:%08x",
        value.Data[0] | value.Data[1] << 8 | value.Data[2] << 16 | static_cast<uint32_t>(value.Data[3]) << 24);
    out += number;
  } else {
    std::string bytes(value.Data.begin(), value.Data.end());
    if (IsStringType(value.Type)) bytes = Utf8ToUtf16LeBytes(bytes);
    if (value.Type == 3) {
      out += "hex:";
    } else {
      char prefix[24];
      std::snprintf(prefix, sizeof prefix, "hex(%x):", value.Type);
      out += prefix;
    }
    AppendHex(out, lineStart, bytes);
  }
  out += "\r\n";
}

void AppendKey(std::string& out, const RegistryStore::Node& node, const std::string& path) {
  out += Section(path);
  for (const auto& value : node.Values) AppendValue(out, value);
  out += "\r\n";
}

/// Every key below a root, depth first in sub-key order, without recursion.
void AppendTree(std::string& out, const RegistryStore::Node& root, const std::string& rootName) {
  // A root has no section of its own unless it holds values; every other key has one, empty keys too.
  if (!root.Values.empty()) AppendKey(out, root, rootName);
  struct Pending {
    const RegistryStore::Node* node;
    size_t parentPathLength;
  };
  std::vector<Pending> pending;
  std::string path = rootName;
  auto pushSubKeys = [&](const RegistryStore::Node& node) {
    for (auto sub = node.SubKeys.rbegin(); sub != node.SubKeys.rend(); ++sub) {
      pending.push_back({sub->get(), path.size()});
    }
  };
  pushSubKeys(root);
  while (!pending.empty()) {
    Pending next = pending.back();
    pending.pop_back();
    path.resize(next.parentPathLength);
    path += '\\';
    path += next.node->Name;
    AppendKey(out, *next.node, path);
    pushSubKeys(*next.node);
  }
}

}  // namespace

RegFileResult ParseRegFile(const std::string& bytes, RegistryStore& store) {
  RegFileResult result;
  bool ansi = false;
  std::string decoded = DecodeFile(bytes, ansi);
  std::vector<std::string_view> lines = SplitLines(decoded);
  size_t first = 0;
  while (first < lines.size() && TrimLeft(lines[first]).empty()) ++first;
  if (first == lines.size()) return result;
  std::string_view header = TrimLeft(lines[first]);
  if (header != kHeader5 && header != kHeader4) return result;
  result.IsRegFile = true;

  RegistryStore::NodePtr key;
  for (size_t i = first + 1; i < lines.size(); ++i) {
    const size_t lineNumber = i + 1;
    std::string_view line = TrimLeft(lines[i]);
    Trouble trouble = nullptr;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      trouble = ReadSection(line, store, key);
    } else if (line.front() == '"' || line.front() == '@') {
      std::string joined(line);
      while (!joined.empty() && joined.back() == '\\' && i + 1 < lines.size()) {
        joined.pop_back();
        joined += TrimLeft(lines[++i]);
      }
      trouble = key ? ReadValue(joined, ansi, *key) : "value outside a key";
    } else {
      trouble = "not a key, value or comment";
    }
    if (trouble && result.Problem.Line == 0) result.Problem = {lineNumber, trouble};
  }
  return result;
}

std::string FormatRegFile(const RegistryStore& store) {
  std::string out(kHeader5);
  out += "\r\n\r\n";
  for (uint32_t root = 0x80000000u; root <= 0x80000006u; ++root) {
    AppendTree(out, *store.Root(root), RegistryStore::RootName(root));
  }
  return "\xFF\xFE" + Utf8ToUtf16LeBytes(out);
}

}  // namespace qm::reg
