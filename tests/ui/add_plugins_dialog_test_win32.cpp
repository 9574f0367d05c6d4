#include <gtest/gtest.h>

#include <string>

#include "config/catalogue_helpers.h"
#include "support/lines.h"
#include "support/test_engine.h"
#include "support/window_driver.h"
#include "ui/add_plugins_dialog.h"
#include "ui/add_plugins_dialog_ids.h"
#include "ui/custom_list_dialog.h"
#include "ui/custom_list_dialog_ids.h"

namespace qm::testing {
namespace {

using ui::PromptAnswer;

/// The plug-in window over `t`'s catalogue and the folder "plugins" of its scratch folder.
struct PluginsBench {
  explicit PluginsBench(TestEngine& t) {
    args.engine = &t.engine;
    args.catalogueFile = t.dir / "PrivacyConfig.dat";
    args.pluginsFolder = t.dir.Folder("plugins");
    args.prompt = &prompt;
    args.rebuildTree = [this] { ++rebuilds; };
  }
  /// The frame's caption and each row, with "(Add Selected off)" when that button is disabled.
  static Lines Shown(HWND dialog) {
    Lines shown{WindowText(GetDlgItem(dialog, IDC_AP_FRAME)) +
                (IsWindowEnabled(GetDlgItem(dialog, IDC_AP_ADD_SELECTED)) ? "" : " (Add Selected off)")};
    for (const std::string& row : ListLines(GetDlgItem(dialog, IDC_AP_LIST), 5)) shown.push_back(row);
    return shown;
  }

  ScriptedPrompt prompt;
  int rebuilds = 0;
  ui::AddPluginsArgs args;
};

TEST(AddPluginsDialog, OffersThePluginFilesAndAddsTheTickedOnes) {
  TestEngine t;
  t.LoadCatalogue(
      "[Config]\nType:Root\nSoftware:Sys\nSelected:1\nT<>1<>0<>File><{dir}\\t\n"
      "[Config]\nType:Plugins\nSoftware:Player\nSelected:1\nVersion:1.5\nP<>1<>0<>File><{dir}\\p\n");
  PluginsBench bench(t);
  const std::string d = t.dir.Path() + "\\";
  WriteCatalogue(bench.args.pluginsFolder + "\\player.pc", {"[Config]", "Type:Plugins", "Software:Player", "Version:2",
                                                            "Selected:0", "Q<>1<>0<>File><" + d + "q"});
  WriteCatalogue(bench.args.pluginsFolder + "\\zip.pc",
                 {"[Config]", "Type:Plugins", "Software:Zip", "Version:1", "Z<>1<>0<>File><" + d + "z"});
  const std::string bad = t.dir.Write("plugins/bad.pc", "[Config]\r\n");

  Lines shown;
  WhenDialogOpens("Plugins Adding", [&](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_AP_LIST);
    shown = PluginsBench::Shown(dialog);
    Press(dialog, IDC_AP_ADD_SELECTED);
    Press(dialog, IDC_AP_SELECT_ALL);
    Press(dialog, IDC_AP_ADD_SELECTED);  // answered No
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    Press(dialog, IDC_AP_SELECT_ALL);
    ListView_SetCheckState(list, 0, TRUE);
    bench.prompt.answers = {PromptAnswer::Yes};
    Press(dialog, IDC_AP_ADD_SELECTED);
    for (const std::string& line : PluginsBench::Shown(dialog)) shown.push_back(line);
    Press(dialog, IDC_AP_SHOW_NEW);
    for (const std::string& line : PluginsBench::Shown(dialog)) shown.push_back(line);
    Press(dialog, IDCANCEL);
  });
  ui::ShowAddPluginsDialog(nullptr, bench.args);

