#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// The error number of winapp2.ini text that cannot be read; its description begins with "line N: ".
inline constexpr int32_t kWinapp2Syntax = 5;

/// One "Name=value" line of a winapp2.ini entry.
struct Winapp2Key {
  std::string name;   ///< as written, number included ("FileKey3")
  std::string value;  ///< without blanks around it
  int64_t line = 0;   ///< 1-based
};

/// One "[Name *]" section of winapp2.ini with its keys in file order.
struct Winapp2Entry {
  std::string name;  ///< between the brackets, blanks around it removed
  int64_t line = 0;
  std::vector<Winapp2Key> keys;
};

/// Splits winapp2.ini text (UTF-8, an optional byte-order mark, LF or CR LF line ends) into its entries,
/// leaving out blank lines and ";" comments. Raises RuntimeError `kWinapp2Syntax` naming the line for a line
/// that is not UTF-8, a section line without "]" or without a name, a key line before the first section and
/// a line without "=".
std::vector<Winapp2Entry> ReadWinapp2Entries(std::string_view text);

/// `text` without blanks and tabs around it.
std::string TrimWinapp2(std::string_view text);

/// Raises the `kWinapp2Syntax` error for `line`.
[[noreturn]] void FailWinapp2Line(int64_t line, const std::string& what);

}  // namespace qm
