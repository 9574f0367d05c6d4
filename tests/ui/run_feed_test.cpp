#include "ui/model/run_feed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <thread>

#include "platform/error.h"
#include "support/catalogue_builders.h"
#include "support/lines.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

std::string Describe(const std::vector<ui::RunEvent>& events) {
  std::string text;
  for (const ui::RunEvent& e : events) {
    const std::string who = e.Item ? e.Item->Title : e.Config ? e.Config->Software : "";
    text += std::to_string(static_cast<int>(e.What)) + ":" + who + ":" + std::to_string(e.Count) + ":" +
            std::to_string(e.Bytes) + " ";
  }
  return text;
}

TEST(RunFeed, MergesTracesOfOneItemAndTellsOncePerBatch) {
  int notices = 0;
  ui::RunFeed feed([&] { ++notices; });
  auto a = MakeItem("App", "A", PrivacyItemType::File, {});
  auto b = MakeItem("App", "B", PrivacyItemType::File, {});
  PrivacyValue pv;
  pv.Size = 10;
  for (int i = 0; i < 250; ++i) feed.AppendValue(*a, pv);
  // One notice at the hundredth trace; none after it until the batch is taken.
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(Describe(feed.Take()), "0:A:250:2500 ");
  feed.AppendValue(*b, pv);
  feed.AppendValue(*a, pv);
  feed.ParseItemFinish(*a, 251);
  EXPECT_EQ(notices, 2);  // a finish is told at once
  feed.ParseFinish(252);
  EXPECT_EQ(notices, 2);  // not again before the batch is taken
  EXPECT_EQ(Describe(feed.Take()), "0:B:1:10 0:A:1:10 1:A:251:0 4::252:0 ");
  feed.Warning("log");
  EXPECT_EQ(feed.TakeWarnings(), Lines{"log"});
  EXPECT_TRUE(feed.TakeWarnings().empty());
}

TEST(RunThread, RunsOnItsOwnThreadAndHandsBackTheTotalsOrTheError) {
  TestEngine t;
  t.dir.Write("cache/a", "12345");
  t.dir.Write("cache/b", "678");
  t.LoadCatalogue("[Config]\nType:Root\nSoftware:App\nSelected:1\nFiles<>1<>0<>File><{dir}\\cache\n");
  const RunTarget root = *SelectRunTarget(t.engine.Catalogue(), "Ur All Privacy");

  // The first run waits in its last notice, so the engine is busy when the second one starts.
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> waited{false};
  ui::RunFeed firstFeed([&] {
    if (!waited.exchange(true)) released.wait();
  });
  std::promise<void> firstDone, secondDone;
  ui::RunThread first(t.engine, root, RunOptions{}, firstFeed, [&] { firstDone.set_value(); });
  while (!waited.load()) std::this_thread::yield();
  ui::RunFeed secondFeed([] {});
  ui::RunThread second(t.engine, root, RunOptions{}, secondFeed, [&] { secondDone.set_value(); });
  secondDone.get_future().wait();
  EXPECT_THROW(second.Result(), RuntimeError);
  release.set_value();
  firstDone.get_future().wait();
  const RunTotals totals = first.Result();
  EXPECT_EQ(totals.Count, 2);
  EXPECT_EQ(totals.Bytes, 8);
  EXPECT_TRUE(std::filesystem::exists(t.dir / "cache/a"));
}

}  // namespace
}  // namespace qm::testing
