#include "platform/error.h"

#include <gtest/gtest.h>

namespace qm {

TEST(RuntimeErrorTest, PrefixKeepsNumberSourceHelpAndPlatformCode) {
  RuntimeError inner(100, "RegKey", "Delete RegKey failed!", "help.chm", 7);
  EXPECT_EQ(inner.LastPlatformError(), 0);
  RuntimeError outer =
      inner.WithLastPlatformError(5).Prefixed("Delete RegKey failed.\r\n").Prefixed("Delete RegKey failed.\r\n");
  EXPECT_EQ(std::to_string(outer.Number()) + "|" + outer.Source() + "|" + outer.HelpFile() + "|" +
                std::to_string(outer.HelpContext()) + "|" + std::to_string(outer.LastPlatformError()) + "|" +
                outer.Description(),
            "100|RegKey|help.chm|7|5|Delete RegKey failed.\r\nDelete RegKey failed.\r\nDelete RegKey failed!");
  EXPECT_STREQ(outer.what(), outer.Description().c_str());
}

}  // namespace qm
