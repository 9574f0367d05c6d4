#include <optional>
#include <utility>
#include <vector>

#include "cli/engine_setup.h"
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
    ReportError(context_, "cannot read " + path + ": " + error.Description());
    problems.emplace_back(path, error);
  }
  void Warning(const std::string& message) override {
    EndProgress();
    ReportError(context_, "warning: " + message);
  }

  std::vector<std::pair<std::string, RuntimeError>> problems;

 private:
  void Show(const PrivacyItem& pi) {
    context_.err << "\r" << count_ << " traces, " << SizeText(bytes_) << "  " << pi.Software << "\\" << pi.Title
                 << "\x1b[K" << std::flush;
    shown_ = true;
  }

  const CommandContext& context_;
  const bool progress_;
  bool shown_ = false;
  int64_t count_ = 0;
  int64_t bytes_ = 0;
};

/// Asks on the terminal whether to clear `target`. Nothing when the answer is no; an interrupted question
/// answers no too.
bool ConfirmClear(const CommandContext& context, Engine& engine, const RunTarget& target) {
  const int64_t items = ItemCount(engine.Catalogue(), target, context.options.all);
  context.err << "Are you sure to clear the privacy item \"" << target.NodeText << "\" and its all subitems? It covers "
              << items << (items == 1 ? " item" : " items") << ". [y/N] " << std::flush;
  const bool yes = console::ReadYesNo(context.interrupts.Interrupted());
  if (context.interrupts.Interrupted().load()) context.err << '\n';
  return yes;
}

void PrintResult(const CommandContext& context, const std::string& tag, const RunTotals& totals,
                 RunReporter& reporter) {
  reporter.EndProgress();
  totals.ForEachTrace([&](const PrivacyItem* owner, const PrivacyValue& pv) {
    if (context.options.json) {
      context.out << TraceJson(owner ? owner->Software : "", owner ? owner->Title : "", pv) << '\n';
    } else {
      context.out << TraceText(pv) << '\n';
    }
  });
  if (context.options.json) {
    for (const auto& [path, error] : reporter.problems) context.out << ProblemJson(path, error) << '\n';
    context.out << SummaryJson(tag, totals) << '\n';
  } else {
    context.out << SummaryText(totals) << '\n';
    if (!totals.LogFileName.empty()) context.err << "Log file is " << totals.LogFileName << '\n';
  }
}

}  // namespace

int RunNode(const CommandContext& context, bool clear) {
  std::unique_ptr<EngineSession> session = OpenEngine(context);
  if (!session) return kExitNoCatalogue;
  Engine& engine = session->engine();
  const std::string tag = context.options.argument.value_or(kTreeRootText);
  // Only a node of the tree the window (or `list`) shows can be run: the same selection code then picks it.
  const std::optional<RunTarget> target = SelectRunTarget(engine.Catalogue(), tag, context.options.all);
  if (!target) {
    ReportError(context, "no such node: " + tag);
    return kExitNoCatalogue;
  }
  if (clear && !context.options.yes && console::IsTerminal(console::Stream::In)) {
    const bool yes = ConfirmClear(context, engine, *target);
    if (context.interrupts.Interrupted().load()) return kExitInterrupted;
    if (!yes) return kExitDone;
  }

  RunReporter reporter(context, console::IsTerminal(console::Stream::Err));
  RunTotals totals;
  try {
    totals = engine.Run(*target, RunOptions{clear, context.options.all}, &reporter);
  } catch (const RuntimeError& e) {
    ReportError(context, e.Description());
    return kExitNoCatalogue;
  }
  if (!totals.LogFileName.empty()) {
    try {
      engine.Log().DeleteExpiredLogs(engine.Settings.KeepLogDays);
    } catch (const RuntimeError& e) {
      reporter.Warning("expired logs cannot be deleted: " + e.Description());
    }
  }
  PrintResult(context, tag, totals, reporter);
  if (totals.Stopped) return kExitInterrupted;
  return totals.Failed > 0 ? kExitSomeFailed : kExitDone;
}

int RunShow(const CommandContext& context) { return RunNode(context, false); }

int RunClear(const CommandContext& context) { return RunNode(context, true); }

}  // namespace qm::cli
