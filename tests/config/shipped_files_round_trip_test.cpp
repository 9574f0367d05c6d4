#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue_files.h"
#include "config/privacy_configs.h"
#include "config/settings_string.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

/// The built catalogue and plug-in files beside the programs.
std::vector<fs::path> ShippedFiles() {
  std::vector<fs::path> files{fs::path(QM_CATALOGUE_DIR) / "PrivacyConfig.dat"};
  const fs::path plugins = fs::path(QM_CATALOGUE_DIR) / "plugins";
  if (fs::is_directory(plugins)) {
    for (const auto& entry : fs::directory_iterator(plugins)) {
      if (entry.path().extension() == ".pc") files.push_back(entry.path());
    }
  }
  return files;
}

/// What a save must write for a stored plain line: the line trimmed, a "Selected:" line as "Selected:1" or
/// "Selected:0".
std::string Normalised(const std::string& line) {
  const std::string s = TrimBlanks(line);
  if (s.rfind("Selected:", 0) == 0) return s == "Selected:1" ? s : "Selected:0";
  return s;
}

/// Expects the saved file's plain lines to be `expected`, naming the first line that differs.
void ExpectPlainLines(const std::string& file, const std::vector<std::string>& expected) {
  const std::vector<std::string> actual = testing::PlainLines(file);
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
  }
  EXPECT_EQ(actual.size(), expected.size());
}

TEST(ShippedFilesRoundTrip, LoadAndSaveGiveBackTheSamePlainLines) {
  testing::ScratchFolder folder("shipped-round-trip");
  for (const fs::path& file : ShippedFiles()) {
    SCOPED_TRACE(file.string());
    ASSERT_TRUE(fs::exists(file));
    std::vector<std::string> expected;
    for (const std::string& line : testing::PlainLines(file.string())) expected.push_back(Normalised(line));

    PrivacyConfigs catalogue;
    catalogue.LoadConfig(file.string());
    // The load puts the configurations into display order; the shipped files list them in that order.
    const std::string copy = folder / file.filename().string();
    catalogue.SaveConfig(copy);
    ExpectPlainLines(copy, expected);

    PrivacyConfigs again;
    again.LoadConfig(copy);
    again.SaveConfig(copy);
    ExpectPlainLines(copy, expected);
    EXPECT_EQ(again.Count(), catalogue.Count());
  }
}

}  // namespace
}  // namespace qm
