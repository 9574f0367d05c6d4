#include "ui/model/preferences_work.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/catalogue_helpers.h"
#include "support/lines.h"
#include "support/preferences_catalogue.h"
#include "support/raised_error.h"
#include "support/settings_keys.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

using namespace ui;
constexpr auto kRoot = SoftwareType::Root;
constexpr auto kPlugins = SoftwareType::Plugins;

/// Each configuration as "Software selected items", the items as 1/0 by `Selected`, their holds in braces.
Lines Summary(const PrivacyConfigs& catalogue) {
  Lines lines;
  for (const auto& config : catalogue) {
    lines.push_back(config->Software + " " + (config->Selected ? "1 " : "0 "));
    for (const auto& item : config->Items) {
      lines.back() += item->Selected ? "1" : "0";
      for (const std::string& hold : item->HoldSettings) lines.back() += "{" + hold + "}";
    }
  }
  return lines;
}

/// Both built-in pages' boxes ("-" for a disabled one), then each list's caption and rows.
Lines Pages(const PreferencesWork& work) {
  Lines lines(1);
  for (const BuiltInChecks& checks : work.Checks) {
    for (const auto& check : checks) lines[0] += check ? (*check ? "1" : "0") : "-";
  }
  for (const ConfigList* list : {&work.Plugins, &work.Customs}) {
    lines.push_back(list->Caption());
    for (const auto& row : list->Rows()) lines.back() += " " + row.Copy->Software + (row.Checked ? "+" : "-");
  }
  return lines;
}

TEST(PreferencesWork, OpensOnTheCatalogueAndAppliesItsPagesToAClone) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", kRoot, true, {"a=1", "-b=1", "c=1", "d=1", "-e=1", "f=1", "-g=1"}));
  catalogue.Item(1)->Items.Item(4)->HoldFlag = true;
  catalogue.Add(MakeConfig("Odd", SoftwareType::Unknown, true, {"o=1"}));
  catalogue.Add(MakeConfig("Internet Explorer", kRoot, true, {"-x=1", "y=1", "z=1"}));
  catalogue.Add(MakeConfig("Archiver", kPlugins, false, {"-h=1", "-i=1"}));
  catalogue.Add(MakeConfig("Player", kPlugins, true, {"r=1"}));
  catalogue.Add(MakeConfig("Zip", kPlugins, true, {"-s=1"}));
  catalogue.Add(MakeConfig("Notes", SoftwareType::Customs, false, {"n=1"}));
  const Lines before = Summary(catalogue);
  Lines tree;
  for (const PreferencesNode& node : PreferencesTree(catalogue)) {
    tree.push_back(std::string(node.Parent == PreferencesNode::kNoParent ? "" : "  ") + node.Text +
                   (node.Expanded ? " +" : "") + " #" + std::to_string(static_cast<int>(node.Page)));
  }
  EXPECT_EQ(tree, (Lines{"General #1", "Privacy + #2", "  Windows #3", "  Odd #0", "  Internet Explorer #4",
                         "  Plug-ins #5", "  Customs #6", "Advance #7"}));
  PreferencesWork work(catalogue, SystemSettings{});
  EXPECT_EQ(Pages(work),
            (Lines{"101101011---", "Plug-ins Settings(3) Player+ Zip+ Archiver-", "Customs Settings(1) Notes-"}));

  // "Advance..." takes the boxes into the copy; the detail ticks an item past the sixth and holds a path
  // (and one of an item that does not hold); the boxes come back from the copy.
  work.Checks[kWindowsPage][1] = true;
  work.ChecksToCopy(kWindowsPage);
  const auto windows = work.BuiltIn(kWindowsPage);
  EXPECT_TRUE(windows->Items.Item(2)->Selected);
  windows->Items.Item(2)->Selected = false;
  windows->Items.Item(7)->Selected = true;
  windows->Items.Item(4)->HoldSettings.Add("C:\\keep.txt");
  windows->Items.Item(5)->HoldSettings.Add("C:\\dropped.txt");
  work.ChecksFromCopy(kWindowsPage);
  work.Checks[kInternetExplorerPage][0] = true;
  // A tick takes the copy and its items along, "Select All" the marks only; the detail's choice comes back.
  work.Plugins.CheckRow(2, true);
  work.Plugins.MarkAll(false);
  work.Plugins.Rows()[0].Copy->Selected = true;
  work.Plugins.TakeDetail(0);
  work.Plugins.Delete({1, 7, 1});
  work.Customs.CheckRow(0, true);
  EXPECT_EQ(Pages(work),
            (Lines{"101101111---", "Plug-ins Settings(2) Player+ Archiver-", "Customs Settings(1) Notes+"}));

  const std::unique_ptr<PrivacyConfigs> applied = work.Applied(catalogue);
  EXPECT_EQ(Summary(*applied), (Lines{"Windows 1 1011{C:\\keep.txt}011", "Odd 1 1", "Internet Explorer 1 111",
                                      "Player 1 1", "Archiver 0 11", "Notes 1 1"}));
  EXPECT_EQ(Summary(catalogue), before);
  // The rows keep copies of their own: what the dialog does next stays out of the applied catalogue.
  work.Customs.CheckRow(0, false);
  EXPECT_EQ(Summary(*applied).back(), "Notes 1 1");

  // With one built-in configuration the second page has no boxes and never reaches another configuration.
  catalogue.Remove(3);
  PreferencesWork lone(catalogue, SystemSettings{});
  EXPECT_EQ(lone.BuiltIn(kInternetExplorerPage), nullptr);
  EXPECT_EQ(Pages(lone)[0], "101101------");
  lone.Checks[kInternetExplorerPage][0] = true;
  lone.ChecksToCopy(kInternetExplorerPage);
  EXPECT_EQ(Summary(*lone.Applied(catalogue)),
            (Lines{"Windows 1 1011010", "Odd 1 1", "Player 1 1", "Zip 1 0", "Archiver 0 00", "Notes 0 1"}));
}

