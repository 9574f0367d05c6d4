#pragma once

#include <string>

#include "discovery/parsers/parse_run.h"

namespace qm {

/// The browser's AutoComplete form entries of `userText`. When clearing, the entries are erased (their
/// collection becomes the run's result; a failed step writes its line to the activity log) and the stored
/// passwords are deleted too, without becoming traces; a refused password deletion does not cost the
/// entries already erased their place in the result. When showing, the entries are listed. Every entry is
/// reported.
void ParseIEAutoComplete(ParseRun& run, const std::string& userText);

}  // namespace qm
