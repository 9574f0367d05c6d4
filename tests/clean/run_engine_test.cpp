#include "clean/run_engine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "clean/scratch_folder.h"
#include "config/stop_requested.h"
#include "settings/system_settings.h"
#include "support/catalogue_builders.h"
#include "support/scoped_settings.h"

namespace qm {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

/// Looks at the engine's state from inside the run.
class Probe : public RunListener {
 public:
  explicit Probe(RunEngine& engine) : engine_(engine) {}
  void AppendValue(PrivacyItem&, PrivacyValue&) override {
    ++traces;
    processEndDuringRun = engine_.ProcessEnd();
    stopDuringRun = StopRequested;
    try {
      engine_.Run(RunTarget{}, false, false, nullptr);
    } catch (const RuntimeError&) {
      nestedRunRefused = true;
    }
    if (stopAtFirst) RunEngine::RequestStop();
  }

  int traces = 0;
  bool processEndDuringRun = true;
  bool stopDuringRun = true;
  bool nestedRunRefused = false;
  bool stopAtFirst = false;

 private:
  RunEngine& engine_;
};

class RunEngineTest : public ::testing::Test {
 protected:
  RunEngineTest() : clock_(LocalDateTime{2026, 12, 5, 9, 0, 0}), log_(dir_ / "logs", clock_) {
    fs::create_directories(dir_ / "temp");
    WriteBytes(FileSystem::Join(dir_ / "temp", "a.tmp"), "a");
    WriteBytes(FileSystem::Join(dir_ / "temp", "b.tmp"), "bb");
    catalogue_.Add(testing::MakeConfig(
        "Temp", software_types::kRoot, {testing::MakeItem("Temp", "Files", item_types::kFile, {dir_ / "temp"})}));
  }
  ~RunEngineTest() override { StopRequested = false; }

  ScratchFolder dir_{"run-engine"};
  ManualClock clock_;
  PrivacyLog log_;
  PrivacyConfigs catalogue_;
  const test::ScopedSettings settings_;
};

TEST_F(RunEngineTest, FrameClearsTheStopFlagMarksTheRunAndRefusesASecondOne) {
  Settings().EnableFileLogging = false;
  RunEngine engine(catalogue_, log_, clock_);
  Probe probe(engine);
  StopRequested = true;  // left over from before: a new run starts without it
  EXPECT_TRUE(engine.ProcessEnd());
  const RunTotals totals = engine.Run(RunTarget{}, false, false, &probe);
  EXPECT_EQ(totals.Count, 2);
  EXPECT_EQ(totals.Bytes, 3);
  EXPECT_EQ(probe.traces, 2);
  EXPECT_FALSE(probe.processEndDuringRun);
  EXPECT_FALSE(probe.stopDuringRun);
  EXPECT_TRUE(probe.nestedRunRefused);
  EXPECT_TRUE(engine.ProcessEnd());
  // With logging off nothing is written, not even the logs folder.
  EXPECT_EQ(totals.LogFileName, "");
  EXPECT_FALSE(fs::exists(dir_ / "logs"));
}

TEST_F(RunEngineTest, StopEndsTheRunAndTheFlagIsClearedAfterwards) {
  Settings().EnableFileLogging = true;
  RunEngine engine(catalogue_, log_, clock_);
  Probe probe(engine);
  probe.stopAtFirst = true;
  const RunTotals totals = engine.Run(RunTarget{}, true, false, &probe);
  EXPECT_EQ(totals.Count, 1);
  EXPECT_FALSE(StopRequested);
  EXPECT_FALSE(log_.IsLogging());
  EXPECT_EQ(totals.LogFileName, FileSystem::Join(dir_ / "logs", "L20261205.log"));
  int left = 0;
  for (const char* name : {"a.tmp", "b.tmp"}) left += fs::exists(FileSystem::Join(dir_ / "temp", name)) ? 1 : 0;
  EXPECT_EQ(left, 1);

  // The display pass lists what the last search kept, without searching again.
  const RunTotals shown = engine.Display(RunTarget{}, nullptr);
  EXPECT_EQ(shown.Count, 1);
  EXPECT_EQ(shown.Values->Item(1)->Path, totals.Values->Item(1)->Path);
}

TEST(RunTotals, CountsAndSizesAreSixtyFourBit) {
  auto values = std::make_shared<PrivacyValues>();
  for (int i = 0; i < 40000; ++i) {
    auto pv = std::make_shared<PrivacyValue>();
    pv->Size = int64_t{100000} + i;
    pv->ValueStatus = i % 1000 == 0 ? status::kFailed : status::kErased;
    values->AddPrivacyValue(pv);
  }
  const RunTotals totals = TotalsOf(values, "ALL");
  EXPECT_EQ(totals.Count, 40000);
  EXPECT_EQ(totals.Bytes, int64_t{100000} * 40000 + int64_t{39999} * 40000 / 2);
  EXPECT_EQ(totals.Failed, 40);
  EXPECT_EQ(totals.StatusText, "ALL");
  EXPECT_EQ(TotalsOf(nullptr, "x").Count, 0);
}

}  // namespace
}  // namespace qm
