#include "ui/config_preview.h"

#include <algorithm>

#include "platform/text_win32.h"
#include "ui/config_preview_ids.h"
#include "ui/icons.h"
#include "ui/status_bar.h"
#include "ui/trace_list.h"
#include "ui/model/frame_layout.h"

namespace qm::ui {
namespace {

constexpr UINT kRunEventsMessage = WM_APP + 20;
constexpr UINT kRunDoneMessage = WM_APP + 21;
/// Posted after a click or a blank key in the tree, once the control has flipped the check box.
constexpr UINT kCheckMessage = WM_APP + 22;
constexpr int kPrivacyColumnTwips = 5500;

std::wstring W(const std::string& s) { return text::Widen(s); }

/// Keeps the engine's file logging off while it lives: a preview only looks, whatever the main window's runs
/// write.
class LoggingPaused {
 public:
  explicit LoggingPaused(Engine& engine) : engine_(engine), logging_(engine.Settings.EnableFileLogging) {
    engine_.Settings.EnableFileLogging = false;
  }
  ~LoggingPaused() { engine_.Settings.EnableFileLogging = logging_; }
  LoggingPaused(const LoggingPaused&) = delete;
  LoggingPaused& operator=(const LoggingPaused&) = delete;

 private:
  Engine& engine_;
  bool logging_;
};

}  // namespace

/// A preview in progress: its node, how far it got, its feed and its thread. The thread is waited for before the
/// logging comes back.
struct ConfigPreview::ActiveRun {
  ActiveRun(Engine& engine, ConfigTree& tree, std::size_t node) : Node(node), Progress(tree, true), Paused(engine) {}
  std::size_t Node;
  PreviewProgress Progress;
  LoggingPaused Paused;
  std::unique_ptr<PreviewFeed> Feed;
  std::unique_ptr<RunThread> Thread;
};

ConfigPreview::ConfigPreview(HWND dialog, ConfigPreviewArgs args, ConfigTree& tree,
                             std::shared_ptr<PrivacyConfig> config)
    : dialog_(dialog), args_(std::move(args)), tree_(tree), config_(std::move(config)) {}

ConfigPreview::~ConfigPreview() {
  StopRun();
  run_.reset();
  if (images_) ImageList_Destroy(images_);
}

void ConfigPreview::Load() {
  HWND treeView = Control(IDC_PREVIEW_TREE);
  // Check boxes are turned on before the first node is added, as the control asks.
  SetWindowLongPtrW(treeView, GWL_STYLE, GetWindowLongPtrW(treeView, GWL_STYLE) | TVS_CHECKBOXES);
  images_ = CreatePrivacyImages(GetSystemMetricsForDpi(SM_CXSMICON, Dpi()));
  TreeView_SetImageList(treeView, images_, TVSIL_NORMAL);
  SetUpList(IDC_PREVIEW_LIST);

  TVINSERTSTRUCTW root{};
  root.hParent = TVI_ROOT;
  root.hInsertAfter = TVI_LAST;
  root.item.mask = TVIF_TEXT;
  root.item.pszText = const_cast<wchar_t*>(L"");
  items_.assign(1, TreeView_InsertItem(treeView, &root));
  for (std::size_t node = 1; node < tree_.size(); ++node) AddNode();
  SyncTree();
  SelectNode(0);
  SetStatus({});
  NodeClicked();
}

void ConfigPreview::SetUpList(int id) const {
  HWND list = Control(id);
  ListView_SetImageList(list, images_, LVSIL_SMALL);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(L"Privacy");
  column.cx = TwipsToPixels(kPrivacyColumnTwips, Dpi());
  ListView_InsertColumn(list, 0, &column);
  column.pszText = const_cast<wchar_t*>(L"");
  column.cx = TwipsToPixels(args_.pathColumnTwips, Dpi());
  ListView_InsertColumn(list, 1, &column);
}

int ConfigPreview::Dpi() const {
  const UINT dpi = GetDpiForWindow(dialog_);
  return dpi ? static_cast<int>(dpi) : 96;
}

bool ConfigPreview::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: return HandleNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_PREVIEW_BUTTON) return false;
      TogglePreview();
      return true;
    case kRunEventsMessage: OnRunEvents(); return true;
    case kRunDoneMessage: OnRunDone(); return true;
    case kCheckMessage: ApplyCheck(); return true;
    default: return false;
  }
}

