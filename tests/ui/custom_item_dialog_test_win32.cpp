#include <gtest/gtest.h>

#include <string>

#include "config/catalogue_helpers.h"
#include "support/lines.h"
#include "support/test_engine.h"
#include "support/window_driver.h"
#include "ui/custom_item_dialog.h"
#include "ui/custom_item_dialog_ids.h"

namespace qm::testing {
namespace {

void Type(HWND dialog, int id, const char* text) { SetText(GetDlgItem(dialog, id), text); }
void Choose(HWND dialog, int id, int index) { SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }

/// The type option checked, the frames on (R, F, I) with their extra fields (v, f), and the fields' texts.
std::string Shown(HWND dialog) {
  std::string shown;
  for (int id = IDC_CI_TYPE_REG_KEY; id <= IDC_CI_TYPE_INI; ++id) {
    if (IsDlgButtonChecked(dialog, id)) shown += std::to_string(id - IDC_CI_TYPE_REG_KEY);
  }
  shown += std::string(" ") + (Enabled(dialog, IDC_CI_REG_FRAME) ? "R" : "") +
           (Enabled(dialog, IDC_CI_VALUE_NAME) ? "v" : "") + (Enabled(dialog, IDC_CI_FOLDER_SPECIAL) ? "F" : "") +
           (Enabled(dialog, IDC_CI_FILE_NAME) ? "f" : "") + (Enabled(dialog, IDC_CI_INI_SECTOR_LABEL) ? "I" : "");
  for (int id : {IDC_CI_ITEM_NAME, IDC_CI_ROOT_KEY, IDC_CI_FOLDER_SPECIAL, IDC_CI_FOLDER_PATH, IDC_CI_FILE_NAME}) {
    shown += "|" + WindowText(GetDlgItem(dialog, id));
  }
  return shown;
}

TEST(CustomItemDialog, DefinesAnItemFromItsFieldsAndEditsItOnlyOnOk) {
  ScriptedPrompt prompt;
  PrivacyItem item;
  ui::CustomItemArgs args{&item, &prompt, WindowsTestFolders()};

  // A new item: the lists, a refusal that keeps the dialog open, then a folder below the profile.
  Lines shown;
  WhenDialogOpens("Custom Item", [&](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_CI_ROOT_KEY, CB_GETCOUNT, 0, 0), 7);
    Choose(dialog, IDC_CI_INI_SPECIAL, 6);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_CI_INI_SPECIAL)), "C:\\Program Files");
    shown.push_back(Shown(dialog));
    Type(dialog, IDC_CI_ITEM_NAME, "  ");
    Press(dialog, IDOK);
    Press(dialog, IDC_CI_TYPE_FOLDER);
    Type(dialog, IDC_CI_ITEM_NAME, " Recent ");
    Choose(dialog, IDC_CI_FOLDER_SPECIAL, 1);
    Type(dialog, IDC_CI_FOLDER_PATH, "Recent");
    shown.push_back(Shown(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(ui::ShowCustomItemDialog(nullptr, args));
  EXPECT_EQ(shown, (Lines{"0 R|||||", "2 F| Recent ||C:\\Users\\ann|Recent|"}));
  EXPECT_EQ(prompt.asked, (Lines{"Custom Item|Item Name is null."}));
  EXPECT_EQ(Described(item), ": Recent<>0<>0<>Folder><C:\\Users\\ann\\Recent><");
  EXPECT_EQ(item.FileLine, "Recent<>0<>0<>Folder><%userprofiledir%\\Recent");

  // Shown again it is a folder below the profile; turned into a file and cancelled, it stays as it was.
  shown.clear();
  WhenDialogOpens("Custom Item", [&](HWND dialog) {
    shown.push_back(Shown(dialog));
    Press(dialog, IDC_CI_TYPE_FILE);
    Type(dialog, IDC_CI_FILE_NAME, "*.lnk");
    shown.push_back(Shown(dialog));
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(ui::ShowCustomItemDialog(nullptr, args));
  EXPECT_EQ(shown, (Lines{"2 F|Recent||C:\\Users\\ann|Recent|", "3 Ff|Recent||C:\\Users\\ann|Recent|*.lnk"}));
  EXPECT_EQ(item.FileLine, "Recent<>0<>0<>Folder><%userprofiledir%\\Recent");

  // A registry value needs its root; with it, OK replaces the old seek settings.
  prompt.asked.clear();
  WhenDialogOpens("Custom Item", [&](HWND dialog) {
    Press(dialog, IDC_CI_TYPE_REG_VALUE);
    Type(dialog, IDC_CI_KEY_PATH, "Software\\App");
    Type(dialog, IDC_CI_VALUE_NAME, "Last");
    Press(dialog, IDOK);
    Choose(dialog, IDC_CI_ROOT_KEY, 1);
    shown.push_back(Shown(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(ui::ShowCustomItemDialog(nullptr, args));
  EXPECT_EQ(shown.back(), "1 Rv|Recent|HKEY_LOCAL_MACHINE|C:\\Users\\ann|Recent|");
  EXPECT_EQ(prompt.asked, (Lines{"Custom Item|Registry Key Path is null."}));
  EXPECT_EQ(item.FileLine, "Recent<>0<>0<>RegValue><HKEY_LOCAL_MACHINE<>Software\\App<>Last");
  EXPECT_EQ(item.SeekSettings, (TextList{"HKEY_LOCAL_MACHINE", "Software\\App", "Last"}));
}

}  // namespace
}  // namespace qm::testing
