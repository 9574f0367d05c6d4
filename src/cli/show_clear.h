#pragma once

#include <cstdint>
#include <string>

#include "clean/run_totals.h"
#include "cli/command.h"
#include "trace/privacy_value.h"

namespace qm::cli {

/// Searches (and with `clear` erases) the node the context names. A clear asks first on a terminal unless
/// --yes, once the catalogue is loaded and the node found. Exit status: 0 done (or declined), 1 some trace
/// failed to erase, 3 no catalogue, registry store or such node, 130 stopped by Ctrl+C.
int RunNode(const CommandContext& context, bool clear);

/// One trace as a JSON line: software, item, kind, path, name, value, size, status.
std::string TraceJson(const std::string& software, const std::string& item, const PrivacyValue& pv);
/// One folder a walk could not read, as a JSON line.
std::string ProblemJson(const std::string& path, const RuntimeError& error);
/// The summary line of a run as JSON: node, traces, bytes, failed, unreadable folders, stopped, and the log
/// file when one was written.
std::string SummaryJson(const std::string& node, const RunTotals& totals);
/// The summary of a run as text: "ALL: 12 traces, 1.23 K", then what failed, could not be read, stopped.
std::string SummaryText(const RunTotals& totals);
/// One trace as a plain line: the status word as the log writes it, a tab, the trace's path.
std::string TraceText(const PrivacyValue& pv);

}  // namespace qm::cli
