#pragma once

#include <string>
#include <string_view>

namespace qm::text {

/// UTF-8 to the UTF-16 of the W calls and back (wchar_t is 16 bits on Windows).
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace qm::text
