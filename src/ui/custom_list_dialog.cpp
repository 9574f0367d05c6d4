#include "ui/custom_list_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/text_win32.h"
#include "ui/check_list.h"
#include "ui/custom_list_dialog_ids.h"
#include "ui/dialog_guard.h"
#include "ui/model/custom_list.h"

namespace qm::ui {
namespace {

constexpr char kCaption[] = "Custom List";

/// The system's save dialog for an exported file; "" when the user cancels.
std::string AskExportFile(HWND owner) {
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = L"Quillmere Files (*.pc)\0*.pc\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // A name typed without an extension still makes a ".pc" file, one that "Add Plugins" takes.
  dialog.lpstrDefExt = L"pc";
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  return GetSaveFileNameW(&dialog) ? text::Narrow(file.data()) : "";
}

class CustomListDialog {
 public:
  explicit CustomListDialog(const CustomListArgs& args) : args_(args), prompt_(*args.prompt) {}

  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<CustomListDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
      case WM_INITDIALOG: Guarded(self->prompt_, kCaption, [&] { self->Load(dialog); }); return TRUE;
      case WM_COMMAND: Guarded(self->prompt_, kCaption, [&] { self->OnCommand(LOWORD(wParam)); }); return TRUE;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_CL_LIST || header->code != NM_DBLCLK) return FALSE;
        Guarded(self->prompt_, kCaption, [&] { self->Detail(); });
        return TRUE;
      }
      default: return FALSE;
    }
  }

 private:
  void Load(HWND dialog) {
    dialog_ = dialog;
    list_.emplace(*args_.catalogue);
    rows_.emplace(dialog, IDC_CL_LIST,
                  std::initializer_list<std::pair<const char*, int>>{{"Name", 110}, {"Description", 180}});
    for (std::size_t row = 0; row < list_->size(); ++row) AddRow((*list_)[row]);
  }

  int AddRow(const PrivacyConfig& config) { return rows_->Add({config.Software, config.Description}, config.Selected); }

  void OnCommand(int id) {
    switch (id) {
      case IDC_CL_SELECT_ALL: rows_->CheckAll(IsDlgButtonChecked(dialog_, IDC_CL_SELECT_ALL) == BST_CHECKED); break;
      case IDC_CL_ADD_NEW: AddNew(); break;
      case IDC_CL_DETAIL: Detail(); break;
      case IDC_CL_DELETE: Delete(); break;
      case IDC_CL_EXPORT: Export(); break;
      case IDC_CL_APPLY: Apply(); break;
      case IDOK:
        if (Apply()) EndDialog(dialog_, IDOK);
        break;
      case IDCANCEL: EndDialog(dialog_, IDCANCEL); break;
      default: break;
    }
  }

  void AddNew() {
    auto config = std::make_shared<PrivacyConfig>();
    config->Selected = true;
    if (!args_.openMaker || !args_.openMaker(dialog_, *config, true) || config->Software.empty()) return;
    const int row = AddRow(*config);
    list_->Add(config);
    rows_->Select(row);
  }

  void Detail() {
    const int row = rows_->Selection();
    if (row < 0 || !args_.openMaker) return;
    PrivacyConfig& config = (*list_)[static_cast<std::size_t>(row)];
    // The maker opens on the tick the user sees, not the one the configuration had when the window opened.
    config.Selected = rows_->Checks()[static_cast<std::size_t>(row)];
    args_.openMaker(dialog_, config, false);
    rows_->Set(row, {config.Software, config.Description}, config.Selected);
  }

  void Delete() {
    const std::vector<bool> highlighted = rows_->Highlighted();
    if (std::count(highlighted.begin(), highlighted.end(), true) == 0) {
      prompt_.Ask(kCaption, "None has been selected.", PromptButtons::Ok, PromptIcon::Information);
      return;
    }
    if (prompt_.Ask(kCaption,
                    "All highlight items will be delete, continue?\r\n\r\nRecommend: Don't delete any software item, "
                    "you can uncheck those are not installed in your pc",
                    PromptButtons::YesNo, PromptIcon::Exclamation, true) != PromptAnswer::Yes) {
      return;
    }
    list_->Remove(highlighted);
    for (auto row = static_cast<int>(highlighted.size()) - 1; row >= 0; --row) {
      if (highlighted[static_cast<std::size_t>(row)]) rows_->Remove(row);
    }
  }

  void Export() {
    const std::string file = args_.chooseExportFile ? args_.chooseExportFile(dialog_) : AskExportFile(dialog_);
    if (file.empty()) return;
    list_->SetTicks(rows_->Checks());
    list_->Export(file);
  }

  /// Puts the list into the catalogue, saves it and rebuilds the main tree; false when the save failed.
  bool Apply() {
    list_->SetTicks(rows_->Checks());
    if (!Guarded(prompt_, kCaption, [&] { list_->Apply(*args_.catalogue, args_.catalogueFile); })) return false;
    if (args_.rebuildTree) args_.rebuildTree();
    return true;
  }

  const CustomListArgs& args_;
  Prompt& prompt_;
  HWND dialog_ = nullptr;
  std::optional<CustomList> list_;
  std::optional<CheckList> rows_;
};

}  // namespace

void ShowCustomListDialog(HWND owner, const CustomListArgs& args) {
  CustomListDialog dialog(args);
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CUSTOM_LIST), owner, CustomListDialog::Proc,
                  reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace qm::ui
