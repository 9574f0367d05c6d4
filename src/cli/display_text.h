#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::cli {

/// `text` as a terminal may show it: a tab, line feed and carriage return as \t, \n and \r, every other control
/// character and every byte that is no part of a UTF-8 character as \xNN (two upper-case hex digits). Other
/// text, backslashes included, stays as it is.
std::string EscapedText(std::string_view text);

/// Bytes in binary units for a person: "512 B", then KiB, MiB, GiB and TiB with one decimal ("1.5 KiB"),
/// taking the unit that keeps the number below 1024.
std::string HumanSize(int64_t bytes);

}  // namespace qm::cli