bool ConfigPreview::HandleNotify(const NMHDR& header) {
  if (header.idFrom == IDC_PREVIEW_TREE) {
    switch (header.code) {
      case TVN_SELCHANGINGW:
        // No other node while a preview runs.
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, run_ && !selecting_);
        return true;
      case TVN_SELCHANGEDW:
        if (!selecting_ && !run_) NodeClicked();
        return false;
      case NM_CLICK: PostMessageW(dialog_, kCheckMessage, 0, 0); return false;
      case TVN_KEYDOWN:
        if (reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_SPACE) PostMessageW(dialog_, kCheckMessage, 0, 0);
        return false;
      case NM_DBLCLK:
        if (!onDoubleClick) return false;
        onDoubleClick();
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
        return true;
      default: return false;
    }
  }
  if (header.idFrom != IDC_PREVIEW_LIST) return false;
  if (header.code == LVN_GETDISPINFOW) {
    auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
    if (!listed_ || info.item.iItem < 0 || static_cast<std::size_t>(info.item.iItem) >= listedRows_) return false;
    const ListRow row = PreviewRowOf(*listed_->Item(info.item.iItem + 1));
    if (info.item.mask & LVIF_TEXT) {
      lstrcpynW(info.item.pszText, W(info.item.iSubItem == 0 ? row.Text : row.Path).c_str(), info.item.cchTextMax);
    }
    if (info.item.mask & LVIF_IMAGE) info.item.iImage = row.Icon.empty() ? I_IMAGENONE : PrivacyImageIndex(row.Icon);
    return false;
  }
  if (header.code == NM_CLICK) {
    const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
    if (listed_ && row >= 0 && static_cast<std::size_t>(row) < listedRows_) {
      StatusPanels panels = panels_;
      panels.Row = listed_->Item(row + 1)->Value;
      SetStatus(panels);
    }
  }
  return false;
}

bool ConfigPreview::RefuseClose() {
  if (!run_) return false;
  args_.prompt.Ask(args_.caption, kStopBeforeCloseMessage, PromptButtons::Ok, PromptIcon::Exclamation);
  return true;
}

std::size_t ConfigPreview::SelectedNode() const {
  const HTREEITEM selected = TreeView_GetSelection(Control(IDC_PREVIEW_TREE));
  const auto found = std::find(items_.begin(), items_.end(), selected);
  return selected && found != items_.end() ? static_cast<std::size_t>(found - items_.begin()) : ConfigTree::kNone;
}

void ConfigPreview::SelectNode(std::size_t node) {
  selecting_ = true;
  TreeView_SelectItem(Control(IDC_PREVIEW_TREE), items_[node]);
  selecting_ = false;
}

void ConfigPreview::SyncTree() {
  HWND treeView = Control(IDC_PREVIEW_TREE);
  for (std::size_t node = 0; node < items_.size() && node < tree_.size(); ++node) {
    const ConfigTreeNode& shown = tree_[node];
    const std::wstring text = W(shown.Text);
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = items_[node];
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
    item.state = (shown.Bold ? TVIS_BOLD : 0) | INDEXTOSTATEIMAGEMASK(shown.Checked ? 2 : 1);
    item.iImage = PrivacyImageIndex(shown.Image);
    item.iSelectedImage = PrivacyImageIndex(shown.SelectedImage);
    TreeView_SetItem(treeView, &item);
  }
  if (tree_[0].Expanded) TreeView_Expand(treeView, items_[0], TVE_EXPAND);
}

void ConfigPreview::AddNode() {
  TVINSERTSTRUCTW insert{};
  insert.hParent = items_[0];
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(L"");
  items_.push_back(TreeView_InsertItem(Control(IDC_PREVIEW_TREE), &insert));
  SyncTree();
}

void ConfigPreview::RemoveNode(std::size_t node) {
  // The selection the control moves elsewhere is no click.
  selecting_ = true;
  TreeView_DeleteItem(Control(IDC_PREVIEW_TREE), items_[node]);
  selecting_ = false;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(node));
}

