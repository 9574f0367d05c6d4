#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "support/scratch_folder.h"

namespace qm::testing {
namespace {

/// Points the configuration home, and with it the default registry store, at a folder of this test process:
/// no test, and no program a test starts, reads or writes the user's own store under ~/.config/quillmere,
/// even when it reaches the registry without a fixture of its own.
class PrivateRegistryStore : public ::testing::Environment {
 public:
  void SetUp() override {
    home_ = std::make_unique<ScratchFolder>("home");
    ::setenv("XDG_CONFIG_HOME", home_->Path().c_str(), 1);
  }
  void TearDown() override { home_.reset(); }

 private:
  std::unique_ptr<ScratchFolder> home_;
};

[[maybe_unused]] ::testing::Environment* const kPrivateStore =
    ::testing::AddGlobalTestEnvironment(new PrivateRegistryStore);

}  // namespace
}  // namespace qm::testing