  EXPECT_EQ(shown, (Lines{"New Plugins: 2 Plugins can be updated.", "Player | Plugins | Update to Version 2 | 1 | 2",
                          "Zip | Plugins | Add New Version 1 | 2 | -1", "New Plugins: 1 Plugins can be updated.",
                          "Zip | Plugins | Add New Version 1 | 2 | -1", "New Plugins: 1 Plugins can be updated.",
                          "Zip | Plugins | Add New Version 1 | 2 | -1"}));
  // The file that is no catalogue is named, with its line, at each scan.
  const std::string badFile = "Add Plugins|\"" + bad + "\" line 1: the line is not enciphered text";
  EXPECT_EQ(bench.prompt.asked, (Lines{badFile, "Add Plugins|None has been checked.",
                                       "Add Plugins|2 checked plugins will be added, continue?",
                                       "Add Plugins|1 checked plugins will be added, continue?", badFile}));
  EXPECT_EQ(bench.rebuilds, 1);
  const auto saved = ReadCatalogue(bench.args.catalogueFile, t.engine.Folders());
  for (const PrivacyConfigs* catalogue : {&t.engine.Catalogue(), saved.get()}) {
    EXPECT_EQ(Joined(Described(*catalogue)), Joined({"[Root|Sys|1||]", "Sys: T<>1<>0<>File><" + d + "t><",
                                                     "[Plugins|Player|1|2|]", "Player: Q<>1<>0<>File><" + d + "q><"}));
  }
}

TEST(AddPluginsDialog, ReadsBackACustomConfigurationThatCustomListExported) {
  TestEngine from;
  from.dir.Write("notes/a.txt", "aaa");
  from.dir.Write("notes/b.txt", "bb");
  from.dir.Write("drafts/keep.txt", "k");
  from.dir.Write("drafts/old.txt", "o");
  from.LoadCatalogue(
      "[Config]\nType:Customs\nSoftware:Notes\nDescription:My notes\nSelected:1\nVersion:1\n"
      "Notes<>1<>0<>File><{dir}\\notes<>*.txt\nDrafts<>1<>1<>Folder><{dir}\\drafts><{dir}\\drafts\\keep.txt\n");
  const Lines traces = {"4 1 " + from.dir / "notes/a.txt", "4 1 " + from.dir / "notes/b.txt",
                        "4 4 " + from.dir / "drafts/keep.txt", "4 1 " + from.dir / "drafts/old.txt"};
  ASSERT_EQ(TraceTexts(from.Run(false).Values), traces);

  TestEngine to;
  PluginsBench bench(to);
  ScriptedPrompt listPrompt;
  ui::CustomListArgs list{&from.engine.Catalogue(), from.dir / "PrivacyConfig.dat", &listPrompt, {}, {}, [&](HWND) {
                            return bench.args.pluginsFolder + "\\notes.pc";
                          }};
  WhenDialogOpens("Custom Settings", [](HWND dialog) {
    Press(dialog, IDC_CL_EXPORT);
    Press(dialog, IDCANCEL);
  });
  ui::ShowCustomListDialog(nullptr, list);

  Lines shown;
  WhenDialogOpens("Plugins Adding", [&](HWND dialog) {
    shown = PluginsBench::Shown(dialog);
    Press(dialog, IDC_AP_SELECT_ALL);
    bench.prompt.answers = {PromptAnswer::Yes};
    Press(dialog, IDC_AP_ADD_SELECTED);
    Press(dialog, IDCANCEL);
  });
  ui::ShowAddPluginsDialog(nullptr, bench.args);
  EXPECT_EQ(shown, (Lines{"New Plugins: 1 Plugins can be updated.", "Notes | Customs | Add New Version 1 | 1 | -1"}));
  EXPECT_EQ(bench.prompt.asked, (Lines{"Add Plugins|1 checked plugins will be added, continue?"}));
  EXPECT_TRUE(listPrompt.asked.empty());

  // The fresh catalogue, as added and as saved, finds the same traces and keeps the same hold.
  EXPECT_EQ(TraceTexts(to.Run(false).Values), traces);
  to.engine.LoadCatalogue(bench.args.catalogueFile);
  EXPECT_EQ(TraceTexts(to.Run(false).Values), traces);
}

}  // namespace
}  // namespace qm::testing
