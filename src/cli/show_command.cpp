#include <optional>
#include <vector>

#include "clean/privacy_log.h"
#include "clean/run_engine.h"
#include "cli/catalogue_loader.h"
#include "cli/show_clear.h"
#include "config/catalogue_tree.h"
#include "platform/console.h"
#include "settings/system_settings.h"

namespace qm::cli {
namespace {

/// Remembers which item found each trace, and keeps a progress line on the error stream up to date when it
/// is a terminal.
class TraceCollector : public RunListener {
 public:
  TraceCollector(std::ostream& err, bool progress) : err_(err), progress_(progress) {}
  ~TraceCollector() {
    if (shown_) err_ << '\n' << std::flush;
  }

  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override {
    ++count_;
    bytes_ += pv.Size;
    // A line per hundred traces keeps the terminal from slowing the walk down.
    if (progress_ && count_ % 100 == 1) Show(pi);
  }
  void ParseItemFinish(PrivacyItem& pi, int64_t lTotalCount) override {
    if (lTotalCount > 0) finished_.push_back({&pi, lTotalCount});
    if (progress_) Show(pi);
  }

  /// Calls `print(item, trace)` for each trace of `values`, the run's merged result. The result is the
  /// items' results one after the other, in the order the items finished, so the owners are known from
  /// one entry per item rather than one per trace.
  template <class Print>
  void ForEachOwned(const PrivacyValues& values, Print print) const {
    std::size_t run = 0;
    int64_t taken = 0;
    for (const auto& pv : values) {
      while (run < finished_.size() && taken == finished_[run].count) {
        ++run;
        taken = 0;
      }
      print(run < finished_.size() ? finished_[run].item : nullptr, *pv);
      ++taken;
    }
  }

 private:
  struct FinishedItem {
    const PrivacyItem* item;
    int64_t count;
  };

  void Show(const PrivacyItem& pi) {
    err_ << "\r" << count_ << " traces, " << SizeText(bytes_) << "  " << pi.Software << "\\" << pi.Title
         << "\x1b[K" << std::flush;
    shown_ = true;
  }

  std::ostream& err_;
  const bool progress_;
  bool shown_ = false;
  int64_t count_ = 0;
  int64_t bytes_ = 0;
  std::vector<FinishedItem> finished_;
};

bool NodeExists(const PrivacyConfigs& catalogue, const std::string& tag, bool all) {
  for (const CatalogueTreeNode& node : BuildCatalogueTree(catalogue, all)) {
    if (node.Tag == tag) return true;
  }
  return false;
}

}  // namespace

int RunNode(const CommandContext& context, bool clear) {
  PrivacyConfigs catalogue;
  if (!LoadCatalogue(context, catalogue)) return kExitNoCatalogue;
  const std::string tag = context.options.argument.value_or(kTreeRootText);
  // Only a node of the tree the window (or `list`) shows can be run: the same selection code then picks it.
  const std::optional<RunTarget> target =
      NodeExists(catalogue, tag, context.options.all) ? SelectRunTarget(catalogue, tag) : std::nullopt;
  if (!target) {
    ReportError(context, "no such node: " + tag);
    return kExitNoCatalogue;
  }

  LoadSystemSettings();
  RunEngine engine(catalogue, ThePrivacyLog());
  RunTotals totals;
  {
    TraceCollector collector(context.err, console::IsTerminal(console::Stream::Err));
    totals = engine.Run(*target, clear, context.options.all, &collector);
    if (totals.Values) {
      collector.ForEachOwned(*totals.Values, [&](const PrivacyItem* owner, const PrivacyValue& pv) {
        if (context.options.json) {
          context.out << TraceJson(owner ? owner->Software : "", owner ? owner->Title : "", pv) << '\n';
        } else {
          context.out << TraceText(pv) << '\n';
        }
      });
    }
  }
  if (context.options.json) {
    context.out << SummaryJson(tag, totals.Count, totals.Bytes, totals.Failed) << '\n';
  } else {
    context.out << totals.StatusText << ": " << totals.Count << " traces, " << SizeText(totals.Bytes);
    if (totals.Failed > 0) context.out << ", " << totals.Failed << " not erased";
    context.out << '\n';
  }
  context.out.flush();
  return totals.Failed > 0 ? kExitSomeFailed : kExitDone;
}

int RunShow(const CommandContext& context) { return RunNode(context, false); }

}  // namespace qm::cli
