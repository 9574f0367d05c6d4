#pragma once

#include <string_view>

#include "discovery/walk_context.h"

namespace qm {

/// A special-case parser of Customize items: it adds the traces it finds to the context's collection,
/// erasing them when the context clears, and reports each.
using CustomizeParser = void (*)(WalkContext& context);

/// The parser called `name` (exact, case-sensitive: "ParseRecycleBin", "ParseIEAutoComplete",
/// "ParseMozillaAddressHistory", "ParseMozillaHistoryFile", "ParseMozillaCacheFiles", "ParseMozillaCookies"),
/// or nullptr when there is none.
CustomizeParser FindCustomizeParser(std::string_view name);

}  // namespace qm
