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
      default:
        out.push_back('\\');
        out.push_back(escaped);
    }
  }
  return false;
}

bool HexDigit(char c, uint32_t& digit) {
  if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
  else if (c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
  else if (c >= 'A' && c <= 'F') digit = static_cast<uint32_t>(c - 'A' + 10);
  else return false;
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

/// Reads the data part of a value line (after "="). False when it cannot be read.
bool ParseData(std::string_view data, bool ansi, uint32_t& type, std::string& bytes) {
  if (!data.empty() && data.front() == '"') {
    size_t pos = 1;
    if (!ReadQuoted(data, pos, bytes)) return false;
    bytes.push_back('\0');
    type = 1;
    return true;
  }
  if (data.substr(0, 6) == "dword:") {
    uint32_t number;
    if (!ParseHexNumber(data.substr(6), 8, number)) return false;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(number >> (8 * i) & 0xFF));
    type = 4;
    return true;
  }
  if (data.substr(0, 4) == "hex:") {
    type = 3;
    return ParseHexBytes(data.substr(4), bytes);
  }
  if (data.substr(0, 4) == "hex(") {
    size_t close = data.find("):", 4);
    if (close == std::string_view::npos || !ParseHexNumber(data.substr(4, close - 4), 8, type)) return false;
    if (!ParseHexBytes(data.substr(close + 2), bytes)) return false;
    if (IsStringType(type)) bytes = ansi ? text::AnsiToUtf8(bytes) : Utf16LeBytesToUtf8(bytes);
    return true;
  }
  return false;
}

void ParseValueLine(std::string_view line, bool ansi, RegistryStore::Node& key) {
  std::string name;
  size_t pos = 1;
  if (line.front() == '"' && !ReadQuoted(line, pos, name)) return;
  std::string_view rest = TrimLeft(line.substr(pos));
  if (rest.empty() || rest.front() != '=') return;
  rest = TrimLeft(rest.substr(1));
  if (rest == "-") {
    RegistryStore::DeleteValue(key, name);
    return;
  }
  uint32_t type = 0;
  std::string bytes;
  if (!ParseData(rest, ansi, type, bytes)) return;
  RegistryStore::SetValue(key, name, type, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

/// Splits "ROOT\path" into the root node and the path; null for an unknown root.
RegistryStore::NodePtr SectionRoot(const RegistryStore& store, std::string_view section, std::string_view& path) {
  size_t slash = section.find('\\');
  path = slash == std::string_view::npos ? std::string_view() : section.substr(slash + 1);
  return store.Root(RegistryStore::RootByName(section.substr(0, slash)));
}

std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
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
  out += value.Name.empty() ? "@" : "\"" + Escape(value.Name) + "\"";
  out += '=';
  if (value.Type == 1 && IsPlainText(value.Data)) {
    out += "\"" + Escape(std::string_view(reinterpret_cast<const char*>(value.Data.data()), value.Data.size() - 1)) +
           "\"";
  } else if (value.Type == 4 && value.Data.size() == 4) {
    char number[16];
    std::snprintf(number, sizeof number, "dword:%08x",
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

void AppendKey(std::string& out, const RegistryStore::Node& node, const std::string& path, bool isRoot) {
  // A root has no section of its own unless it holds values; every other key has one, empty keys too.
  if (!isRoot || !node.Values.empty()) {
    out += "[" + path + "]\r\n";
    for (const auto& value : node.Values) AppendValue(out, value);
    out += "\r\n";
  }
  for (const auto& sub : node.SubKeys) AppendKey(out, *sub, path + "\\" + sub->Name, false);
}

}  // namespace

bool ParseRegFile(const std::string& bytes, RegistryStore& store) {
  bool ansi = false;
  std::string decoded = DecodeFile(bytes, ansi);
  std::vector<std::string_view> lines = SplitLines(decoded);
  size_t first = 0;
  while (first < lines.size() && TrimLeft(lines[first]).empty()) ++first;
  if (first == lines.size()) return false;
  std::string_view header = TrimLeft(lines[first]);
  if (header != kHeader5 && header != kHeader4) return false;

  RegistryStore::NodePtr key;
  for (size_t i = first + 1; i < lines.size(); ++i) {
    std::string_view line = TrimLeft(lines[i]);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      key = nullptr;
      size_t close = line.rfind(']');
      if (close == std::string_view::npos) continue;
      std::string_view section = line.substr(1, close - 1);
      std::string_view path;
      if (!section.empty() && section.front() == '-') {
        if (auto root = SectionRoot(store, section.substr(1), path)) RegistryStore::RemoveTree(root, path);
        continue;
      }
      bool created = false;
      if (auto root = SectionRoot(store, section, path)) key = RegistryStore::Create(root, path, created);
      continue;
    }
    if (line.front() != '"' && line.front() != '@') continue;
    std::string joined(line);
    while (!joined.empty() && joined.back() == '\\' && i + 1 < lines.size()) {
      joined.pop_back();
      joined += TrimLeft(lines[++i]);
    }
    if (key) ParseValueLine(joined, ansi, *key);
  }
  return true;
}

std::string FormatRegFile(const RegistryStore& store) {
  std::string out(kHeader5);
  out += "\r\n\r\n";
  for (uint32_t root = 0x80000000u; root <= 0x80000006u; ++root) {
    AppendKey(out, *store.Root(root), RegistryStore::RootName(root), true);
  }
  return "\xFF\xFE" + Utf8ToUtf16LeBytes(out);
}

}  // namespace qm::reg
