#include "ui/add_plugins_dialog.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/text_win32.h"
#include "ui/add_plugins_dialog_ids.h"
#include "ui/check_list.h"
#include "ui/dialog_guard.h"
#include "ui/model/plugin_update.h"

namespace qm::ui {
namespace {

constexpr char kCaption[] = "Add Plugins";

class AddPluginsDialog {
 public:
  explicit AddPluginsDialog(const AddPluginsArgs& args) : args_(args), prompt_(*args.prompt) {}

  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<AddPluginsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
      case WM_INITDIALOG: Guarded(self->prompt_, kCaption, [&] { self->Load(dialog); }); return TRUE;
      case WM_COMMAND: Guarded(self->prompt_, kCaption, [&] { self->OnCommand(LOWORD(wParam)); }); return TRUE;
      default: return FALSE;
    }
  }

 private:
  void Load(HWND dialog) {
    dialog_ = dialog;
    rows_.emplace(dialog, IDC_AP_LIST,
                  std::initializer_list<std::pair<const char*, int>>{
                      {"Name", 90}, {"Type", 40}, {"Status", 100}, {"Plugins", 32}, {"Current", 32}});
    Enable(IDC_AP_ADD_SELECTED, false);
    ShowNew();
  }

  void Enable(int id, bool enabled) { EnableWindow(GetDlgItem(dialog_, id), enabled); }

  void OnCommand(int id) {
    switch (id) {
      case IDC_AP_SELECT_ALL: rows_->CheckAll(IsDlgButtonChecked(dialog_, IDC_AP_SELECT_ALL) == BST_CHECKED); break;
      case IDC_AP_SHOW_NEW: ShowNew(); break;
      case IDC_AP_ADD_SELECTED: AddSelected(); break;
      case IDCANCEL: EndDialog(dialog_, IDCANCEL); break;
      default: break;
    }
  }

  void ShowNew() {
    rows_->Clear();
    Enable(IDC_AP_ADD_SELECTED, false);
    Engine& engine = *args_.engine;
    Guarded(prompt_, kCaption,
            [&] { update_.ShowNew(args_.pluginsFolder, engine.Catalogue(), engine.Folders(), engine.Registry()); });
    for (const PluginRow& row : update_.Rows()) {
      rows_->Add({row.Name, row.Type, row.Status, std::to_string(row.Plugins), std::to_string(row.Current)}, false);
    }
    CheckDlgButton(dialog_, IDC_AP_SELECT_ALL, BST_UNCHECKED);
    ShowCount();
    if (!update_.Problems().empty()) {
      std::string problems;
      for (const std::string& problem : update_.Problems()) problems += (problems.empty() ? "" : "\n") + problem;
      prompt_.Ask(kCaption, problems, PromptButtons::Ok, PromptIcon::Exclamation);
    }
  }

  void AddSelected() {
    Enable(IDC_AP_SHOW_NEW, false);
    Enable(IDC_AP_ADD_SELECTED, false);
    const std::vector<bool> ticked = rows_->Checks();
    const auto count = std::count(ticked.begin(), ticked.end(), true);
    if (count == 0) {
      prompt_.Ask(kCaption, "None has been checked.", PromptButtons::Ok, PromptIcon::Exclamation);
    } else if (prompt_.Ask(kCaption, std::to_string(count) + " checked plugins will be added, continue?",
                           PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes &&
               Guarded(prompt_, kCaption,
                       [&] { update_.AddTicked(ticked, args_.engine->Catalogue(), args_.catalogueFile); })) {
      for (auto row = static_cast<int>(ticked.size()) - 1; row >= 0; --row) {
        if (ticked[static_cast<std::size_t>(row)]) rows_->Remove(row);
      }
      if (args_.rebuildTree) args_.rebuildTree();
    }
    ShowCount();
    Enable(IDC_AP_SHOW_NEW, true);
  }

  /// The frame names how many rows are left; "Add Selected" is there for them.
  void ShowCount() {
    SetDlgItemTextW(dialog_, IDC_AP_FRAME, text::Widen(update_.FrameCaption()).c_str());
    Enable(IDC_AP_ADD_SELECTED, rows_->Count() > 0);
  }

  const AddPluginsArgs& args_;
  Prompt& prompt_;
  HWND dialog_ = nullptr;
  PluginUpdate update_;
  std::optional<CheckList> rows_;
};

}  // namespace

void ShowAddPluginsDialog(HWND owner, const AddPluginsArgs& args) {
  AddPluginsDialog dialog(args);
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ADD_PLUGINS), owner, AddPluginsDialog::Proc,
                  reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace qm::ui
