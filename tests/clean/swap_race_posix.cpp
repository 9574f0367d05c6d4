// A clear while another process swaps a sub-folder for a link to a folder outside the item, again and again:
// the clear may fail on the swapped folder, it never erases anything outside.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "support/case_tree.h"
#include "support/lines.h"
#include "support/test_engine.h"

namespace qm::testing {
namespace {

TEST(SwapRace, ASwappedSubFolderNeverRedirectsTheClear) {
  for (int round = 0; round < 4; ++round) {
    TestEngine t;
    Lines files;
    for (int i = 0; i < 1500; ++i) {
      files.push_back("cache/sub/s" + std::to_string(i) + ".dat = s");
      files.push_back("cache/f" + std::to_string(i) + ".dat = f");
    }
    for (int i = 0; i < 200; ++i) files.push_back("outside/o" + std::to_string(i) + ".dat = keep " + std::to_string(i));
    files.push_back("outside/deep/d.dat = d");
    ASSERT_EQ(CaseTree().Build(t.dir.Path(), files), "");
    const Lines outside = ListTree(t.dir / "outside");
    t.LoadCatalogue("[Config]\nSoftware:App\nSelected:1\nCache<>1<>0<>Folder><{dir}\\cache\n");

    std::atomic<bool> done{false};
    const std::string sub = t.dir / "cache/sub";
    const std::string aside = t.dir / "cache/sub.real";
    const std::string target = t.dir / "outside";
    std::thread swapper([&] {
      while (!done.load()) {
        if (std::rename(sub.c_str(), aside.c_str()) != 0) continue;
        if (::symlink(target.c_str(), sub.c_str()) == 0) ::unlink(sub.c_str());
        std::rename(aside.c_str(), sub.c_str());
      }
    });
    t.Run(true);
    done.store(true);
    swapper.join();
    EXPECT_EQ(ListTree(t.dir / "outside"), outside) << "round " << round;
  }
}

}  // namespace
}  // namespace qm::testing
