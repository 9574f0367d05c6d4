#pragma once

#include <string>

#include "discovery/parsers/parse_run.h"

namespace qm {

/// Each profile's history.dat below `profilesFolder` (see ForEachMozillaProfile), recorded and, when
/// clearing, erased (overwritten when it cannot be deleted). `StopRequested` ends the walk before a file.
void ParseMozillaHistoryFile(ParseRun& run, const std::string& profilesFolder);
/// Each profile's cookies.txt, as history.dat.
void ParseMozillaCookies(ParseRun& run, const std::string& profilesFolder);
/// Every file (or link) directly in each profile's Cache folder, as history.dat; sub-folders of Cache are
/// not looked at and the Cache folder itself stays.
void ParseMozillaCacheFiles(ParseRun& run, const std::string& profilesFolder);

}  // namespace qm
