#include "platform/error.h"

#include <gtest/gtest.h>

namespace qm {

TEST(RuntimeErrorTest, PrefixKeepsNumberSourceHelpAndPlatformCode) {
  RuntimeError inner(100, "RegKey", "Delete RegKey failed!", "help.chm", 7);
  EXPECT_EQ(inner.LastPlatformError(), 0);
  RuntimeError outer = inner.WithLastPlatformError(5)
                           .Prefixed("Delete RegKey failed.\r\n")
                           .Prefixed("Delete RegKey failed.\r\n");
  EXPECT_EQ(outer.LastPlatformError(), 5);
  EXPECT_EQ(outer.Number(), 100);
  EXPECT_EQ(outer.Source(), "RegKey");
  EXPECT_EQ(outer.HelpFile(), "help.chm");
  EXPECT_EQ(outer.HelpContext(), 7);
  EXPECT_EQ(outer.Description(), "Delete RegKey failed.\r\nDelete RegKey failed.\r\nDelete RegKey failed!");
  EXPECT_STREQ(outer.what(), outer.Description().c_str());
}

}  // namespace qm
