#include "registry/reg_value.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "registry/reg_key.h"
#include "registry/reg_values.h"
#include "support/registry_fixture.h"

namespace qm {

namespace {

const std::string kValues = "Software\\QuillmereTest\\Values";

const RegValue& Named(RegValues& values, const std::string& name) {
  for (const RegValue& value : values) {
    if (value.ValueName == name) return value;
  }
  throw std::runtime_error("no value " + name);
}

struct Expected {
  std::string name;
  uint32_t type;
  std::string display;
};

}  // namespace

TEST(RegValueTest, EnumeratedValuesParseAndDisplayByType) {
  test::RegistryFixture fixture("registry_values.reg");
  const std::vector<Expected> expected = {
      {"", 1, "default text"},
      {"Binary", 3, "01 02 03"},
      {"BinaryCut", 3, "01"},
      {"BinaryEmpty", 3, ""},
      {"BinaryLeadingZero", 3, ""},
      {"Dword", 4, "0x00000102 (258)"},
      {"DwordMax", 4, "0xffffffff (4294967295)"},
      {"DwordShort", 4, "0x00000002 (2)"},
      {"DwordZero", 4, "0x00000000 (0)"},
      {"Expand", 2, ""},
      {"Multi", 7, ""},
      {"Path", 1, "C:\\Quillmere \"Test\"\\Data"},
      {"Text", 1, "abc"},
      {"TextCut", 1, "abc"},
      {"TextLeadingNul", 1, ""},
      {"Unicode", 1, "中文 ü"},
  };
  RegKey key(reg::kCurrentUser, kValues);
  RegValues& values = key.EnumSubValues();
  ASSERT_EQ(values.Count(), static_cast<int64_t>(expected.size()));
  int64_t index = 1;
  for (const Expected& want : expected) {
    const RegValue& got = values.Item(index++);
    EXPECT_EQ(got.ValueName, want.name);
    EXPECT_EQ(got.ValueType, want.type) << want.name;
    EXPECT_EQ(got.ValueDataString(), want.display) << want.name;
    EXPECT_EQ(got.KeyPath, kValues);
    EXPECT_EQ(got.RootKey, reg::kCurrentUser);

    // Reading one value by name gives the same as the enumeration.
    std::optional<RegValue> single = key.GetRegValue(want.name);
    ASSERT_TRUE(single.has_value()) << want.name;
    EXPECT_EQ(single->ValueType, want.type) << want.name;
    EXPECT_EQ(single->ValueDataString(), want.display) << want.name;
    EXPECT_EQ(single->ValueData, got.ValueData) << want.name;
  }

  // What the display hides is still parsed: an expandable text reads as a string, a multi-string as the bytes
  // before its first NUL, binary data cut at its first zero byte, and data that starts with NUL as "".
  EXPECT_EQ(std::get<std::string>(Named(values, "Expand").ValueData), "%TEMP%\\x");
  EXPECT_EQ(std::get<std::vector<uint8_t>>(Named(values, "Multi").ValueData), (std::vector<uint8_t>{'a'}));
  EXPECT_EQ(std::get<std::vector<uint8_t>>(Named(values, "BinaryCut").ValueData), (std::vector<uint8_t>{1}));
  EXPECT_EQ(std::get<std::string>(Named(values, "BinaryLeadingZero").ValueData), "");
  EXPECT_EQ(std::get<std::string>(Named(values, "TextLeadingNul").ValueData), "");
  EXPECT_EQ(std::get<uint32_t>(Named(values, "Dword").ValueData), 258u);

  // Sizes as the data is held in memory: two bytes a character of text or of a number's decimal form.
  EXPECT_EQ(Named(values, "Text").DataSize(), 6);
  EXPECT_EQ(Named(values, "Unicode").DataSize(), 8);
  EXPECT_EQ(Named(values, "Dword").DataSize(), 6);
  EXPECT_EQ(Named(values, "Binary").DataSize(), 3);
}

TEST(RegValueTest, MissingKeyGivesNothingMissingValueGivesAnEmptyValue) {
  test::RegistryFixture fixture("registry_values.reg");
  RegKey key(reg::kCurrentUser, kValues);
  EXPECT_FALSE(key.GetRegValue("Text", reg::kCurrentUser, kValues + "\\Missing").has_value());
  EXPECT_FALSE(key.GetRegValue("Text", 0, kValues).has_value());

  std::optional<RegValue> missing = key.GetRegValue("Missing");
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->ValueType, 0u);
  EXPECT_EQ(missing->ValueName, "Missing");
  EXPECT_EQ(std::get<std::string>(missing->ValueData), "");
  EXPECT_EQ(missing->ValueDataString(), "");

  // An existing key without values: the default value is missing in the same way.
  std::optional<RegValue> empty = key.GetRegValue("", reg::kCurrentUser, kValues + "\\Empty");
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->ValueType, 0u);
  EXPECT_EQ(key.EnumSubValues(reg::kCurrentUser, kValues + "\\Empty").Count(), 0);

  // Names compare without regard to case.
  EXPECT_EQ(key.GetRegValue("TEXT")->ValueDataString(), "abc");
}

TEST(RegValueTest, DisplayTextOfValuesMadeInMemory) {
  EXPECT_EQ(RegValue(0, "", "", 3, std::vector<uint8_t>{0x0a, 0x1b, 0xff}).ValueDataString(), "0a 1b ff");
  EXPECT_EQ(RegValue(0, "", "", 3, std::vector<uint8_t>{}).ValueDataString(), "");
  EXPECT_EQ(RegValue(0, "", "", 4, uint32_t{1}).ValueDataString(), "0x00000001 (1)");
  EXPECT_EQ(RegValue(0, "", "", 4, uint32_t{4294967295u}).ValueDataString(), "0xffffffff (4294967295)");
  EXPECT_EQ(RegValue(0, "", "", 1, std::string("x y")).ValueDataString(), "x y");
  EXPECT_EQ(RegValue(0, "", "", 2, std::string("%TEMP%")).ValueDataString(), "");
  EXPECT_EQ(RegValue(0, "", "", 7, std::vector<uint8_t>{'a'}).ValueDataString(), "");
  EXPECT_EQ(RegValue(0, "", "", 0, std::string()).ValueDataString(), "");

  RegValue made(reg::kLocalMachine, "Software\\X", "Name", 1, std::string("data"));
  EXPECT_EQ(made.RootKey, reg::kLocalMachine);
  EXPECT_EQ(made.KeyPath, "Software\\X");
  EXPECT_EQ(made.ValueName, "Name");
  EXPECT_EQ(made.ValueType, 1u);
  EXPECT_EQ(std::get<std::string>(made.ValueData), "data");
}

}  // namespace qm
