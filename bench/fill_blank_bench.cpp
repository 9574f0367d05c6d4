// Overwrites an existing file in place with FillBlank and prints how long it took and the throughput.
//   fill_blank_bench FILE [PASSES]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "clean/fill_blank.h"
#include "platform/file_overwrite.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [PASSES]\n", argv[0]);
    return 2;
  }
  std::string path = argv[1];
  int passes = argc > 2 ? std::atoi(argv[2]) : 1;
  uint64_t size = 0;
  try {
    size = qm::FileOverwrite(path).Size();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }

  auto start = std::chrono::steady_clock::now();
  bool failed = qm::FillBlank(path, passes);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (failed) {
    std::fprintf(stderr, "FillBlank failed on %s\n", path.c_str());
    return 1;
  }
  double mib = static_cast<double>(size) * passes / (1024.0 * 1024.0);
  std::printf("FillBlank: %.0f MiB in %.3f s, %.1f MiB/s\n", mib, seconds, mib / seconds);
  return 0;
}
