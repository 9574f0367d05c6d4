#include "ui/model/hold_lists.h"

#include <gtest/gtest.h>

#include "support/catalogue_builders.h"
#include "support/lines.h"

namespace qm::testing {
namespace {

PrivacyValue Trace(TraceKind kind, const std::string& path) { return {path, "", 0, kind, "same text", 0, {}}; }

TEST(HoldLists, HoldKeepsEachPathOnceAndOnlyWriteBackChangesTheConfiguration) {
  auto config = MakeConfig("App", SoftwareType::Root,
                           {MakeItem("App", "Cache", PrivacyItemType::File, {}, {"C:\\c\\old.tmp"}),
                            MakeItem("App", "Keys", PrivacyItemType::RegKey, {}, {"kept as it is"})});
  config->Items.Item(2)->HoldFlag = false;
  ui::HoldLists holds(*config);
  EXPECT_EQ(holds.Of(0), (Lines{"C:\\c\\old.tmp"}));

  // Files, folders and registry values are held by their path, whatever their text; keys and ini entries,
  // which no search spares, are not.
  const PrivacyValue traces[] = {
      Trace(TraceKind::File, "C:\\c\\a.tmp"),         Trace(TraceKind::File, "C:\\d\\a.tmp"),
      Trace(TraceKind::File, "C:\\c\\old.tmp"),       Trace(TraceKind::Folder, "C:\\c\\sub"),
      Trace(TraceKind::RegistryKey, "Software\\App"), Trace(TraceKind::RegistryValue, "Software\\App\\Last"),
      Trace(TraceKind::IniEntry, "C:\\app.ini"),      Trace(TraceKind::File, "C:\\c\\a.tmp"),
  };
  std::vector<const PrivacyValue*> selected;
  for (const PrivacyValue& pv : traces) selected.push_back(&pv);
  holds.Hold(0, selected);
  const Lines held{"C:\\c\\old.tmp", "C:\\c\\a.tmp", "C:\\d\\a.tmp", "C:\\c\\sub", "Software\\App\\Last"};
  EXPECT_EQ(holds.Of(0), held);
  holds.Unhold(0, {4, 1, 4});
  EXPECT_EQ(holds.Of(0), (Lines{"C:\\c\\old.tmp", "C:\\d\\a.tmp", "C:\\c\\sub"}));
  EXPECT_EQ(Entries(config->Items.Item(1)->HoldSettings), Lines{"C:\\c\\old.tmp"});

  ui::ConfigTree tree;
  tree.Load(*config);
  tree.Check(1, false);
  holds.WriteBack(*config, tree);
  EXPECT_TRUE(config->Selected);
  EXPECT_FALSE(config->Items.Item(1)->Selected);
  EXPECT_TRUE(config->Items.Item(2)->Selected);
  EXPECT_EQ(Entries(config->Items.Item(1)->HoldSettings), (Lines{"C:\\c\\old.tmp", "C:\\d\\a.tmp", "C:\\c\\sub"}));
  EXPECT_EQ(Entries(config->Items.Item(2)->HoldSettings), Lines{"kept as it is"});

  const std::pair<const char*, const char*> names[] = {
      {"C:\\c\\a.tmp", "a.tmp"}, {"Software\\App\\Last", "Last"}, {"plain", "plain"}, {"C:\\c\\", ""}};
  for (const auto& [path, name] : names) EXPECT_EQ(ui::HeldName(path), name) << path;
}

}  // namespace
}  // namespace qm::testing
