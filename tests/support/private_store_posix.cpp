#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>


namespace qm::testing {
namespace {

/// Points the configuration home, and with it the default registry store, at a folder of this test process:
/// no test, and no program a test starts, reads or writes the user's own store under ~/.config/quillmere,
/// even when it reaches the registry without a fixture of its own.
class PrivateRegistryStore : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("qm-home-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::filesystem::path folder_;
};

[[maybe_unused]] ::testing::Environment* const kPrivateStore =
    ::testing::AddGlobalTestEnvironment(new PrivateRegistryStore);

}  // namespace
}  // namespace qm::testing
