#pragma once

#include "discovery/walk_context.h"

namespace qm {

/// The browser's AutoComplete form entries of the run's user: those of the Internet Explorer 4 to 6 store
/// (each recorded as a registry key) and the form values of Internet Explorer 7 and later. A Show lists them;
/// a Clear erases the same (a failed store step writes its line to the activity log). The saved passwords are
/// never touched. Without a user text nothing is looked at.
void ParseIEAutoComplete(WalkContext& context);

}  // namespace qm
