#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/registry_store_format.h"
#include "platform/text.h"

namespace qm::reg {

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

/// Every key and value below a node, one line each, in enumeration order.
void Dump(const RegistryStore::Node& node, const std::string& path, std::string& out) {
  out += "[" + path + "]\n";
  for (const auto& value : node.Values) {
    out += "  " + value.Name + " type " + std::to_string(value.Type) + ":";
    for (uint8_t byte : value.Data) out += " " + std::to_string(byte);
    out += "\n";
  }
  for (const auto& sub : node.SubKeys) Dump(*sub, path + "\\" + sub->Name, out);
}

std::string Dump(const RegistryStore& store) {
  std::string out;
  for (uint32_t root = 0x80000000u; root <= 0x80000006u; ++root) Dump(*store.Root(root), RegistryStore::RootName(root), out);
  return out;
}

std::string Utf16LeToUtf8(const std::string& bytes) {
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
  }
  return text::Utf16ToUtf8(units);
}

}  // namespace

TEST(RegistryStoreTest, KeysSortWithoutCaseValuesKeepTheirOrder) {
  RegistryStore store;
  bool created = false;
  auto root = store.Root(0x80000001u);
  auto key = RegistryStore::Create(root, "Software\\\\Zeta\\", created);
  EXPECT_TRUE(created);
  RegistryStore::Create(root, "software\\alpha", created);
  RegistryStore::Create(root, "SOFTWARE\\b_x", created);
  RegistryStore::Create(root, "Software\\Bx", created);
  RegistryStore::Create(root, "Software\\ZETA", created);
  EXPECT_FALSE(created);
  auto software = RegistryStore::Find(root, "sOfTwArE");
  ASSERT_TRUE(software);
  EXPECT_EQ(software->Name, "Software");
  std::vector<std::string> names;
  for (const auto& sub : software->SubKeys) names.push_back(sub->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"alpha", "b_x", "Bx", "Zeta"}));

  EXPECT_TRUE(RegistryStore::SetValue(*key, "z", 1, Bytes(std::string("1\0", 2))));
  EXPECT_TRUE(RegistryStore::SetValue(*key, "a", 4, {1, 0, 0, 0}));
  EXPECT_TRUE(RegistryStore::SetValue(*key, "Z", 3, {9}));
  EXPECT_FALSE(RegistryStore::SetValue(*key, "z", 3, {9}));
  ASSERT_EQ(key->Values.size(), 2u);
  EXPECT_EQ(key->Values[0].Name, "z");
  EXPECT_EQ(key->Values[0].Type, 3u);
  EXPECT_EQ(key->Values[1].Name, "a");
  EXPECT_TRUE(RegistryStore::DeleteValue(*key, "Z"));
  EXPECT_FALSE(RegistryStore::DeleteValue(*key, "z"));

  EXPECT_TRUE(RegistryStore::RemoveTree(root, "software"));
  EXPECT_TRUE(key->Deleted);
  EXPECT_FALSE(RegistryStore::Find(root, "Software\\Zeta"));
  EXPECT_FALSE(RegistryStore::RemoveTree(root, "Software"));
}

