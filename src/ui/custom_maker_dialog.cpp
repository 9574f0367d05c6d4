#include "ui/custom_maker_dialog.h"

#include <memory>
#include <string>

#include "platform/text_win32.h"
#include "ui/config_preview.h"
#include "ui/config_preview_ids.h"
#include "ui/custom_maker_dialog_ids.h"
#include "ui/model/custom_maker.h"

namespace qm::ui {
namespace {

constexpr int kPathColumnTwips = 2000;

/// The window: the name and description boxes, and the shared preview over the working copy's tree with the
/// buttons that add, edit and delete its items.
class CustomMakerDialog {
 public:
  static constexpr const char* kCaption = kCustomMakerCaption;

  explicit CustomMakerDialog(const CustomMakerArgs& args) : args_(args), maker_(args.config) {}

  Prompt& Prompter() { return args_.prompt; }

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      OnInit(dialog);
      return TRUE;
    }
    if (preview_ && preview_->Handle(message, wParam, lParam)) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
      case IDC_MAKER_NAME:
        // The box's first text comes from the working copy itself.
        if (HIWORD(wParam) != EN_CHANGE || !loaded_) return FALSE;
        maker_.Rename(Text(IDC_MAKER_NAME));
        preview_->SyncTree();
        return TRUE;
      case IDC_MAKER_ADD: Add(); return TRUE;
      case IDC_MAKER_DELETE: Delete(); return TRUE;
      case IDC_MAKER_DETAIL: Detail(); return TRUE;
      case IDOK: Ok(); return TRUE;
      case IDCANCEL:
        if (!preview_->RefuseClose()) EndDialog(dialog_, IDCANCEL);
        return TRUE;
      default: return FALSE;
    }
  }

 private:
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  std::string Text(int id) const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Control(id))) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Control(id), text.data(), static_cast<int>(text.size()))));
    return text::Narrow(text);
  }

  void Tell(const std::string& message) {
    args_.prompt.Ask(kCaption, message, PromptButtons::Ok, PromptIcon::Exclamation);
  }

  void OnInit(HWND dialog) {
    dialog_ = dialog;
    SetDlgItemTextW(dialog, IDC_MAKER_NAME, text::Widen(maker_.Working()->Software).c_str());
    SetDlgItemTextW(dialog, IDC_MAKER_DESCRIPTION, text::Widen(maker_.Working()->Description).c_str());
    preview_ = std::make_unique<ConfigPreview>(
        dialog, ConfigPreviewArgs{args_.engine, args_.prompt, kCaption, args_.displayMaxRows, kPathColumnTwips},
        maker_.Tree(), maker_.Working());
    preview_->onDoubleClick = [this] { Detail(); };
    // The items must stay as they are while the preview searches them.
    preview_->onRunning = [this](bool running) {
      for (int id : {IDC_MAKER_ADD, IDC_MAKER_DELETE, IDC_MAKER_DETAIL}) EnableWindow(Control(id), !running);
    };
    preview_->Load();
    loaded_ = true;
  }

  void Add() {
    if (preview_->Running()) return;
    auto item = std::make_shared<PrivacyItem>();
    // An item the dialog did not define has no title.
    if (!args_.openItem(dialog_, *item, true) || item->Title.empty()) return;
    const std::string before = Text(IDC_MAKER_NAME);
    std::string nameBox = before;
    const std::size_t node = maker_.Add(item, nameBox);
    preview_->AddNode();
    if (nameBox != before) SetDlgItemTextW(dialog_, IDC_MAKER_NAME, text::Widen(nameBox).c_str());
    preview_->SelectNode(node);
  }

  void Delete() {
    if (preview_->Running()) return;
    const std::size_t selected = preview_->SelectedNode();
    if (const std::optional<std::string> refusal = maker_.DeleteRefusal(selected)) return Tell(*refusal);
    if (args_.prompt.Ask(kCaption, kDeleteItemQuestion, PromptButtons::YesNo, PromptIcon::Exclamation, true) !=
        PromptAnswer::Yes) {
      return;
    }
    maker_.Delete(selected);
    preview_->RemoveNode(selected);
  }

  void Detail() {
    if (preview_->Running()) return;
    const std::size_t selected = preview_->SelectedNode();
    if (const std::optional<std::string> refusal = maker_.DetailRefusal(selected)) return Tell(*refusal);
    const std::size_t node = CustomMaker::DetailNode(selected);
    if (node != selected) preview_->SelectNode(node);
    args_.openItem(dialog_, *maker_.DetailItem(node), false);
    maker_.Detailed(node);
    preview_->SyncTree();
  }

  void Ok() {
    if (preview_->RefuseClose()) return;
    const std::string name = Text(IDC_MAKER_NAME);
    if (const std::optional<std::string> refusal = maker_.OkRefusal(name)) return Tell(*refusal);
    if (maker_.Empty() &&
        args_.prompt.Ask(kCaption, kNoItemsQuestion, PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes) {
      return;
    }
    maker_.Fill(args_.config, name, Text(IDC_MAKER_DESCRIPTION));
    EndDialog(dialog_, IDOK);
  }

  const CustomMakerArgs& args_;
  CustomMaker maker_;
  HWND dialog_ = nullptr;
  std::unique_ptr<ConfigPreview> preview_;
  bool loaded_ = false;
};

}  // namespace

bool ShowCustomMakerDialog(HWND owner, const CustomMakerArgs& args) {
  CustomMakerDialog dialog(args);
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CUSTOM_MAKER), owner,
                         PreviewDialogProc<CustomMakerDialog>, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

}  // namespace qm::ui
