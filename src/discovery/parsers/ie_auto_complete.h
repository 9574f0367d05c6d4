#pragma once

#include "discovery/walk_context.h"

namespace qm {

/// The browser's AutoComplete form entries of the run's user. When clearing, the entries are erased (each
/// recorded as a registry key, erased or failed; a failed step writes its line to the activity log) and the
/// stored passwords are deleted too, without becoming traces; a refused password deletion does not cost the
/// entries already erased their place in the result. When showing, the entries are listed. Every entry is
/// reported. Without a user text nothing is looked at.
void ParseIEAutoComplete(WalkContext& context);

}  // namespace qm
