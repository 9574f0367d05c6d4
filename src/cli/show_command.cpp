#include <map>
#include <optional>
#include <utility>

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
    owners_[&pv] = {pi.Software, pi.Title};
    ++count_;
    bytes_ += pv.Size;
    // A line per hundred traces keeps the terminal from slowing the walk down.
    if (progress_ && count_ % 100 == 1) Show(pi);
  }
  void ParseItemFinish(PrivacyItem& pi, int64_t) override {
    if (progress_) Show(pi);
  }

  std::pair<std::string, std::string> Owner(const PrivacyValue& pv) const {
    const auto it = owners_.find(&pv);
    return it == owners_.end() ? std::pair<std::string, std::string>() : it->second;
  }

 private:
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
  std::map<const PrivacyValue*, std::pair<std::string, std::string>> owners_;
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
      for (const auto& pv : *totals.Values) {
        if (context.options.json) {
          const auto [software, item] = collector.Owner(*pv);
          context.out << TraceJson(software, item, *pv) << '\n';
        } else {
          context.out << TraceText(*pv) << '\n';
        }
      }
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
