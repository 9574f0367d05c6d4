#include "ui/model/custom_item_form.h"

#include <gtest/gtest.h>

#include "support/registry_fixture.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

using ui::CustomItemFields;
using ui::CustomItemKind;
using enum ui::CustomItemKind;

/// What the fields make of an item: the refusal, or "line #type [settings]".
std::string Built(const CustomItemFields& fields, PrivacyItem& item, const SpecialFolders& folders) {
  if (std::string refusal = ui::ApplyCustomItemFields(fields, folders, item); !refusal.empty()) return refusal;
  std::string settings;
  for (const std::string& s : item.SeekSettings) settings += (settings.empty() ? "" : "|") + s;
  return item.FileLine + " #" + std::to_string(static_cast<int>(item.ItemType)) + " [" + settings + "]";
}

CustomItemFields Registry(CustomItemKind kind, std::string root, std::string key, std::string value = "") {
  return {.ItemName = "Run", .Kind = kind, .RootKey = root, .KeyPath = key, .ValueName = value};
}
CustomItemFields Place(CustomItemKind kind, int special, std::string path, std::string file = "") {
  return {.ItemName = " Recent ", .Kind = kind, .FolderSpecialPath = special, .FolderPath = path, .FileName = file};
}
CustomItemFields Ini(int special, std::string path, std::string sector, std::string key = "") {
  return {.ItemName = "Ini",
          .Kind = IniFile,
          .IniSpecialPath = special,
          .IniFilePath = path,
          .IniSectorName = sector,
          .IniItemName = key};
}

