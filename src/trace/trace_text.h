#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "trace/privacy_value.h"

namespace qm {

/// The word for a status as the log and the command line write it: "Find", "Delete", "Fill blank",
/// "Keep locked", "Unknown"; "" for a status that is not set.
std::string_view StatusWord(TraceStatus status);

/// The log line's prefix of a status: its word and a blank ("Delete "), or "" when it has no word.
std::string LogPrefix(TraceStatus status);

/// The key of the list icon of a trace (the main window's image list): "reg", "file", "folder" when found;
/// "regdelete", "filedelete", "folderdelete", "fileblank" when erased or overwritten; "reglock", "filelock",
/// "folderlock" when held; "error" for every other status, and for combinations that cannot occur.
std::string_view IconKey(TraceKind kind, TraceStatus status);

/// Bytes as the status bar shows them: divided by 1000 (not 1024), "##,##0.00", then " K".
std::string SizeText(int64_t bytes);

/// Where a trace is, in full, as its log line says it: a file's or folder's path; a registry key's or
/// value's root name, key path and value name ("HKEY_CURRENT_USER\Software\App\Last"); an ini entry's file,
/// section and key ("C:\app.ini [Recent] File1"; without a section, the trace's path).
std::string TraceLocation(const PrivacyValue& pv, std::string_view section = {});

}  // namespace qm
