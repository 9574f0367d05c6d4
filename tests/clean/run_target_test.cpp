#include "clean/run_target.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

std::shared_ptr<PrivacyConfig> Config(const std::string& software, int32_t type, const std::string& title) {
  auto config = std::make_shared<PrivacyConfig>();
  config->Software = software;
  config->SoftwareType = type;
  config->Selected = true;
  auto item = std::make_shared<PrivacyItem>();
  item->Software = software;
  item->Title = title;
  config->Items.Add(item);
  return config;
}

TEST(RunTarget, EachTagShapePicksItsTargetAndStatusText) {
  PrivacyConfigs catalogue;
  catalogue.Add(Config("Windows", software_types::kRoot, "Recent Documents"));
  catalogue.Add(Config("Browser Plus", software_types::kPlugins, "Cookies"));
  catalogue.Add(Config("Mine", software_types::kCustoms, "Notes"));

  auto root = SelectRunTarget(catalogue, "Ur All Privacy");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->Scope, RunTarget::Level::Catalogue);
  EXPECT_EQ(root->StatusText, "ALL");

  auto customs = SelectRunTarget(catalogue, "Ur All Privacy\\Customs");
  ASSERT_TRUE(customs);
  EXPECT_EQ(customs->Scope, RunTarget::Level::SoftwareType);
  EXPECT_EQ(customs->SoftwareType, 3);
  EXPECT_EQ(customs->StatusText, "Customs");
  auto plugins = SelectRunTarget(catalogue, "Ur All Privacy\\Plug-ins");
  ASSERT_TRUE(plugins);
  EXPECT_EQ(plugins->SoftwareType, 2);
  EXPECT_EQ(plugins->StatusText, "Plug-ins");

  auto windows = SelectRunTarget(catalogue, "Ur All Privacy\\Windows");
  ASSERT_TRUE(windows);
  EXPECT_EQ(windows->Scope, RunTarget::Level::Config);
  EXPECT_EQ(windows->Config->Software, "Windows");
  EXPECT_EQ(windows->StatusText, "Windows");

  auto plugin = SelectRunTarget(catalogue, "Ur All Privacy\\Plug-ins\\Browser Plus");
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin->Scope, RunTarget::Level::Config);
  EXPECT_EQ(plugin->StatusText, "Browser Plus");

  auto recent = SelectRunTarget(catalogue, "Ur All Privacy\\Windows\\Recent Documents");
  ASSERT_TRUE(recent);
  EXPECT_EQ(recent->Scope, RunTarget::Level::Item);
  EXPECT_EQ(recent->Item->Title, "Recent Documents");
  EXPECT_EQ(recent->StatusText, "Windows\\Recent Documents");

  auto notes = SelectRunTarget(catalogue, "Ur All Privacy\\Customs\\Mine\\Notes");
  ASSERT_TRUE(notes);
  EXPECT_EQ(notes->Scope, RunTarget::Level::Item);
  EXPECT_EQ(notes->Config->Software, "Mine");
  EXPECT_EQ(notes->StatusText, "Mine\\Notes");
}

TEST(RunTarget, TagsOfNoNodeSelectNothing) {
  PrivacyConfigs catalogue;
  catalogue.Add(Config("Windows", software_types::kRoot, "Recent Documents"));
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