TEST(CustomItemForm, BuildsTheItemLineAndSeekSettingsOfEachTypeOrRefuses) {
  const SpecialFolders folders = WindowsTestFolders();
  const std::string cu = "HKEY_CURRENT_USER";
  const std::pair<CustomItemFields, std::string> cases[] = {
      {{.ItemName = "  ", .Kind = Folder, .FolderPath = "x"}, "Item Name is null."},
      {{.ItemName = "X", .FolderPath = "x"}, "Please select custom item's type."},
      // Registry Key and Registry Value
      {Registry(RegistryKey, "", "Software\\X"), "Registry Key Path is null."},
      {Registry(RegistryKey, cu, "  "), "Registry Key Path is null."},
      {Registry(RegistryKey, cu, " Software\\X ", "ignored<>"),
       "Run<>0<>0<>RegKey><" + cu + "<>Software\\X #2 [" + cu + "|Software\\X]"},
      {Registry(RegistryValue, "HKEY_USERS", "S\\K", " Last "),
       "Run<>0<>0<>RegValue><HKEY_USERS<>S\\K<>Last #1 "
       "[HKEY_USERS|S\\K|Last]"},
      {Registry(RegistryValue, cu, "S\\K"), "Run<>0<>0<>RegValue><" + cu + "<>S\\K #1 [" + cu + "|S\\K]"},
      {Registry(RegistryValue, cu, "S\\K", "a>b"), "Value(s) Name must not contain \"<\" or \">\"."},
      // Folder and File
      {Place(Folder, 1, "Recent"), "Recent<>0<>0<>Folder><%userprofiledir%\\Recent #5 [C:\\Users\\ann\\Recent]"},
      {Place(Folder, 3, " "), "Recent<>0<>0<>Folder><%windowsdir% #5 [C:\\Windows]"},
      {Place(Folder, 0, "D:\\Cache"), "Recent<>0<>0<>Folder><D:\\Cache #5 [D:\\Cache]"},
      {Place(Folder, 0, ""), "Folder Path is null."},
      {Place(Folder, 0, "D:\\x>"), "Folder Path must not contain \"<\" or \">\"."},
      {Place(File, 5, "Logs", "*.log"),
       "Recent<>0<>0<>File><%temporarydir%\\Logs<>*.log #4 "
       "[C:\\Users\\ann\\AppData\\Local\\Temp\\Logs|*.log]"},
      {Place(File, 6, ""), "Recent<>0<>0<>File><%programfilesdir% #4 [C:\\Program Files]"},
      {Place(File, 0, "D:\\x", "  "), "Recent<>0<>0<>File><D:\\x #4 [D:\\x]"},
      {Place(File, 0, " "), "Folder Path is null."},
      // Initial File
      {Ini(2, "app.ini", "Recent", "File*"),
       "Ini<>0<>0<>IniFileItem><%appdatadir%\\app.ini<>Recent<>File* #7 "
       "[C:\\Users\\ann\\AppData\\Local\\app.ini|Recent|File*]"},
      {Ini(0, "D:\\a.ini", "S"), "Ini<>0<>0<>IniFileItem><D:\\a.ini<>S #7 [D:\\a.ini|S]"},
      {Ini(0, "D:\\a.ini", " "), "Initial File Path and/or Sector Name is null."},
      {Ini(2, "", "S"), "Initial File Path and/or Sector Name is null."},
      {Ini(0, "D:\\a.ini", "S", "<k"), "Item(s) Name must not contain \"<\" or \">\"."},
      // Names the line grammar would read as something else
      {{.ItemName = "a<>b", .Kind = Folder, .FolderPath = "x"}, "Item Name must not contain \"<\" or \">\"."},
      {{.ItemName = "--old", .Kind = Folder, .FolderPath = "x"},
       "Item Name must not begin with \"--\", \"Software:\", \"Type:\", \"Description:\", \"Selected:\" or "
       "\"Version:\"."},
      {{.ItemName = "Version:2", .Kind = Folder, .FolderPath = "x"},
       "Item Name must not begin with \"--\", \"Software:\", \"Type:\", \"Description:\", \"Selected:\" or "
       "\"Version:\"."},
  };
  ScratchFolder dir("custom-item");
  RegistryFixture registry;
  for (const auto& [fields, expected] : cases) {
    auto item = std::make_shared<PrivacyItem>();
    item->FileLine = "old";
    item->SeekSettings = {"old setting"};
    item->Irregular = true;
    const std::string built = Built(fields, *item, folders);
    EXPECT_EQ(built, expected) << fields.ItemName;
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
  EXPECT_EQ(Built(Place(Folder, 3, "Temp"), held, noWindows), "Recent<>1<>1<>Folder><%windowsdir%\\Temp #5 [\\Temp]");
  EXPECT_TRUE(held.Irregular);
}

/// The fields as "option|name|root|key|value|special:folder|file|special:ini file|sector|ini item".
std::string Shown(const CustomItemFields& f) {
  return std::to_string(static_cast<int>(f.Kind.value())) + "|" + f.ItemName + "|" + f.RootKey + "|" + f.KeyPath + "|" +
         f.ValueName + "|" + std::to_string(f.FolderSpecialPath) + ":" + f.FolderPath + "|" + f.FileName + "|" +
         std::to_string(f.IniSpecialPath) + ":" + f.IniFilePath + "|" + f.IniSectorName + "|" + f.IniItemName;
}

TEST(CustomItemForm, ShowsAnItemInTheFieldsOfItsType) {
  using T = PrivacyItemType;
  // The item's type, title, seek settings and definition line; the fields that show it.
  const std::tuple<T, const char*, const char*, const char*, const char*> cases[] = {
      // A new item shows its type's option and nothing else, whatever it holds; other types show the first.
      {T::Unknown, "", "a", "", "0|||||0:||0:||"},
      {T::Folder, "", "a", "", "2|||||0:||0:||"},
      {T::Customize, "P", "ParseRecycleBin", "", "0|P||||0:||0:||"},
      {T::RegValue, "V", "HKEY_USERS<>K<>N<>x", "", "1|V|HKEY_USERS|K|N|0:||0:||"},
      {T::RegKey, "K", "HKEY_USERS", "", "0|K|HKEY_USERS|||0:||0:||"},
      {T::File, "F", "C:\\Users\\ann\\Cookies<>*.txt", "F<>1<>0<>File><%userprofiledir%\\Cookies<>*.txt",
       "3|F||||1:Cookies|*.txt|0:||"},
      // The line does not name the placeholder the path begins with: the full path, no special path.
      {T::Folder, "W", "C:\\Windows\\Temp", "W<>1<>0<>Folder><C:\\Windows\\Temp", "2|W||||0:C:\\Windows\\Temp||0:||"},
      // The first placeholder that begins the path and is in the line wins, not the first that begins it.
      {T::Folder, "T", "C:\\Users\\ann\\AppData\\Local\\Temp\\x", "T<>1<>0<>Folder><%temporarydir%\\x",
       "2|T||||5:x||0:||"},
      {T::IniFileItem, "I", "C:\\Program Files\\a.ini<>S<>k*", "I<>1<>0<>IniFileItem><%programfilesdir%",
       "4|I||||0:||6:a.ini|S|k*"},
  };
  for (const auto& [type, title, seek, line, expected] : cases) {
    PrivacyItem pi;
    pi.ItemType = type;
    pi.Title = title;
    pi.SetSeekSettingsByString(seek);
    pi.FileLine = line;
    EXPECT_EQ(Shown(ui::FieldsOfItem(pi, WindowsTestFolders())), expected);
  }
}

}  // namespace
}  // namespace qm::testing
