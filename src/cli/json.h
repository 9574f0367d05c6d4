#pragma once

#include <string>
#include <string_view>

namespace qm::cli {

/// Appends `utf8` to `out` as a JSON string literal, quotes included: quote, backslash and control
/// characters escaped.
void AppendJsonString(std::string& out, std::string_view utf8);

/// `utf8` as a JSON string literal.
std::string JsonString(std::string_view utf8);

}  // namespace qm::cli
