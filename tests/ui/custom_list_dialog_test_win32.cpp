#include <gtest/gtest.h>

#include <string>

#include "config/catalogue_helpers.h"
#include "support/lines.h"
#include "support/test_engine.h"
#include "support/window_driver.h"
#include "ui/custom_list_dialog.h"
#include "ui/custom_list_dialog_ids.h"

namespace qm::testing {
namespace {

using ui::PromptAnswer;

constexpr char kCatalogue[] =
    "[Config]\nType:Root\nSoftware:Sys\nSelected:1\nTemp<>1<>0<>File><{dir}\\temp\n"
    "[Config]\nType:Customs\nSoftware:beta\nDescription:about beta\nSelected:1\nVersion:1\nB<>1<>0<>File><{dir}\\b\n"
    "[Config]\nType:Customs\nSoftware:alpha\nDescription:about alpha\nSelected:0\nVersion:1\nA<>1<>0<>File><{dir}\\a\n";

TEST(CustomListDialog, EditsCopiesOfTheCustomConfigurationsAndAppliesThem) {
  TestEngine t;
  t.LoadCatalogue(kCatalogue);
  ScriptedPrompt prompt;
  Lines maker;
  int rebuilds = 0;
  ui::CustomListArgs args;
  args.catalogue = &t.engine.Catalogue();
  args.catalogueFile = t.dir / "PrivacyConfig.dat";
  args.prompt = &prompt;
  args.openMaker = [&](HWND owner, PrivacyConfig& working, bool isNew) {
    maker.push_back(WindowText(owner) + ": " + (isNew ? "new" : working.Software));
    if (!isNew) {
      working.Description = "edited";
      return true;
    }
    // What the Custom Maker's OK makes of a new configuration.
    working.Software = "Browser";
    working.SoftwareType = SoftwareType::Customs;
    working.Description = "Cookies";
    working.Version = "1";
    working.FileLines = {"[Config]",   "Type:Customs", "Software:Browser", "Description:Cookies",
                         "Selected:1", "Version:1"};
    working.FileLines.Add("Cookies<>1<>0<>File><" + t.dir.Path("cookies"));
    working.Items.Add(MakeItem("Browser", "Cookies", PrivacyItemType::File, {t.dir.Path("cookies")}));
    return true;
  };
  args.rebuildTree = [&] { ++rebuilds; };
  const std::string exported = t.dir / "mine.pc";
  args.chooseExportFile = [&](HWND) { return exported; };

  Lines rows;
  WhenDialogOpens("Custom Settings", [&](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_CL_LIST);
    rows = ListLines(list);
    Press(dialog, IDC_CL_DELETE);
    Press(dialog, IDC_CL_ADD_NEW);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 2);
    SelectRows(list, {0});
    Press(dialog, IDC_CL_DETAIL);
    // Delete asks first: No keeps the rows, Yes removes the highlighted one.
    SelectRows(list, {1});
    prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
    Press(dialog, IDC_CL_DELETE);
    EXPECT_EQ(ListView_GetItemCount(list), 3);
    Press(dialog, IDC_CL_DELETE);
    Press(dialog, IDC_CL_SELECT_ALL);
    Press(dialog, IDC_CL_EXPORT);
    EXPECT_EQ(NameTicks(t.engine.Catalogue()), "Sys+ alpha- beta+ ");
    Press(dialog, IDC_CL_APPLY);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(NameTicks(t.engine.Catalogue()), "Sys+ alpha+ Browser+ ");
    rows.push_back("then");
    for (const std::string& row : ListLines(list)) rows.push_back(row);
    ListView_SetCheckState(list, 0, FALSE);
    Press(dialog, IDOK);
  });
  ui::ShowCustomListDialog(nullptr, args);

  EXPECT_EQ(rows, (Lines{"alpha | about alpha", "beta | about beta [x]", "then", "alpha | edited [x]",
                         "Browser | Cookies [x]"}));
  EXPECT_EQ(maker, (Lines{"Custom Settings: new", "Custom Settings: alpha"}));
  const std::string question =
      "Custom List|All highlight items will be delete, continue?\r\n\r\nRecommend: Don't delete any software item, "
      "you can uncheck those are not installed in your pc";
  EXPECT_EQ(prompt.asked, (Lines{"Custom List|None has been selected.", question, question}));
  EXPECT_EQ(rebuilds, 2);
  EXPECT_EQ(NameTicks(t.engine.Catalogue()), "Sys+ alpha- Browser+ ");
  EXPECT_EQ(NameTicks(*ReadCatalogue(args.catalogueFile, t.engine.Folders())), "Sys+ alpha- Browser+ ");
  // The export holds the list as it was then, every row ticked.
  Lines exportedKeys;
  for (const std::string& line : PlainLines(exported)) {
    if (line.starts_with("Software:") || line.starts_with("Selected:")) exportedKeys.push_back(line);
  }
  EXPECT_EQ(exportedKeys, (Lines{"Software:alpha", "Selected:1", "Software:Browser", "Selected:1"}));
}

}  // namespace
}  // namespace qm::testing
