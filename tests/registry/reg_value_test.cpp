#include "registry/reg_value.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/reg_key.h"
#include "registry/reg_values.h"
#include "support/registry_fixture.h"

namespace qm::testing {
namespace {

const std::string kValues = "Software\\QuillmereTest\\Values";

using Bytes = std::vector<uint8_t>;

TEST(RegValue, ValuesParseDisplayAndSizeByType) {
  RegistryFixture fixture("registry_values.reg");
  // What the display hides is still parsed: an expandable text reads as a string, a multi-string as the bytes
  // before its first NUL, binary data is cut at its first zero byte, and data that starts with NUL is "".
  // Sizes are those of the data in memory: two bytes a character of text or of a number's decimal form.
  struct Expected {
    std::string name;
    uint32_t type;
    std::string display;
    RegValueData data;
    int64_t size;
  };
  const std::vector<Expected> expected = {
      {"", 1, "default text", std::string("default text"), 24},
      {"Binary", 3, "01 02 03", Bytes{1, 2, 3}, 3},
      {"BinaryCut", 3, "01", Bytes{1}, 1},
      {"BinaryEmpty", 3, "", std::string(), 0},
      {"BinaryLeadingZero", 3, "", std::string(), 0},
      {"Dword", 4, "0x00000102 (258)", 258u, 6},
      {"DwordMax", 4, "0xffffffff (4294967295)", 4294967295u, 20},
      {"DwordShort", 4, "0x00000002 (2)", 2u, 2},
      {"DwordZero", 4, "0x00000000 (0)", 0u, 2},
      {"Expand", 2, "", std::string("%TEMP%\\x"), 16},
      {"Multi", 7, "", Bytes{'a'}, 1},
      {"Path", 1, "C:\\Quillmere \"Test\"\\Data", std::string("C:\\Quillmere \"Test\"\\Data"), 48},
      {"Text", 1, "abc", std::string("abc"), 6},
      {"TextCut", 1, "abc", std::string("abc"), 6},
      {"TextLeadingNul", 1, "", std::string(), 0},
      {"Unicode", 1, "中文 ü", std::string("中文 ü"), 8},
  };
  RegKey key(fixture.Registry(), reg::kCurrentUser, kValues);
  RegValues& values = key.EnumSubValues();
  ASSERT_EQ(values.Count(), static_cast<int64_t>(expected.size()));
  int64_t index = 1;
  for (const Expected& want : expected) {
    // Reading one value by name gives what the enumeration gives.
    for (const RegValue& got : {values.Item(index++), *key.GetRegValue(want.name)}) {
      EXPECT_EQ(got.ValueName, want.name);
      EXPECT_EQ(got.ValueType, want.type) << want.name;
      EXPECT_EQ(got.ValueDataString(), want.display) << want.name;
      EXPECT_EQ(got.ValueData, want.data) << want.name;
      EXPECT_EQ(got.DataSize(), want.size) << want.name;
      EXPECT_EQ(got.KeyPath, kValues);
      EXPECT_EQ(got.RootKey, reg::kCurrentUser);
      EXPECT_EQ(got.Registry, &fixture.Registry()) << want.name;
    }
  }

  // A missing key gives nothing, a missing value (also the default value of a key without values) an empty
  // one.
  EXPECT_FALSE(key.GetRegValue("Text", reg::kCurrentUser, kValues + "\\Missing").has_value());
  EXPECT_FALSE(key.GetRegValue("Text", 0, kValues).has_value());
  for (const auto& [name, path] :
       {std::pair<std::string, std::string>{"Missing", kValues}, {"", kValues + "\\Empty"}}) {
    std::optional<RegValue> missing = key.GetRegValue(name, reg::kCurrentUser, path);
    ASSERT_TRUE(missing.has_value()) << path;
    EXPECT_EQ(missing->ValueType, 0u);
    EXPECT_EQ(missing->ValueName, name);
    EXPECT_EQ(missing->ValueData, RegValueData(std::string()));
  }
  EXPECT_EQ(key.EnumSubValues(reg::kCurrentUser, kValues + "\\Empty").Count(), 0);
  EXPECT_EQ(key.GetRegValue("TEXT")->ValueDataString(), "abc") << "names compare without regard to case";
}

}  // namespace
}  // namespace qm::testing
