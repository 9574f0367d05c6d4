#include "config/crypt.h"

#include <array>

#include "platform/error.h"
#include "platform/text.h"

namespace qm {

namespace {

/// The key: the UTF-16LE bytes of a fixed 15-character text, so every odd key byte is 0.
constexpr std::string_view kKeyText = "Qx7-mRv2Lk9pTz4";
constexpr std::size_t kKeyLength = 2 * kKeyText.size();

constexpr int KeyByte(std::size_t i) {
  const std::size_t at = i % kKeyLength;
  return at % 2 == 0 ? static_cast<unsigned char>(kKeyText[at / 2]) : 0;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string Crypt::EnCryptBytes(std::string_view ansi) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string stored;
  stored.reserve(2 * ansi.size());
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    int c = static_cast<unsigned char>(ansi[i]) + KeyByte(i);
    if (c > 255) c -= 255;
    stored += kDigits[c >> 4];
    stored += kDigits[c & 0xF];
  }
  return stored;
}

std::string Crypt::DeCryptBytes(std::string_view stored) {
  if (stored.size() < 2) {
    if (!stored.empty()) {
      throw RuntimeError(kInvalidCipherText, "Crypt", "a single character is not enciphered text");
    }
    return "";
  }
  if (!IsCipherText(stored)) {
    throw RuntimeError(kInvalidCipherText, "Crypt",
                       stored.size() % 2 != 0 ? "enciphered text has an odd length"
                                              : "enciphered text holds a character that is not a hexadecimal digit");
  }
  std::string ansi;
  ansi.reserve(stored.size() / 2);
  for (std::size_t i = 0; i < stored.size() / 2; ++i) {
    const int c = HexDigit(stored[2 * i]) * 16 + HexDigit(stored[2 * i + 1]);
    const int key = KeyByte(i);
    int v = c - key;
    if (v < 0) v += 255;
    // The modulus 255 gives a plain byte 255 and a plain byte 0 the same cipher byte whenever the key byte
    // is not 0. A text line never holds a NUL, so that cipher byte is read back as the 255 it must have been.
    if (v == 0 && key != 0) v = 255;
    ansi += static_cast<char>(v);
  }
  return ansi;
}

std::string Crypt::EnCrypt(std::string_view text) { return EnCryptBytes(text::Utf8ToAnsi(text)); }

std::string Crypt::DeCrypt(std::string_view stored) { return text::AnsiToUtf8(DeCryptBytes(stored)); }

bool Crypt::IsCipherText(std::string_view stored) {
  if (stored.size() % 2 != 0) return false;
  for (char c : stored) {
    if (HexDigit(c) < 0) return false;
  }
  return true;
}

}  // namespace qm
