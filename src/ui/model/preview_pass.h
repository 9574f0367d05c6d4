#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "clean/engine.h"
#include "ui/model/config_tree.h"
#include "ui/model/run_feed.h"
#include "ui/model/run_view.h"

namespace qm::ui {

/// The refusals of a window that previews a configuration, under the window's own caption.
inline constexpr char kNothingToPreviewMessage[] = "Please check which you want to preview! ";
inline constexpr char kStopBeforeCloseMessage[] = "Please stop current processing, then close the window.";

/// The icon key of a found value in a preview list: "reg", "file" or "folder" when found (an ini entry
/// shows "file"), "reglock", "filelock" or "folderlock" when held, "error" for any other status, and "" (no
/// icon) for a held ini entry or a kind without an icon.
std::string_view PreviewIconKey(TraceKind kind, TraceStatus status);

/// A preview list row: the value's text, its icon key, and its path for files and folders.
ListRow PreviewRowOf(const PrivacyValue& pv);

/// What a node of a configuration's tree previews: the configuration (node 0) or one item. Its status text is
/// the heading the status bar shows: the configuration's name, or the item's software + "\" + title.
RunTarget PreviewTarget(const std::shared_ptr<PrivacyConfig>& config, const ConfigTree& tree, std::size_t node);

/// A preview search: every item of a previewed configuration, ticked or not, and nothing erased.
inline constexpr RunOptions kPreviewRun{false, true};

/// The display pass of a target: what its last search kept, every item ticked or not, without searching;
/// `listener` hears the finish events.
RunTotals DisplayKept(const RunTarget& target, RunListener& listener);

/// A run feed that also keeps the text of the newest trace, for the status bar's last panel.
class PreviewFeed final : public RunFeed {
 public:
  using RunFeed::RunFeed;
  void AppendValue(PrivacyItem& pi, PrivacyValue& pv) override;
  /// The text of the newest trace heard.
  std::string LatestValue();

 private:
  std::mutex mutex_;
  std::string latest_;
};

/// Follows a preview pass: its events into the tree, its running count and size into the status panels.
class PreviewProgress {
 public:
  /// `searched`: a search, whose finished nodes take the "show" images; a display pass leaves images alone.
  PreviewProgress(ConfigTree& tree, bool searched) : tree_(tree), searched_(searched) {}

  /// Applies a batch of events in order; `latestValue` is the text of the newest trace heard.
  void Apply(const std::vector<RunEvent>& events, const std::string& latestValue);
  const StatusPanels& Panels() const { return panels_; }

 private:
  ConfigTree& tree_;
  bool searched_;
  RunProgress progress_;
  StatusPanels panels_;
};

}  // namespace qm::ui
