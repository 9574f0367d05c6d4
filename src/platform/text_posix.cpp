#include <array>
#include <cstdint>

#include "platform/text.h"

namespace qm::text {

namespace {

/// Windows-1252 at 0x80-0x9F; the five bytes it leaves undefined map to the C1 controls of the same value,
/// as Windows' own conversion does, so every byte has a character and the table is a bijection.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 256> MakeWindows1252() {
  std::array<char16_t, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<char16_t>(b);
  for (int b = 0; b < 32; ++b) table[0x80 + b] = kHighControls[b];
  return table;
}

constexpr std::array<char16_t, 256> kWindows1252 = MakeWindows1252();

int AnsiByteOf(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return unit;
  for (int b = 0x80; b < 0xA0; ++b) {
    if (kWindows1252[b] == unit) return b;
  }
  return -1;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    const int b = AnsiByteOf(wide[i]);
    out += b < 0 ? '?' : static_cast<char>(b);
    // A surrogate pair is one character the code page cannot hold: one "?", not two.
    if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      ++i;
    }
  }
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::u16string wide;
  wide.reserve(ansi.size());
  for (char c : ansi) wide += kWindows1252[static_cast<uint8_t>(c)];
  return Utf16ToUtf8(wide);
}

}  // namespace qm::text
