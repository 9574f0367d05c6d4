#pragma once

#include <string>
#include <string_view>

namespace qm::cli {

/// `utf8` as a JSON string literal, quotes included: quote, backslash and control characters escaped.
std::string JsonString(std::string_view utf8);

}  // namespace qm::cli
