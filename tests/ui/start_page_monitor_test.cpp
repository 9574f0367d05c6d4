#include "ui/model/start_page_monitor.h"

#include <gtest/gtest.h>

#include "registry/reg_key.h"
#include "support/lines.h"
#include "support/registry_fixture.h"
#include "support/settings_keys.h"

namespace qm::testing {
namespace {

using namespace ui;

TEST(StartPageMonitor, AsksWhenAValueChangedAndEitherAnswerMakesThemEqual) {
  RegistryFixture fixture("ui/settings_keys.reg");
  reg::RegistryBackend& registry = fixture.Registry();
  const BrowserPages current = ReadBrowserPages(registry);
  EXPECT_EQ(current.StartPage + "|" + current.WindowTitle, "http://hijack.example/|Hijacked Browser");

  SystemSettings settings;
  settings.StartPage = "http://home.example/";
  settings.WindowTitle = " ";
  EXPECT_EQ(MonitorQuestion(settings, current),
            "Internet Explorer Start Page and Window Title have been changed!\r\n"
            "Original Values: Start Page is \"http://home.example/\", Window Title is \" \"\r\n"
            "Current Values: Start Page is \"http://hijack.example/\", Window Title is \"Hijacked Browser\"\r\n\r\n"
            "\"Yes\" to recover to the original values, \"No\" to update to the current values.");
  // Only equal values are quiet; case counts.
  SystemSettings same = settings;
  same.StartPage = current.StartPage;
  same.WindowTitle = current.WindowTitle;
  EXPECT_EQ(MonitorQuestion(same, current), std::nullopt);
  same.WindowTitle = "hijacked browser";
  EXPECT_NE(MonitorQuestion(same, current), std::nullopt);

  // Yes with a blank stored title: the start page goes back and the title is deleted, nothing else changes.
  RecoverBrowserPages(registry, settings);
  EXPECT_EQ(KeyValues(fixture, kBrowserMainKeyPath),
            (Lines{"Search Page=http://search.example/", "Start Page=http://home.example/"}));
  settings.WindowTitle = "My Browser";
  RecoverBrowserPages(registry, settings);
  EXPECT_EQ(ReadBrowserPages(registry).WindowTitle, "My Browser");
  EXPECT_EQ(MonitorQuestion(settings, ReadBrowserPages(registry)), std::nullopt);

  // No: the settings take the browser's values, and only those two are written to the settings key.
  AdoptBrowserPages(registry, settings, current, kTestRoots);
  EXPECT_EQ(std::make_pair(settings.StartPage, settings.WindowTitle),
            std::make_pair(current.StartPage, current.WindowTitle));
  EXPECT_EQ(KeyValues(fixture, kSettingsKeyPath),
            (Lines{"Schedule Type=daily", "Start Page=http://hijack.example/", "Window Title=Hijacked Browser"}));

  // A browser without its Main key has nothing to be asked about.
  ASSERT_EQ(registry.DeleteKey(reg::RootHandle(reg::kCurrentUser), kBrowserMainKeyPath), reg::kSuccess);
  const BrowserPages none = ReadBrowserPages(registry);
  EXPECT_EQ(none.StartPage + none.WindowTitle, "");
  EXPECT_EQ(MonitorQuestion({}, none), std::nullopt);
}

}  // namespace
}  // namespace qm::testing
