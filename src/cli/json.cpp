#include "cli/json.h"

#include <cstdio>

namespace qm::cli {

void AppendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  for (char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

std::string JsonString(std::string_view utf8) {
  std::string quoted;
  AppendJsonString(quoted, utf8);
  return quoted;
}

}  // namespace qm::cli
