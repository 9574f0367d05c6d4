#include "ui/model/plugin_update.h"

#include <gtest/gtest.h>

#include "config/catalogue_helpers.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

/// A configuration block's lines.
Lines Block(const std::string& type, const std::string& name, const std::string& version, const std::string& item,
            const std::string& selected = "Selected:1") {
  Lines lines = {"[Config]", "Type:" + type, "Software:" + name, "Version:" + version, item};
  if (!selected.empty()) lines.insert(lines.begin() + 3, selected);
  return lines;
}

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

/// Each row as "Name | Type | Status | Plugins | Current".
Lines RowTexts(const ui::PluginUpdate& update) {
  Lines rows;
  for (const ui::PluginRow& row : update.Rows()) {
    rows.push_back(row.Name + " | " + row.Type + " | " + row.Status + " | " + std::to_string(row.Plugins) + " | " +
                   std::to_string(row.Current));
  }
  return rows;
}

TEST(PluginUpdate, ComparesVersionsAndTakesPcFilesUnlessAnotherProgramClaimedTheExtension) {
  const std::tuple<const char*, const char*, bool> versions[] = {
      {"2", "1.5", true},  {"1.10", "1.9", false}, {"10", "9", true},          {"1", "1", false}, {"1.0", "1", false},
      {" 3 ", "+2", true}, {"1e1", "9", true},     {"1.2.10", "1.2.9", false}, {"b", "a", true},  {"", "1", false},
      {"1", "", true},     {"inf", "1", true},     {"nan", "1", true},         {"1", "x", false}};
  for (const auto& [found, current, newer] : versions) {
    EXPECT_EQ(ui::IsNewerVersion(found, current), newer) << found << " against " << current;
  }

  const std::tuple<const char*, const char*, bool, bool> files[] = {
      {"a.pc", "PC File", false, true},         {"a.pc", "PC File", true, true},
      {"a.PC", ".PC file", false, true},        {"a.pc", "Config Kit File", true, false},
      {"a.txt", "Text Document", false, false}, {"pc", "File", false, false},
      {"a.pcx", "PCX File", false, false}};
  for (const auto& [name, type, claimed, taken] : files) {
    EXPECT_EQ(ui::IsPluginFile(File{name, name, 0, type}, claimed), taken) << name << " " << type << " " << claimed;
  }
  RegistryFixture registry;
  EXPECT_FALSE(ui::PluginExtensionClaimed(registry.Registry()));
  if (registry.UsesStore()) {
    reg::KeyHandle key = 0;
    ASSERT_EQ(registry.Registry().CreateKey(reg::RootHandle(reg::kClassesRoot), ".pc", reg::kRead, key), 0);
    registry.Registry().CloseKey(key);
    EXPECT_TRUE(ui::PluginExtensionClaimed(registry.Registry()));
  }
}

TEST(PluginUpdate, OffersNewAndNewerConfigurationsAndMergesTheTickedOnes) {
  ScratchFolder dir("plugin-update");
  RegistryFixture registry;
  const SpecialFolders folders = WindowsTestFolders();
  const std::string file = dir / "PrivacyConfig.dat";
  const std::string d = dir.Path() + "\\";  // a folder every platform takes as absolute
  WriteCatalogue(file, Block("Root", "Sys", "1", "T<>1<>0<>Folder><" + d + "t") +
                           Block("Plugins", "Player", "1.5", "Old<>1<>1<>File><" + d + "old><" + d + "old\\keep") +
                           Block("Plugins", "Viewer", "1.9", "V<>1<>0<>File><" + d + "v") +
                           Block("Customs", "Mine", "1", "M<>1<>0<>File><" + d + "m"));
  PrivacyConfigs catalogue;
  catalogue.LoadConfig(file, folders, registry.Registry());

  ui::PluginUpdate update;
  const std::string plugins = dir / "plugins";
  update.ShowNew(plugins, catalogue, folders, registry.Registry());
  EXPECT_TRUE(update.Rows().empty());
  EXPECT_EQ(update.FrameCaption(), "New Plugins: 0 Plugins can be updated.");

  WriteCatalogue(dir.Folder("plugins") + "/zip.pc", Block("Plugins", "Zip", "1", "Z<>1<>0<>File><relative\\z"));
  WriteCatalogue(plugins + "/update.pc",
                 Block("Plugins", "Viewer", "1.10", "V<>1<>0<>File><" + d + "v") +
                     Block("Plugins", "Player", "2", "New<>0<>0<>File><" + d + "new", "Selected:0"));
  // A custom configuration of a plug-in's name is no update of it.
  WriteCatalogue(plugins + "/mine.PC", Block("Customs", "Player", "1", "C<>1<>0<>File><" + d + "c", ""));
  WriteCatalogue(plugins + "/notes.txt", Block("Plugins", "Notes", "1", "N<>1<>0<>File><" + d + "n"));
  dir.Write("plugins/bad.pc", "prefix=/usr\r\n");
  const std::string folderBefore = Joined(PlainLines(plugins + "/update.pc"));

  update.ShowNew(plugins, catalogue, folders, registry.Registry());
  EXPECT_EQ(RowTexts(update),
            (Lines{"Player | Plugins | Update to Version 2 | 1 | 2", "Zip | Plugins | Add New Version 1 | 3 | -1",
                   "Player | Customs | Add New Version 1 | 4 | -1"}));
  EXPECT_EQ(update.FrameCaption(), "New Plugins: 3 Plugins can be updated.");
  ASSERT_EQ(update.Problems().size(), 2u);
  // The files come in the folder's order: find each problem by its file.
  std::string problems = update.Problems()[0] + "\n" + update.Problems()[1];
  EXPECT_NE(problems.find("\"" + plugins + FileSystem::Separator() + "bad.pc\" line 1: "), std::string::npos)
      << problems;
  EXPECT_NE(problems.find("zip.pc\" line 6: item \"Z\" of \"Zip\" finds nothing"), std::string::npos) << problems;

  // The ticked update replaces the configuration it was matched with; the new custom one comes in ticked,
  // although its file has no "Selected:" line. The untouched row stays.
  update.AddTicked({true, false, true}, catalogue, file);
  EXPECT_EQ(RowTexts(update), (Lines{"Zip | Plugins | Add New Version 1 | 3 | -1"}));
  const auto saved = ReadCatalogue(file, folders);
  for (const PrivacyConfigs* configs : {&catalogue, saved.get()}) {
    EXPECT_EQ(Joined(Described(*configs)), Replaced(Joined(FixtureLines("ui/plugins_merged.txt")), "{dir}\\", d));
  }
  EXPECT_EQ(Joined(PlainLines(plugins + "/update.pc")), folderBefore);

  // A save that fails changes nothing.
  EXPECT_THROW(update.AddTicked({true}, catalogue, dir / "missing/PrivacyConfig.dat"), RuntimeError);
  EXPECT_EQ(catalogue.Count(), 5);
  EXPECT_EQ(update.Rows().size(), 1u);
}

}  // namespace
}  // namespace qm::testing
