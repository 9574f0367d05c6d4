#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

/// The line cipher of catalogue and plug-in files: each byte plus a key byte, modulo 255, written as two
/// upper-case hexadecimal digits. Stateless.
class Crypt {
 public:
  /// Error number of a stored line that is not enciphered text.
  static constexpr int32_t kInvalidCipherText = 13;

  /// Enciphers a UTF-8 text: converted to the ANSI code page, then byte by byte. "" gives "".
  static std::string EnCrypt(std::string_view text);
  /// Deciphers a stored line back to UTF-8 text. Fewer than 2 characters give ""; text that is not
  /// enciphered (odd length, a character that is not a hexadecimal digit) raises `kInvalidCipherText`.
  static std::string DeCrypt(std::string_view stored);

  /// The byte-level cipher on ANSI bytes.
  static std::string EnCryptBytes(std::string_view ansi);
  static std::string DeCryptBytes(std::string_view stored);

  /// True when `stored` is enciphered text: empty, or an even number of hexadecimal digits.
  static bool IsCipherText(std::string_view stored);
};

}  // namespace qm