TEST(RegistryStoreTest, WrittenFileReadsBackToTheSameTree) {
  RegistryStore store;
  bool created = false;
  auto root = store.Root(0x80000001u);
  auto key = RegistryStore::Create(root, "Software\\Quill \"mere\"\\中文", created);
  RegistryStore::Create(root, "Software\\Empty", created);
  RegistryStore::SetValue(*key, "", 1, Bytes(std::string("default\0", 8)));
  RegistryStore::SetValue(*key, "Path", 1, Bytes(std::string("C:\\x \"y\"\0", 9)));
  RegistryStore::SetValue(*key, "Lines", 1, Bytes(std::string("a\r\nb\0", 5)));
  RegistryStore::SetValue(*key, "Unterminated", 1, Bytes("abc"));
  RegistryStore::SetValue(*key, "Two NULs", 1, Bytes(std::string("abc\0\0", 5)));
  RegistryStore::SetValue(*key, "Number", 4, {0x02, 0x01, 0, 0});
  RegistryStore::SetValue(*key, "Short dword", 4, {0x02});
  RegistryStore::SetValue(*key, "Expand", 2, Bytes(std::string("%TEMP%\\ü\0", 10)));
  RegistryStore::SetValue(*key, "Multi", 7, Bytes(std::string("a\0b\0\0", 5)));
  RegistryStore::SetValue(*key, "Qword", 11, {1, 2, 3, 4, 5, 6, 7, 8});
  RegistryStore::SetValue(*key, "None", 0, {});
  std::vector<uint8_t> big(300);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i);
  RegistryStore::SetValue(*key, "Big", 3, big);
  auto machine = RegistryStore::Create(store.Root(0x80000002u), "Software\\M", created);
  RegistryStore::SetValue(*store.Root(0x80000003u), "AtRoot", 1, Bytes(std::string("r\0", 2)));

  std::string file = FormatRegFile(store);
  ASSERT_GE(file.size(), 2u);
  EXPECT_EQ(file.substr(0, 2), "\xFF\xFE");
  std::string textForm = Utf16LeToUtf8(file);
  EXPECT_EQ(textForm.rfind("Windows Registry Editor Version 5.00\r\n\r\n", 0), 0u);
  EXPECT_NE(textForm.find("[HKEY_CURRENT_USER\\Software\\Quill \"mere\"\\中文]\r\n@=\"default\"\r\n"
                          "\"Path\"=\"C:\\\\x \\\"y\\\"\"\r\n"),
            std::string::npos);
  EXPECT_NE(textForm.find("\"Number\"=dword:00000102\r\n"), std::string::npos);
  EXPECT_NE(textForm.find("\"Lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\r\n"), std::string::npos);
  EXPECT_NE(textForm.find("\"Qword\"=hex(b):01,02,03,04,05,06,07,08\r\n"), std::string::npos);
  EXPECT_NE(textForm.find("[HKEY_USERS]\r\n\"AtRoot\"=\"r\"\r\n"), std::string::npos);
  EXPECT_NE(textForm.find("[HKEY_CURRENT_USER\\Software\\Empty]\r\n\r\n"), std::string::npos);
  EXPECT_EQ(textForm.find("[HKEY_CURRENT_USER]"), std::string::npos);
  // Long data continues on the next line after a backslash, as regedit keeps lines under 80 columns.
  std::istringstream lines(textForm);
  int continued = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    EXPECT_LE(line.size(), 80u) << line;
    if (!line.empty() && line.back() == '\\') ++continued;
  }
  EXPECT_GE(continued, 10);

  RegistryStore reread;
  ASSERT_TRUE(ParseRegFile(file, reread));
  EXPECT_EQ(Dump(reread), Dump(store));
  EXPECT_NE(Dump(store).find("Big type 3: 0 1 2"), std::string::npos);
  EXPECT_TRUE(machine);
}

TEST(RegistryStoreTest, ReadsRegeditSyntaxAndSkipsWhatItCannotRead) {
  RegistryStore store;
  bool created = false;
  RegistryStore::Create(store.Root(0x80000001u), "Software\\Old\\Child", created);
  std::string file =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; a comment\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
      "[HKEY_CURRENT_USER\\Software\\New]\r\n"
      "@=\"d\"\r\n"
      "\"Esc\"=\"a\\\\b\\\"c\\nd\"\r\n"
      "\"Hex\"=hex:01,02,\\\r\n"
      "  03,04\r\n"
      "\"Gone\"=\"x\"\r\n"
      "\"Gone\"=-\r\n"
      "\"Bad\"=hex:zz\r\n"
      "\"Bad dword\"=dword:123456789\r\n"
      "\"Unclosed\"=\"abc\r\n"
      "garbage line\r\n"
      "  \"Dw\" = dword:0000000A\r\n"
      "[HKEY_NOWHERE\\Software\\X]\r\n"
      "\"Lost\"=\"y\"\r\n";
  ASSERT_TRUE(ParseRegFile(file, store));
  auto root = store.Root(0x80000001u);
  EXPECT_FALSE(RegistryStore::Find(root, "Software\\Old"));
  auto key = RegistryStore::Find(root, "Software\\New");
  ASSERT_TRUE(key);
  std::vector<std::string> names;
  for (const auto& value : key->Values) names.push_back(value.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"", "Esc", "Hex", "Dw"}));
  EXPECT_EQ(key->FindValue("esc")->Data, Bytes(std::string("a\\b\"c\nd\0", 8)));
  EXPECT_EQ(key->FindValue("Hex")->Data, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(key->FindValue("Dw")->Data, (std::vector<uint8_t>{10, 0, 0, 0}));

  // REGEDIT4 files are in the ANSI code page, their hex(N) texts too.
  RegistryStore ansi;
  ASSERT_TRUE(ParseRegFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Caf\xE9]\r\n\"N\"=\"\xE9\"\r\n\"E\"=hex(2):e9,00\r\n", ansi));
  auto cafe = RegistryStore::Find(ansi.Root(0x80000001u), "Café");
  ASSERT_TRUE(cafe);
  EXPECT_EQ(cafe->FindValue("N")->Data, Bytes(std::string("é\0", 3)));
  EXPECT_EQ(cafe->FindValue("E")->Data, Bytes(std::string("é\0", 3)));

  // Anything else is not a .reg file and changes nothing.
  RegistryStore untouched;
  EXPECT_FALSE(ParseRegFile("[HKEY_CURRENT_USER\\Software\\X]\r\n", untouched));
  EXPECT_FALSE(ParseRegFile("", untouched));
  EXPECT_FALSE(RegistryStore::Find(untouched.Root(0x80000001u), "Software"));
}

}  // namespace qm::reg
