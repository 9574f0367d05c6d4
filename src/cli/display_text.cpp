#include "cli/display_text.h"

#include <cmath>
#include <cstdio>

#include "platform/text.h"

namespace qm::cli {
namespace {

/// The length of the UTF-8 character a lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

void AppendHex(std::string& out, unsigned char byte) {
  char escaped[5];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  out += escaped;
}

}  // namespace

std::string EscapedText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = SequenceLength(byte);
    if (length > 1 && i + length <= text.size() && text::IsValidUtf8(text.substr(i, length))) {
      out.append(text.substr(i, length));
      i += length;
      continue;
    }
    ++i;
    if (byte == '\t') {
      out += "\\t";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte >= 0x7F) {
      AppendHex(out, byte);
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

std::string HumanSize(int64_t bytes) {
  if (bytes > -1024 && bytes < 1024) return std::to_string(bytes) + " B";
  static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
  double value = static_cast<double>(bytes) / 1024;
  std::size_t unit = 0;
  // A value that rounds to 1024.0 reads better as 1.0 of the next unit.
  while (std::fabs(std::round(value * 10) / 10) >= 1024 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

}  // namespace qm::cli
