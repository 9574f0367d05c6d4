#pragma once

#include <cstdint>
#include <string>

#include "cli/command.h"
#include "discovery/privacy_value.h"

namespace qm::cli {

/// `show [NODE]` and `clear [NODE]`: search the node (default the root), erasing in `clear`, then print
/// every trace in the order found with its final status, and a summary.
int RunShow(const CommandContext& context);
int RunClear(const CommandContext& context);

/// Searches (and with `clear` erases) the node the context names through the run engine. Exit status: 0
/// done, 1 some trace failed to erase, 3 no catalogue or no such node.
int RunNode(const CommandContext& context, bool clear);

/// One trace as a JSON line: software, item, kind, path, name, value, size, status.
std::string TraceJson(const std::string& software, const std::string& item, const PrivacyValue& pv);
/// The summary line of a run as JSON.
std::string SummaryJson(const std::string& node, int64_t traces, int64_t bytes, int64_t failed);
/// One trace as a plain line: the status word as the log writes it, a tab, the trace's path.
std::string TraceText(const PrivacyValue& pv);
/// Bytes as the status bar shows them: divided by 1000, "##,##0.00", then " K".
std::string SizeText(int64_t bytes);

}  // namespace qm::cli
