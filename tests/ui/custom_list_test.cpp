#include "ui/model/custom_list.h"

#include <gtest/gtest.h>

#include "config/catalogue_helpers.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

/// A catalogue file with a Root and a Plugins configuration and custom ones named by `customs` (in file order),
/// each with one item, and the catalogue loaded from it.
struct CustomCatalogue {
  explicit CustomCatalogue(const Lines& customs) {
    Lines lines = {"[Config]", "Type:Root",    "Software:Sys", "Selected:1", "T<>1<>0<>Folder><D:\\t",
                   "[Config]", "Type:Plugins", "Software:P",   "Selected:1", "Q<>1<>0<>File><D:\\q"};
    for (const std::string& name : customs) {
      for (std::string line : {"[Config]", "Type:Customs", "Software:{n}", "Description:about {n}", "Selected:1",
                               "Version:1", "-- mine", "Item<>1<>0<>File><D:\\{n}"}) {
        if (const std::size_t at = line.find("{n}"); at != std::string::npos) line.replace(at, 3, name);
        lines.push_back(line);
      }
    }
    WriteCatalogue(file, lines);
    catalogue.LoadConfig(file, WindowsTestFolders(), registry.Registry());
  }

  /// The configurations of the catalogue file as it is on the disk now.
  std::string Saved() { return NameTicks(*ReadCatalogue(file)); }

  ScratchFolder dir{"custom-list"};
  std::string file = dir / "PrivacyConfig.dat";
  RegistryFixture registry;
  PrivacyConfigs catalogue;
};

TEST(CustomList, WorksOnCopiesUntilAppliedThenReplacesTheCustomsAndSaves) {
  CustomCatalogue c({"e", "b", "a", "d", "c"});
  ui::CustomList list(c.catalogue);
  EXPECT_EQ(NameTicks(c.catalogue), "Sys+ P+ a+ b+ c+ d+ e+ ");
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[0].Software, "a");
  EXPECT_NE(&list[0], c.catalogue.Item(3).get());

  // Rows 2 and 4 go; an unticked row and a new configuration reach the catalogue and its file only on Apply.
  list.Remove({false, true, false, true, false});
  list.SetTicks({true, false, true});
  auto made = std::make_shared<PrivacyConfig>();
  made->Software = "Browser";
  made->SoftwareType = SoftwareType::Customs;
  made->Selected = true;
  made->FileLines = {"[Config]",   "Type:Customs", "Software:Browser",
                     "Selected:1", "Version:1",    "Cookies<>1<>0<>Folder><D:\\c"};
  made->Items.Add(MakeItem("Browser", "Cookies", PrivacyItemType::Folder, {"D:\\c"}));
  list.Add(made);
  EXPECT_EQ(NameTicks(c.catalogue), "Sys+ P+ a+ b+ c+ d+ e+ ");
  const auto root = c.catalogue.Item(1);
  list.Apply(c.catalogue, c.file);
  EXPECT_EQ(NameTicks(c.catalogue), "Sys+ P+ a+ Browser+ c- e+ ");
  EXPECT_EQ(c.Saved(), "Sys+ P+ a+ Browser+ c- e+ ");
  EXPECT_EQ(c.catalogue.Item(1), root);
  // The catalogue holds copies: editing the list again does not reach it.
  list[0].Selected = false;
  EXPECT_TRUE(c.catalogue.Item(3)->Selected);

  // A save that fails leaves the catalogue as it was.
  EXPECT_THROW(list.Apply(c.catalogue, c.dir / "missing/PrivacyConfig.dat"), RuntimeError);
  EXPECT_EQ(NameTicks(c.catalogue), "Sys+ P+ a+ Browser+ c- e+ ");
  EXPECT_EQ(c.catalogue.Item(1), root);

  // Applying an empty list removes every custom configuration.
  list.Remove(std::vector<bool>(list.size(), true));
  EXPECT_EQ(list.size(), 0u);
  list.Apply(c.catalogue, c.file);
  EXPECT_EQ(NameTicks(c.catalogue), "Sys+ P+ ");
  EXPECT_EQ(c.Saved(), "Sys+ P+ ");
}

TEST(CustomList, ExportsTheListAsOnePluginFileOfItsBlocks) {
  CustomCatalogue c({"b", "c", "a"});
  const std::string before = ReadBytes(c.file);
  ui::CustomList list(c.catalogue);
  list.SetTicks({true, false, true});
  const std::string exported = c.dir / "mine.pc";
  list.Export(exported);

  Lines expected;
  for (const char* name : {"a", "b", "c"}) {
    const std::string n = name;
    expected.insert(expected.end(),
                    {"[Config]", "Type:Customs", "Software:" + n, "Description:about " + n,
                     n == "b" ? "Selected:0" : "Selected:1", "Version:1", "-- mine", "Item<>1<>0<>File><D:\\" + n});
  }
  EXPECT_EQ(Joined(PlainLines(exported)), Joined(expected));
  EXPECT_EQ(ReadBytes(c.file), before);
  EXPECT_EQ(NameTicks(c.catalogue), "Sys+ P+ a+ b+ c+ ");
}

}  // namespace
}  // namespace qm::testing
