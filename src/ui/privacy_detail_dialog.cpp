#include "ui/privacy_detail_dialog.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/text_win32.h"
#include "ui/config_preview.h"
#include "ui/config_preview_ids.h"
#include "ui/icons.h"
#include "ui/model/hold_lists.h"
#include "ui/privacy_detail_dialog_ids.h"

namespace qm::ui {
namespace {

constexpr int kPathColumnTwips = 1400;

/// The window: the shared preview over a tree of the configuration, the description of the clicked node, and
/// the hold list of a previewed item that keeps one.
class PrivacyDetailDialog {
 public:
  static constexpr char kCaption[] = "Privacy Detail";

  explicit PrivacyDetailDialog(const PrivacyDetailArgs& args)
      // The opener owns the configuration; the preview's target only borrows it.
      : args_(args), config_(std::shared_ptr<PrivacyConfig>(), &args.config), holds_(args.config) {
    tree_.Load(args.config);
  }

  Prompt& Prompter() { return args_.prompt; }

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      OnInit(dialog);
      return TRUE;
    }
    if (preview_ && preview_->Handle(message, wParam, lParam)) return TRUE;
    switch (message) {
      case WM_COMMAND: OnCommand(LOWORD(wParam)); return TRUE;
      case WM_LBUTTONDOWN:
        // A click on the window's background ticks the configuration alone.
        tree_.CheckRoot();
        preview_->SyncTree();
        return TRUE;
      default: return FALSE;
    }
  }

 private:
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  void OnInit(HWND dialog) {
    dialog_ = dialog;
    preview_ = std::make_unique<ConfigPreview>(
        dialog, ConfigPreviewArgs{args_.engine, args_.prompt, kCaption, args_.displayMaxRows, kPathColumnTwips}, tree_,
        config_);
    // The designed height shows the hold list; without one the window ends below the found values.
    RECT window{}, list{}, holdList{};
    GetWindowRect(dialog, &window);
    GetWindowRect(Control(IDC_PREVIEW_LIST), &list);
    GetWindowRect(Control(IDC_DETAIL_HOLD_LIST), &holdList);
    fullHeight_ = window.bottom - window.top;
    compactHeight_ = fullHeight_ - (holdList.bottom - list.bottom);
    preview_->onNodeClick = [this](std::size_t node) {
      SetDlgItemTextW(dialog_, IDC_DETAIL_DESCRIPTION,
                      text::Widen("Description:\r\n" + std::string(12, ' ') + tree_.Tag(node)).c_str());
    };
    preview_->onPass = [this](std::size_t node) { ShowHolds(node); };
    preview_->Load();
    preview_->SetUpList(IDC_DETAIL_HOLD_LIST);
  }

  void OnCommand(int id) {
    switch (id) {
      case IDOK:
        if (preview_->RefuseClose()) return;
        holds_.WriteBack(args_.config, tree_);
        EndDialog(dialog_, IDOK);
        return;
      case IDCANCEL:
        if (!preview_->RefuseClose()) EndDialog(dialog_, IDCANCEL);
        return;
      case IDC_DETAIL_HOLD:
        if (!holdItem_) return;
        holds_.Hold(*holdItem_, preview_->SelectedValues());
        FillHoldList();
        return;
      case IDC_DETAIL_UNHOLD: {
        if (!holdItem_) return;
        std::vector<std::size_t> rows;
        HWND list = Control(IDC_DETAIL_HOLD_LIST);
        for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
          rows.push_back(static_cast<std::size_t>(row));
        }
        holds_.Unhold(*holdItem_, rows);
        FillHoldList();
        return;
      }
      default: return;
    }
  }

  /// A pass of `node` begins: an item that keeps holds shows its hold list, any other node none.
  void ShowHolds(std::size_t node) {
    const std::shared_ptr<PrivacyItem> item = tree_.ItemOf(node);
    holdItem_.reset();
    if (item && item->HoldFlag) holdItem_ = node - 1;
    for (int id : {IDC_DETAIL_HOLD_LIST, IDC_DETAIL_HOLD, IDC_DETAIL_UNHOLD}) {
      ShowWindow(Control(id), holdItem_ ? SW_SHOW : SW_HIDE);
    }
    RECT window{};
    GetWindowRect(dialog_, &window);
    SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left, holdItem_ ? fullHeight_ : compactHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The status bar keeps to the bottom edge.
    SendMessageW(Control(IDC_PREVIEW_STATUS), WM_SIZE, 0, 0);
    if (holdItem_) FillHoldList();
  }

  void FillHoldList() {
    HWND list = Control(IDC_DETAIL_HOLD_LIST);
    ListView_DeleteAllItems(list);
    int row = 0;
    for (const std::string& path : holds_.Of(*holdItem_)) {
      const std::wstring name = text::Widen(HeldName(path));
      const std::wstring full = text::Widen(path);
      LVITEMW item{};
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = row;
      item.pszText = const_cast<wchar_t*>(name.c_str());
      item.iImage = PrivacyImageIndex("filelock");
      ListView_InsertItem(list, &item);
      ListView_SetItemText(list, row++, 1, const_cast<wchar_t*>(full.c_str()));
    }
  }

  const PrivacyDetailArgs& args_;
  std::shared_ptr<PrivacyConfig> config_;
  ConfigTree tree_;
  HoldLists holds_;
  HWND dialog_ = nullptr;
  std::unique_ptr<ConfigPreview> preview_;
  int fullHeight_ = 0;
  int compactHeight_ = 0;
  std::optional<std::size_t> holdItem_;  ///< the item (0-based) whose hold list shows
};

}  // namespace

bool ShowPrivacyDetailDialog(HWND owner, const PrivacyDetailArgs& args) {
  PrivacyDetailDialog dialog(args);
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PRIVACY_DETAIL), owner,
                         PreviewDialogProc<PrivacyDetailDialog>, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

}  // namespace qm::ui
