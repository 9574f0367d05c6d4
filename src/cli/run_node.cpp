#include <utility>
#include <vector>

#include "cli/display_text.h"
#include "cli/engine_setup.h"
#include "cli/node_names.h"
#include "cli/show_clear.h"
#include "platform/console.h"
#include "trace/trace_text.h"

namespace qm::cli {
namespace {

/// Keeps a progress line on the error stream up to date when it is a terminal, tells each folder that could
/// not be read there at once, and keeps those for the JSON output.
class RunReporter : public RunListener {
 public:
  RunReporter(const CommandContext& context, bool progress) : context_(context), progress_(progress) {}
  ~RunReporter() { EndProgress(); }

  /// Ends the progress line, so what follows starts a line of its own.
  void EndProgress() {
    if (shown_) context_.err << '\n' << std::flush;
    shown_ = false;
  }

  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override {
    ++count_;
    bytes_ += pv.Size;
    // A line per hundred traces keeps the terminal from slowing the walk down.
    if (progress_ && count_ % 100 == 1) Show(pi);
  }
  void ParseItemFinish(PrivacyItem& pi, int64_t) override {
    if (progress_) Show(pi);
  }
  void WalkProblem(PrivacyItem&, const std::string& path, const RuntimeError& error) override {
    EndProgress();
    Warn(context_, "cannot read " + EscapedText(path) + ": " + error.Description());
    problems.emplace_back(path, error);
  }
  void Warning(const std::string& message) override {
    EndProgress();
    Warn(context_, message);
  }

  std::vector<std::pair<std::string, RuntimeError>> problems;

 private:
  void Show(const PrivacyItem& pi) {
    const std::string size = context_.options.human ? HumanSize(bytes_) : SizeText(bytes_);
    context_.err << "\r" << count_ << " traces, " << size << "  " << EscapedText(pi.Software + "\\" + pi.Title)
                 << "\x1b[K" << std::flush;
    shown_ = true;
  }

  const CommandContext& context_;
  const bool progress_;
  bool shown_ = false;
  int64_t count_ = 0;
  int64_t bytes_ = 0;
};

/// The message of a name that matches several nodes, with their names.
std::string AmbiguousName(const std::string& name, const std::vector<CatalogueTreeNode>& tree,
                          const std::vector<std::size_t>& candidates) {
  std::string message = "the node name \"" + name + "\" matches " + std::to_string(candidates.size()) + " nodes:";
  for (std::size_t index : candidates) message += "\n  " + ShortNodeName(tree[index].Tag);
  return message;
}

/// The nodes a run takes, by their full tags and as targets.
struct Selection {
  int status = kExitDone;  ///< what the program ends with when a name names no node, or several
  std::vector<std::string> tags;
  std::vector<RunTarget> targets;
};

/// The nodes of the NODE arguments (the root without one), each once and none inside another; the failure,
/// told, when a name names no node or several.
Selection SelectNodes(const CommandContext& context, Engine& engine) {
  const bool all = context.options.all;
  const std::vector<CatalogueTreeNode> tree = BuildCatalogueTree(engine.Catalogue(), all);
  const std::vector<std::string> names =
      context.options.arguments.empty() ? std::vector<std::string>{kTreeRootText} : context.options.arguments;
  Selection selection;
  std::vector<std::size_t> nodes;
  for (const std::string& name : names) {
    const NodeLookup lookup = LookUpNode(tree, name);
    if (lookup.index != CatalogueTreeNode::kNoParent) {
      nodes.push_back(lookup.index);
    } else if (lookup.candidates.empty()) {
      selection.status = Fail(context, kExitNoCatalogue, "no such node: " + name);
      return selection;
    } else {
      selection.status = Fail(context, kExitUsage, AmbiguousName(name, tree, lookup.candidates));
      return selection;
    }
  }
  for (std::size_t node : OutermostNodes(tree, nodes)) {
    selection.tags.push_back(tree[node].Tag);
    selection.targets.push_back(*SelectRunTarget(engine.Catalogue(), tree[node].Tag, all));
  }
  return selection;
}

/// Asks on the terminal whether to clear the targets. Nothing when the answer is no; an interrupted question
/// answers no too.
bool ConfirmClear(const CommandContext& context, Engine& engine, const Selection& selection) {
  int64_t items = 0;
  std::string names;
  for (std::size_t i = 0; i < selection.targets.size(); ++i) {
    items += ItemCount(engine.Catalogue(), selection.targets[i], context.options.all);
    names += (names.empty() ? "\"" : ", \"") + ShortNodeName(selection.tags[i]) + "\"";
  }
  if (selection.targets.size() == 1) {
    context.err << "Are you sure to clear the privacy item " << names << " and its all subitems? It covers ";
  } else {
    context.err << "Are you sure to clear the privacy items " << names << " and all their subitems? They cover ";
  }
  context.err << items << (items == 1 ? " item" : " items") << ". [y/N] " << std::flush;
  const bool yes = console::ReadYesNo(context.interrupts.Interrupted());
  if (context.interrupts.Interrupted().load()) context.err << '\n';
  return yes;
}

void PrintResults(const CommandContext& context, const Selection& selection, const RunResults& results,
                  RunReporter& reporter) {
  reporter.EndProgress();
  const bool json = context.options.json;
  for (const RunResults::Trace& trace : results.Traces()) {
    if (json) {
      context.out << TraceJson(trace.item ? trace.item->Software : "", trace.item ? trace.item->Title : "",
                               *trace.value)
                  << '\n';
    } else {
      context.out << TraceText(*trace.value) << '\n';
    }
  }
  if (json) {
    for (const auto& [path, error] : reporter.problems) context.out << UnreadableJson(path, error) << '\n';
    context.out << SummaryJson(selection.tags, results) << '\n';
  } else {
    context.out << SummaryText(results, context.options.human) << '\n';
    if (const std::string log = results.LogFileName(); !log.empty()) context.err << "Log file is " << log << '\n';
  }
}

}  // namespace

int RunNode(const CommandContext& context, bool clear) {
  std::unique_ptr<EngineSession> session = OpenEngine(context);
  if (!session) return kExitNoCatalogue;
  Engine& engine = session->engine();
  const Selection selection = SelectNodes(context, engine);
  if (selection.status != kExitDone) return selection.status;
  if (clear && !context.options.yes && console::IsTerminal(console::Stream::In)) {
    const bool yes = ConfirmClear(context, engine, selection);
    if (context.interrupts.Interrupted().load()) return kExitInterrupted;
    if (!yes) return kExitDone;
  }

  RunReporter reporter(context, console::IsTerminal(console::Stream::Err));
  RunResults results;
  try {
    for (RunTotals& run : engine.Run(selection.targets, RunOptions{clear, context.options.all}, &reporter)) {
      results.Add(std::move(run));
    }
  } catch (const RuntimeError& e) {
    return Fail(context, kExitNoCatalogue, e.Description());
  }
  if (!results.LogFileName().empty()) {
    try {
      engine.Log().DeleteExpiredLogs(engine.Settings.KeepLogDays);
    } catch (const RuntimeError& e) {
      reporter.Warning("expired logs cannot be deleted: " + e.Description());
    }
  }
  PrintResults(context, selection, results, reporter);
  if (results.Stopped()) return kExitInterrupted;
  return results.Tally().failed > 0 ? kExitSomeFailed : kExitDone;
}

int RunShow(const CommandContext& context) { return RunNode(context, false); }

int RunClear(const CommandContext& context) { return RunNode(context, true); }

}  // namespace qm::cli