TEST(PreferencesWork, ApplyWritesTheSettingsThenReplacesTheCatalogueFile) {
  TestEngine t("ui/settings_keys.reg");
  t.LoadCatalogue(Joined(PreferencesCatalogue()));
  const PrivacyConfigs& catalogue = t.engine.Catalogue();
  const std::string file = t.dir / "PrivacyConfig.dat";
  const Lines original = CatalogueFileLines(file, t.dir);
  PreferencesWork work(catalogue, SystemSettings{});
  work.Checks[kWindowsPage][0] = false;
  work.Plugins.Delete({0});
  work.Fields.ScheduleDaily = true;

  // The first step that fails says which it was.
  AppliedPreferences applied;
  const auto failure = [&](const SettingsRoots& roots, const std::string& target) {
    const std::string raised =
        RaisedError([&] { ApplyPreferences(work, catalogue, t.registry.Registry(), roots, target, applied); });
    const std::string description = raised.substr(raised.find('|', raised.find('|') + 1) + 1);
    return description.substr(0, description.find('\n') + 1);
  };
  // No settings key can be written: nothing is recorded and the catalogue file stays as it was.
  EXPECT_EQ(failure({kRefusingRoot, kRefusingRoot}, file), kSettingsNotSaved);
  EXPECT_FALSE(applied.Settings || applied.Catalogue);
  EXPECT_EQ(CatalogueFileLines(file, t.dir), original);
  // The settings are written, the catalogue cannot be.
  EXPECT_EQ(failure(kTestRoots, t.dir / "gone/PrivacyConfig.dat"), kCatalogueNotSaved);
  EXPECT_EQ(applied.Settings->ScheduleType, "daily");
  EXPECT_FALSE(applied.Catalogue);
  EXPECT_EQ(KeyValues(t.registry, kSettingsKeyPath).at(7), "Schedule Type=daily");

  ApplyPreferences(work, catalogue, t.registry.Registry(), kTestRoots, file, applied);
  ASSERT_TRUE(applied.Catalogue);
  EXPECT_EQ(applied.Catalogue->Count(), 4);
  Lines expected = PreferencesCatalogue();
  expected[4] = "Documents<>0<>0<>File><{dir}\\docs";
  expected.erase(expected.begin() + 21, expected.begin() + 27);  // Player's lines, in front of Archiver's
  EXPECT_EQ(CatalogueFileLines(file, t.dir), expected);
  EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
}

}  // namespace
}  // namespace qm::testing
