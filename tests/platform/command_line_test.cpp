#include "platform/command_line.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/text.h"

namespace qm {

TEST(CommandLineTest, ArgumentsComeAsUtf8WithTheProgramFirst) {
  char program[] = "quillmere-cli";
  char name[] = "caf\xC3\xA9 au lait";
  char* argv[] = {program, name, nullptr};
  const std::vector<std::string> arguments = CommandLineArguments(2, argv);
  ASSERT_FALSE(arguments.empty());
  if (FileSystem::Separator() == '\\') {
    // Windows reads the process's own Unicode command line: the running test program.
    EXPECT_NE(text::ToLowerAscii(arguments[0]).find("quillmere_tests"), std::string::npos) << arguments[0];
    for (const std::string& argument : arguments) EXPECT_TRUE(text::IsValidUtf8(argument)) << argument;
  } else {
    EXPECT_EQ(arguments, (std::vector<std::string>{"quillmere-cli", "caf\xC3\xA9 au lait"}));
  }
}

}  // namespace qm
