#include "ui/custom_item_dialog.h"

#include <initializer_list>
#include <string>

#include "platform/text_win32.h"
#include "ui/custom_item_dialog_ids.h"
#include "ui/dialog_guard.h"
#include "ui/model/custom_item_form.h"

namespace qm::ui {
namespace {

constexpr char kCaption[] = "Custom Item";

std::string ItemText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text::Narrow(text);
}

void SetItemText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextW(dialog, id, text::Widen(text).c_str());
}

void FillList(HWND dialog, int id, const auto& entries) {
  for (const auto& entry : entries) {
    SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text::Widen(entry).c_str()));
  }
}

/// The list's selected entry; 0, the empty entry, when none is.
int ListIndex(HWND dialog, int id) {
  const auto index = static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
  return index < 0 ? 0 : index;
}

/// Turns on the frame of the item type and its fields, and off the others with their labels.
void ShowType(HWND dialog, CustomItemKind kind) {
  const CustomItemEnabled on = EnabledFor(kind);
  const auto enable = [dialog](std::initializer_list<int> ids, bool enabled) {
    for (int id : ids) EnableWindow(GetDlgItem(dialog, id), enabled);
  };
  enable({IDC_CI_REG_FRAME, IDC_CI_ROOT_KEY_LABEL, IDC_CI_ROOT_KEY, IDC_CI_KEY_PATH_LABEL, IDC_CI_KEY_PATH},
         on.Registry);
  enable({IDC_CI_VALUE_NAME_LABEL, IDC_CI_VALUE_NAME}, on.ValueName);
  enable({IDC_CI_FOLDER_FRAME, IDC_CI_FOLDER_SPECIAL_LABEL, IDC_CI_FOLDER_SPECIAL, IDC_CI_FOLDER_PATH_LABEL,
          IDC_CI_FOLDER_PATH},
         on.Folder);
  enable({IDC_CI_FILE_NAME_LABEL, IDC_CI_FILE_NAME}, on.FileName);
  enable({IDC_CI_INI_FRAME, IDC_CI_INI_SPECIAL_LABEL, IDC_CI_INI_SPECIAL, IDC_CI_INI_PATH_LABEL, IDC_CI_INI_PATH,
          IDC_CI_INI_SECTOR_LABEL, IDC_CI_INI_SECTOR, IDC_CI_INI_ITEM_LABEL, IDC_CI_INI_ITEM},
         on.Ini);
}

void Load(HWND dialog, const CustomItemArgs& args) {
  FillList(dialog, IDC_CI_ROOT_KEY, kRootKeyNames);
  const std::vector<std::string> entries = SpecialPathEntries(args.folders);
  FillList(dialog, IDC_CI_FOLDER_SPECIAL, entries);
  FillList(dialog, IDC_CI_INI_SPECIAL, entries);

  const CustomItemFields fields = FieldsOfItem(*args.item, args.folders);
  SetItemText(dialog, IDC_CI_ITEM_NAME, fields.ItemName);
  const CustomItemKind kind = fields.Kind.value_or(CustomItemKind::RegistryKey);
  CheckRadioButton(dialog, IDC_CI_TYPE_REG_KEY, IDC_CI_TYPE_INI, IDC_CI_TYPE_REG_KEY + static_cast<int>(kind));
  ShowType(dialog, kind);
  // A root the list does not name shows none: the item cannot search it anyway.
  const LRESULT root = SendDlgItemMessageW(dialog, IDC_CI_ROOT_KEY, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text::Widen(fields.RootKey).c_str()));
  SendDlgItemMessageW(dialog, IDC_CI_ROOT_KEY, CB_SETCURSEL, fields.RootKey.empty() ? -1 : root, 0);
  SetItemText(dialog, IDC_CI_KEY_PATH, fields.KeyPath);
  SetItemText(dialog, IDC_CI_VALUE_NAME, fields.ValueName);
  SendDlgItemMessageW(dialog, IDC_CI_FOLDER_SPECIAL, CB_SETCURSEL, fields.FolderSpecialPath, 0);
  SetItemText(dialog, IDC_CI_FOLDER_PATH, fields.FolderPath);
  SetItemText(dialog, IDC_CI_FILE_NAME, fields.FileName);
  SendDlgItemMessageW(dialog, IDC_CI_INI_SPECIAL, CB_SETCURSEL, fields.IniSpecialPath, 0);
  SetItemText(dialog, IDC_CI_INI_PATH, fields.IniFilePath);
  SetItemText(dialog, IDC_CI_INI_SECTOR, fields.IniSectorName);
  SetItemText(dialog, IDC_CI_INI_ITEM, fields.IniItemName);
}

CustomItemFields Read(HWND dialog) {
  CustomItemFields fields;
  fields.ItemName = ItemText(dialog, IDC_CI_ITEM_NAME);
  for (int option = 0; option <= IDC_CI_TYPE_INI - IDC_CI_TYPE_REG_KEY; ++option) {
    if (IsDlgButtonChecked(dialog, IDC_CI_TYPE_REG_KEY + option) == BST_CHECKED) {
      fields.Kind = static_cast<CustomItemKind>(option);
    }
  }
  fields.RootKey = ItemText(dialog, IDC_CI_ROOT_KEY);
  fields.KeyPath = ItemText(dialog, IDC_CI_KEY_PATH);
  fields.ValueName = ItemText(dialog, IDC_CI_VALUE_NAME);
  fields.FolderSpecialPath = ListIndex(dialog, IDC_CI_FOLDER_SPECIAL);
  fields.FolderPath = ItemText(dialog, IDC_CI_FOLDER_PATH);
  fields.FileName = ItemText(dialog, IDC_CI_FILE_NAME);
  fields.IniSpecialPath = ListIndex(dialog, IDC_CI_INI_SPECIAL);
  fields.IniFilePath = ItemText(dialog, IDC_CI_INI_PATH);
  fields.IniSectorName = ItemText(dialog, IDC_CI_INI_SECTOR);
  fields.IniItemName = ItemText(dialog, IDC_CI_INI_ITEM);
  return fields;
}

void OnCommand(HWND dialog, const CustomItemArgs& args, int id) {
  if (id >= IDC_CI_TYPE_REG_KEY && id <= IDC_CI_TYPE_INI) {
    ShowType(dialog, static_cast<CustomItemKind>(id - IDC_CI_TYPE_REG_KEY));
  } else if (id == IDOK) {
    const std::string refusal = ApplyCustomItemFields(Read(dialog), args.folders, *args.item);
    if (!refusal.empty()) {
      args.prompt->Ask(kCaption, refusal, PromptButtons::Ok, PromptIcon::Exclamation);
      return;
    }
    EndDialog(dialog, IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
  }
}

INT_PTR CALLBACK CustomItemProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  const auto* args = reinterpret_cast<const CustomItemArgs*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!args) return FALSE;
  switch (message) {
    case WM_INITDIALOG: Guarded(*args->prompt, kCaption, [&] { Load(dialog, *args); }); return TRUE;
    case WM_COMMAND: Guarded(*args->prompt, kCaption, [&] { OnCommand(dialog, *args, LOWORD(wParam)); }); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

bool ShowCustomItemDialog(HWND owner, const CustomItemArgs& args) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CUSTOM_ITEM), owner, CustomItemProc,
                         reinterpret_cast<LPARAM>(&args)) == IDOK;
}

}  // namespace qm::ui
