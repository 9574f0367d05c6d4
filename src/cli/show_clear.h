#pragma once

#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/run_results.h"
#include "trace/privacy_value.h"

namespace qm::cli {

/// Searches (and with `clear` erases) the nodes the context names, the whole tree for none. A clear asks first
/// on a terminal unless --yes, once the catalogue is loaded and the nodes found. Exit status: 0 done (or
/// declined), 1 some trace failed to erase, 2 a name that matches several nodes, 3 no catalogue, registry
/// store or such node, 130 stopped by Ctrl+C.
int RunNode(const CommandContext& context, bool clear);

/// One trace as a JSON line: software, item, kind, path, name, value, size, status, and where it is in full.
std::string TraceJson(const std::string& software, const std::string& item, const PrivacyValue& pv);
/// One folder a walk could not read, as a JSON line.
std::string UnreadableJson(const std::string& path, const RuntimeError& error);
/// The summary line of a run as JSON: the node (or the nodes, for several), traces, bytes, what became of
/// them, unreadable folders, stopped, and the log file when one was written.
std::string SummaryJson(const std::vector<std::string>& nodes, const RunResults& results);
/// The summary of a run as text: "ALL: 12 traces, 1.23 K; 10 erased, 0 kept, 2 held, 0 failed", then the
/// folders that could not be read and whether it stopped. Sizes in binary units with `human`.
std::string SummaryText(const RunResults& results, bool human);
/// One trace as a plain line: what became of it (found, erased, overwritten, held, failed), a tab, and where
/// it is in full (a registry trace with its hive), control characters escaped.
std::string TraceText(const PrivacyValue& pv);

}  // namespace qm::cli
