#include "ui/model/custom_item_form.h"

#include <gtest/gtest.h>

#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

using ui::CustomItemFields;
using ui::CustomItemKind;

/// The fields as "kind|name|root|key|value|special:folder path|file|special:ini path|sector|ini item", and back.
std::string Shown(const CustomItemFields& f) {
  return (f.Kind ? std::to_string(static_cast<int>(*f.Kind)) : "-") + "|" + f.ItemName + "|" + f.RootKey + "|" +
         f.KeyPath + "|" + f.ValueName + "|" + std::to_string(f.FolderSpecialPath) + ":" + f.FolderPath + "|" +
         f.FileName + "|" + std::to_string(f.IniSpecialPath) + ":" + f.IniFilePath + "|" + f.IniSectorName + "|" +
         f.IniItemName;
}
CustomItemFields FieldsOf(const std::string& shown) {
  Lines f = Split(shown, "|");
  f.resize(10);
  const auto path = [&](int i) { return f[i].substr(f[i].find(':') + 1); };
  CustomItemFields c{f[1], {}, f[2], f[3], f[4], std::stoi(f[5]), path(5), f[6], std::stoi(f[7]), path(7), f[8], f[9]};
  if (f[0] != "-") c.Kind = static_cast<CustomItemKind>(std::stoi(f[0]));
  return c;
}

/// What the fields make of an item: the refusal, or "line #type [settings]".
std::string Built(const CustomItemFields& fields, PrivacyItem& item, const SpecialFolders& folders) {
  if (std::string refusal = ui::ApplyCustomItemFields(fields, folders, item); !refusal.empty()) return refusal;
  std::string settings;
  for (const std::string& s : item.SeekSettings) settings += (settings.empty() ? "" : "|") + s;
  return item.FileLine + " #" + std::to_string(static_cast<int>(item.ItemType)) + " [" + settings + "]";
}

TEST(CustomItemForm, BuildsTheItemLineAndSeekSettingsOfEachTypeOrRefusesAndShowsAnItemInItsFields) {
  const SpecialFolders folders = WindowsTestFolders();
  ScratchFolder dir("custom-item");
  RegistryFixture registry;
  for (const auto& [shown, expected] : FixtureCases("ui/custom_item_fields.txt")) {
    const CustomItemFields fields = FieldsOf(shown);
    ASSERT_EQ(Shown(fields), shown);
    auto item = std::make_shared<PrivacyItem>();
    item->FileLine = "old";
    item->SeekSettings = {"old setting"};
    item->Irregular = true;
    const std::string built = Built(fields, *item, folders);
    EXPECT_EQ(built, expected) << shown;
    if (!built.ends_with("]")) {
      EXPECT_EQ(item->FileLine, "old");  // a refusal writes nothing
      continue;
    }
    EXPECT_FALSE(item->Irregular);
    // Read back through the catalogue, the line gives the same settings; shown again, the fields give the line.
    PrivacyConfigs catalogue;
    catalogue.LoadConfig(WriteCatalogue(dir, "[Config]\nSoftware:S\n" + item->FileLine), folders, registry.Registry());
    EXPECT_EQ(catalogue.Item(1)->Items.Item(1)->SeekSettings, item->SeekSettings) << expected;
    PrivacyItem again;
    EXPECT_EQ(Built(ui::FieldsOfItem(*item, folders), again, folders), expected);
  }

  // The check states go into the line; a placeholder whose folder this system lacks leaves the item irregular.
  PrivacyItem held;
  held.Selected = held.HoldFlag = true;
  SpecialFolders noWindows = folders;
  noWindows.WindowsDir.clear();
  EXPECT_EQ(Built(FieldsOf("2| Recent ||||3:Temp||0:||"), held, noWindows),
            "Recent<>1<>1<>Folder><%windowsdir%\\Temp #5 [\\Temp]");
  EXPECT_TRUE(held.Irregular);

  for (const auto& [item, expected] : FixtureCases("ui/custom_item_shown.txt")) {
    const Lines parts = Split(item, "|");
    PrivacyItem pi;
    pi.ItemType = static_cast<PrivacyItemType>(std::stoi(parts.at(0)));
    pi.Title = parts.at(1);
    pi.SetSeekSettingsByString(parts.at(2));
    pi.FileLine = parts.at(3);
    EXPECT_EQ(Shown(ui::FieldsOfItem(pi, WindowsTestFolders())), expected) << item;
  }
}

}  // namespace
}  // namespace qm::testing