std::vector<const PrivacyValue*> ConfigPreview::SelectedValues() const {
  std::vector<const PrivacyValue*> values;
  HWND list = Control(IDC_PREVIEW_LIST);
  for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
    if (listed_ && static_cast<std::size_t>(row) < listedRows_) values.push_back(listed_->Item(row + 1).get());
  }
  return values;
}

void ConfigPreview::NodeClicked() {
  const std::size_t node = SelectedNode();
  if (node == ConfigTree::kNone) return;
  if (onNodeClick) onNodeClick(node);
  BeginPass(node);
  PreviewFeed feed([] {});
  PreviewProgress progress(tree_, false);
  const RunTotals totals = DisplayKept(PreviewTarget(config_, tree_, node), feed);
  progress.Apply(feed.Take(), "");
  SyncTree();
  ShowResult(totals);
}

void ConfigPreview::TogglePreview() {
  if (run_) {
    // The button reads "Stop".
    StopRun();
    return;
  }
  const std::size_t node = SelectedNode();
  if (node == ConfigTree::kNone) {
    args_.prompt.Ask(args_.caption, kNothingToPreviewMessage, PromptButtons::Ok, PromptIcon::Exclamation);
    return;
  }
  tree_.ResetNodeText(node);
  SyncTree();
  BeginPass(node);
  SetStatus({});
  auto run = std::make_unique<ActiveRun>(args_.engine, tree_, node);
  const HWND dialog = dialog_;
  run->Feed = std::make_unique<PreviewFeed>([dialog] { PostMessageW(dialog, kRunEventsMessage, 0, 0); });
  // The run's end comes as a message, so it is heard only once the run is in place.
  run->Thread = std::make_unique<RunThread>(args_.engine, PreviewTarget(config_, tree_, node), kPreviewRun, *run->Feed,
                                            [dialog] { PostMessageW(dialog, kRunDoneMessage, 0, 0); });
  run_ = std::move(run);
  SetDlgItemTextW(dialog_, IDC_PREVIEW_BUTTON, L"Stop");
  if (onRunning) onRunning(true);
}

void ConfigPreview::StopRun() {
  // A stop asked for after the search ended would stop the engine's next run, the main window's too.
  if (run_ && !args_.engine.ProcessEnd()) args_.engine.RequestStop();
}

void ConfigPreview::BeginPass(std::size_t node) {
  listed_.reset();
  listedRows_ = 0;
  ListView_SetItemCount(Control(IDC_PREVIEW_LIST), 0);
  if (onPass) onPass(node);
}

void ConfigPreview::OnRunEvents() {
  if (!run_) return;
  run_->Progress.Apply(run_->Feed->Take(), run_->Feed->LatestValue());
  SyncTree();
  SetStatus(run_->Progress.Panels());
}

void ConfigPreview::OnRunDone() {
  if (!run_) return;
  OnRunEvents();
  const std::unique_ptr<ActiveRun> run = std::move(run_);
  SetDlgItemTextW(dialog_, IDC_PREVIEW_BUTTON, L"Preview");
  if (onRunning) onRunning(false);
  SelectNode(run->Node);
  // The totals, or the error that ended the run (another run of the engine was active, say).
  ShowResult(run->Thread->Result());
}

void ConfigPreview::ShowResult(const RunTotals& totals) {
  SetStatus(ShowTraces(Control(IDC_PREVIEW_LIST), totals, args_.displayMaxRows, listed_, listedRows_));
}

void ConfigPreview::ApplyCheck() {
  // The first node whose box differs from the tree is the one the user flipped; the tree's rules settle the
  // others, and the boxes follow the tree.
  HWND treeView = Control(IDC_PREVIEW_TREE);
  for (std::size_t node = 0; node < items_.size() && node < tree_.size(); ++node) {
    const bool checked = TreeView_GetCheckState(treeView, items_[node]) == 1;
    if (checked == tree_[node].Checked) continue;
    tree_.Check(node, checked);
    SyncTree();
    return;
  }
}

void ConfigPreview::SetStatus(const StatusPanels& panels) {
  panels_ = panels;
  SetStatusPanels(Control(IDC_PREVIEW_STATUS), panels, Dpi());
}

}  // namespace qm::ui
