// Times reading and blanking one large ini section and prints the figures.
//   ini_blank_bench [ENTRIES] [ROUNDS]     (defaults 20000, 3)
// Each round writes a fresh file of ENTRIES filled entries in one section between two small ones, reads the
// section in one ReadSection call and as the ini walk does (a buffer growing fivefold), then blanks every
// entry with one BlankEntries call and checks the result. For comparison it blanks a few entries one
// WriteString call at a time and scales that up to ENTRIES.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "discovery/ini_walk.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace {

constexpr int kSingleWrites = 50;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Key(int i) { return "File" + std::to_string(i); }

void WriteIni(const std::string& path, int entries) {
  std::string text = "[Settings]\r\nShow=1\r\n[Recent File List]\r\n";
  for (int i = 0; i < entries; ++i) {
    text += Key(i) + "=C:\\Users\\someone\\Documents\\report " + std::to_string(i) + ".txt\r\n";
  }
  text += "[Other]\r\nFile0=kept\r\n";
  std::ofstream(path, std::ios::binary) << text;
}

/// Entries of the section whose value is still filled.
int FilledEntries(const std::string& path) {
  int filled = 0;
  for (const std::string& line : qm::ReadIniSection(path, "Recent File List")) {
    if (line.back() != '=') ++filled;
  }
  return filled;
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  if (entries < kSingleWrites || rounds < 1) {
    std::fprintf(stderr, "usage: %s [ENTRIES >= %d] [ROUNDS >= 1]\n", argv[0], kSingleWrites);
    return 2;
  }
  const std::string path = qm::FileSystem::Join(
      qm::FileSystem().GetSpecialFolder(2), "qm-ini-blank-bench-" + std::to_string(std::random_device{}()) + ".ini");
  std::vector<qm::profile::IniEntry> all;
  for (int i = 0; i < entries; ++i) all.push_back({Key(i)});

  double bestRead = 1e9;
  double bestWalkRead = 1e9;
  double bestBlank = 1e9;
  for (int round = 1; round <= rounds; ++round) {
    WriteIni(path, entries);
    // One call with a buffer the section fits in: it holds fewer characters than the file has bytes.
    std::string buffer;
    auto start = std::chrono::steady_clock::now();
    const uint32_t characters = qm::profile::ReadSection("Recent File List", buffer,
                                                         static_cast<uint32_t>(std::filesystem::file_size(path)), path);
    const double read = SecondsSince(start);

    start = std::chrono::steady_clock::now();
    const size_t lines = qm::ReadIniSection(path, "Recent File List").size();
    const double walkRead = SecondsSince(start);

    start = std::chrono::steady_clock::now();
    const std::vector<bool> blank = qm::profile::BlankEntries(path, "Recent File List", all);
    const double blanking = SecondsSince(start);
    int answeredBlank = 0;
    for (const bool b : blank) answeredBlank += b ? 1 : 0;
    std::printf(
        "round %d: ReadSection %u characters in %.3f s; the walk's read %zu lines in %.3f s; BlankEntries %d of %d "
        "in %.3f s, %d left filled\n",
        round, characters, read, lines, walkRead, answeredBlank, entries, blanking, FilledEntries(path));
    bestRead = std::min(bestRead, read);
    bestWalkRead = std::min(bestWalkRead, walkRead);
    bestBlank = std::min(bestBlank, blanking);
  }

  WriteIni(path, entries);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kSingleWrites; ++i) qm::profile::WriteString("Recent File List", Key(i), "", path);
  const double single = SecondsSince(start) / kSingleWrites;
  std::filesystem::remove(path);

  std::printf("best of %d for %d entries: ReadSection %.3f s, the walk's read %.3f s, BlankEntries %.3f s\n", rounds,
              entries, bestRead, bestWalkRead, bestBlank);
  std::printf("one WriteString per entry: %.4f s each, %.1f s for %d entries\n", single, single * entries, entries);
  return 0;
}
