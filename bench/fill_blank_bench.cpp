// Overwrites an existing file in place with FillBlank and prints how long it took and the throughput.
//   fill_blank_bench FILE [PASSES]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "clean/fill_blank.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [PASSES]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path path = argv[1];
  int passes = argc > 2 ? std::atoi(argv[2]) : 1;
  std::optional<qm::FolderHandle> folder;
  std::optional<qm::FolderEntry> entry;
  try {
    folder.emplace(qm::FolderHandle::Open(path.has_parent_path() ? path.parent_path().string() : "."));
    entry = folder->Find(path.filename().string());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  if (!entry) {
    std::fprintf(stderr, "no file %s\n", argv[1]);
    return 1;
  }

  auto start = std::chrono::steady_clock::now();
  bool failed = qm::FillBlank(*folder, *entry, passes);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (failed) {
    std::fprintf(stderr, "FillBlank failed on %s\n", argv[1]);
    return 1;
  }
  double mib = static_cast<double>(entry->Size) * passes / (1024.0 * 1024.0);
  std::printf("FillBlank: %.0f MiB in %.3f s, %.1f MiB/s\n", mib, seconds, mib / seconds);
  return 0;
}
