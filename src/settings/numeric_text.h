#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qm {

/// The number a text holds, read as the platform's text-to-number conversion reads it (English number
/// format): blanks around it, an optional leading sign, digits with "," grouping, a "." fraction, an exponent
/// ("1e3", "1d3"), or "&H" hexadecimal and "&O" octal digits. Nothing when the text is no number.
std::optional<double> TextToNumber(std::string_view text);

/// True when `TextToNumber` finds a number in the text.
bool IsNumericText(std::string_view text);

/// The text's number rounded to an integer as the platform's conversion rounds (halves to even); nothing when
/// the text is no number or the result does not fit the type.
std::optional<int16_t> TextToInt16(std::string_view text);
std::optional<int32_t> TextToInt32(std::string_view text);

}  // namespace qm
