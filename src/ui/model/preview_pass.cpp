#include "ui/model/preview_pass.h"

#include "config/catalogue_tree.h"

namespace qm::ui {
namespace {

/// Walks that never search: a display pass only reports what the last search kept.
class KeptOnly final : public ItemWalks {
 public:
  std::shared_ptr<PrivacyValues> SeekPrivacyValue(PrivacyItem&, std::shared_ptr<PrivacyValues> values, bool) override {
    return values;
  }
  bool Detects(PrivacyItem&) override { return true; }
  bool StopRequested() const override { return false; }
};

/// Runs `pass` on `source` while `listener` is subscribed to it.
template <class Source, class Listener, class Pass>
std::shared_ptr<PrivacyValues> Heard(Source& source, Listener* listener, Pass&& pass) {
  struct Subscription {
    Source& source;
    Listener* listener;
    ~Subscription() { source.Unsubscribe(listener); }
  } subscription{source, listener};
  source.Subscribe(listener);
  return pass();
}

}  // namespace

std::string_view PreviewIconKey(TraceKind kind, TraceStatus status) {
  const bool registry = kind == TraceKind::RegistryValue || kind == TraceKind::RegistryKey;
  const bool known = registry || kind == TraceKind::File || kind == TraceKind::Folder || kind == TraceKind::IniEntry;
  if (status == TraceStatus::Held) {
    if (registry) return "reglock";
    return kind == TraceKind::File ? "filelock" : kind == TraceKind::Folder ? "folderlock" : "";
  }
  if (status != TraceStatus::Found) return "error";
  if (!known) return "";
  return registry ? "reg" : kind == TraceKind::Folder ? "folder" : "file";
}

ListRow PreviewRowOf(const PrivacyValue& pv) {
  const bool inFolders = pv.ValueType == TraceKind::File || pv.ValueType == TraceKind::Folder;
  return {pv.Value, PreviewIconKey(pv.ValueType, pv.ValueStatus), inFolders ? pv.Path : ""};
}

RunTarget PreviewTarget(const std::shared_ptr<PrivacyConfig>& config, const ConfigTree& tree, std::size_t node) {
  RunTarget target;
  target.Config = config;
  target.NodeText = tree.BaseText(node);
  if (node == 0) {
    target.Scope = RunTarget::Level::Config;
    target.StatusText = config->Software;
  } else {
    target.Scope = RunTarget::Level::Item;
    target.Item = tree.ItemOf(node);
    target.StatusText = target.Item->Software + kTreeTagSeparator + target.Item->Title;
  }
  return target;
}

RunTotals DisplayKept(const RunTarget& target, RunListener& listener) {
  KeptOnly walks;
  const SearchOptions options{false, true, false};
  const std::shared_ptr<PrivacyValues> values =
      target.Item ? Heard<PrivacyItem, PrivacyItemEvents>(*target.Item, &listener,
                                                          [&] { return target.Item->GetPrivacyValue(walks, options); })
                  : Heard<PrivacyConfig, PrivacyConfigEvents>(
                        *target.Config, &listener, [&] { return target.Config->GetPrivacyValue(walks, options); });
  return TotalsOf(values, target.StatusText);
}

void PreviewFeed::AppendValue(PrivacyItem& pi, PrivacyValue& pv) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    latest_ = pv.Value;
  }
  RunFeed::AppendValue(pi, pv);
}

std::string PreviewFeed::LatestValue() {
  std::lock_guard<std::mutex> lock(mutex_);
  return latest_;
}

void PreviewProgress::Apply(const std::vector<RunEvent>& events, const std::string& latestValue) {
  for (const RunEvent& event : events) {
    switch (event.What) {
      case RunEvent::Kind::Traces:
        progress_.Add(event.Item->Software, event.Item->Title, event.Count, event.Bytes);
        panels_ = progress_.Panels();
        panels_.Row = latestValue;
        tree_.OnAppendValue(*event.Item);
        break;
      case RunEvent::Kind::ItemFinish:
        tree_.OnParseItemFinish(*event.Item, event.Count, searched_);
        panels_.Row.clear();
        break;
      case RunEvent::Kind::ConfigFinish: tree_.OnParseConfigFinish(*event.Config, event.Count, searched_); break;
      default: break;
    }
  }
}

}  // namespace qm::ui
