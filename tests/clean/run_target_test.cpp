#include "clean/run_target.h"

#include <gtest/gtest.h>

#include "config/fake_walks.h"

namespace qm {
namespace {

using testing::MakeConfig;
using Level = RunTarget::Level;

TEST(RunTarget, EachTagShapePicksItsTargetAndStatusText) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", software_types::kRoot, true, {"Recent Documents=1"}));
  catalogue.Add(MakeConfig("Browser Plus", software_types::kPlugins, true, {"Cookies=1"}));
  catalogue.Add(MakeConfig("Mine", software_types::kCustoms, true, {"Notes=1"}));

  struct Case {
    const char* tag;
    Level scope;
    int32_t softwareType;  ///< checked for the software-type level only
    const char* software;  ///< the configuration picked, "" for none
    const char* title;     ///< the item picked, "" for none
    const char* statusText;
  };
  const Case cases[] = {
      {"Ur All Privacy", Level::Catalogue, 0, "", "", "ALL"},
      {"Ur All Privacy\\Customs", Level::SoftwareType, 3, "", "", "Customs"},
      {"Ur All Privacy\\Plug-ins", Level::SoftwareType, 2, "", "", "Plug-ins"},
      {"Ur All Privacy\\Windows", Level::Config, 0, "Windows", "", "Windows"},
      {"Ur All Privacy\\Plug-ins\\Browser Plus", Level::Config, 0, "Browser Plus", "", "Browser Plus"},
      {"Ur All Privacy\\Windows\\Recent Documents", Level::Item, 0, "Windows", "Recent Documents",
       "Windows\\Recent Documents"},
      {"Ur All Privacy\\Customs\\Mine\\Notes", Level::Item, 0, "Mine", "Notes", "Mine\\Notes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    const auto target = SelectRunTarget(catalogue, c.tag);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->Scope, c.scope);
    if (c.scope == Level::SoftwareType) {
      EXPECT_EQ(target->SoftwareType, c.softwareType);
    }
    EXPECT_EQ(target->Config ? target->Config->Software : "", c.software);
    EXPECT_EQ(target->Item ? target->Item->Title : "", c.title);
    EXPECT_EQ(target->StatusText, c.statusText);
  }
}

TEST(RunTarget, TagsOfNoNodeSelectNothing) {
  PrivacyConfigs catalogue;
  catalogue.Add(MakeConfig("Windows", software_types::kRoot, true, {"Recent Documents=1"}));
  for (const char* tag : {"", "All Privacy", "ur all privacy", "Ur All Privacy\\windows", "Ur All Privacy\\Nope",
                          "Ur All Privacy\\Windows\\recent documents", "Ur All Privacy\\Customs\\Nope",
                          "Ur All Privacy\\Windows\\Recent Documents\\More",
                          "Ur All Privacy\\Customs\\Windows\\Recent Documents\\More", "Ur All Privacy\\"}) {
    EXPECT_FALSE(SelectRunTarget(catalogue, tag)) << tag;
  }
  EXPECT_EQ(SplitTreeTag("a\\\\b"), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace qm
