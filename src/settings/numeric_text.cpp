#include "settings/numeric_text.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace qm {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// "&H1F", "&O17" (or "&17"): whole unsigned numbers.
std::optional<double> RadixNumber(std::string_view text) {
  int radix = 8;
  text.remove_prefix(1);
  if (!text.empty() && (text.front() == 'H' || text.front() == 'h')) {
    radix = 16;
    text.remove_prefix(1);
  } else if (!text.empty() && (text.front() == 'O' || text.front() == 'o')) {
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  double value = 0;
  for (char c : text) {
    int digit = IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 99;
    if (digit >= radix) return std::nullopt;
    value = value * radix + digit;
  }
  return value;
}

template <class Int>
std::optional<Int> TextToInteger(std::string_view text) {
  std::optional<double> number = TextToNumber(text);
  if (!number) return std::nullopt;
  // The default floating-point rounding mode rounds halves to even, as the conversion does.
  double rounded = std::nearbyint(*number);
  if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max()) return std::nullopt;
  return static_cast<Int>(rounded);
}

}  // namespace

std::optional<double> TextToNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '&') return RadixNumber(text);

  std::string plain;  // the number without its grouping commas, for strtod
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  bool digits = false;
  while (i < text.size() && (IsDigit(text[i]) || text[i] == ',')) {
    if (text[i] != ',') {
      plain += text[i];
      digits = true;
    }
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    plain += text[i++];
    while (i < text.size() && IsDigit(text[i])) {
      plain += text[i++];
      digits = true;
    }
  }
  if (!digits) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++];
  }
  if (i != text.size()) return std::nullopt;
  return std::strtod(plain.c_str(), nullptr);
}

bool IsNumericText(std::string_view text) { return TextToNumber(text).has_value(); }

std::optional<int16_t> TextToInt16(std::string_view text) { return TextToInteger<int16_t>(text); }
std::optional<int32_t> TextToInt32(std::string_view text) { return TextToInteger<int32_t>(text); }

}  // namespace qm
