#include "discovery/customize_parsers.h"

#include <array>
#include <utility>

#include "discovery/parsers/ie_auto_complete.h"
#include "discovery/parsers/mozilla_address_history.h"
#include "discovery/parsers/mozilla_files.h"
#include "discovery/parsers/recycle_bin.h"

namespace qm {

CustomizeParser FindCustomizeParser(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, CustomizeParser>, 6> kParsers = {{
      {"ParseRecycleBin", ParseRecycleBin},
      {"ParseIEAutoComplete", ParseIEAutoComplete},
      {"ParseMozillaAddressHistory", ParseMozillaAddressHistory},
      {"ParseMozillaHistoryFile", ParseMozillaHistoryFile},
      {"ParseMozillaCacheFiles", ParseMozillaCacheFiles},
      {"ParseMozillaCookies", ParseMozillaCookies},
  }};
  for (const auto& [parserName, parser] : kParsers) {
    if (parserName == name) return parser;
  }
  return nullptr;
}

}  // namespace qm
