// Times the registry store on one key holding many values: loading its file, deleting a quarter of the
// values and writing the file once; then reads single hex values of two sizes to show that long lines cost
// time in proportion to their length. Freeing a loaded store is not timed.
//   registry_store_bench [VALUES] [DELETIONS] [HEX_MIB] [ROUNDS]   (defaults 100000 25000 10 3)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/registry_store.h"
#include "platform/registry_store_format.h"

namespace {

using qm::reg::RegistryStore;

constexpr uint32_t kCurrentUser = 0x80000001u;
constexpr const char* kKey = "Software\\Bench";

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

/// The shortest of `rounds` runs of `once`, which prepares what it needs and returns the seconds of the part
/// it times.
template <class Once>
double Best(int rounds, Once once) {
  double best = once();
  for (int round = 1; round < rounds; ++round) best = std::min(best, once());
  return best;
}

std::string ValueName(size_t i) { return "Value " + std::to_string(i); }

/// A store file of `count` values in one key, half texts and half numbers, as the store writes it.
std::string ManyValuesFile(size_t count) {
  RegistryStore store;
  bool created = false;
  auto key = RegistryStore::Create(store.Root(kCurrentUser), kKey, created);
  for (size_t i = 0; i < count; ++i) {
    std::string textData = "data of value " + std::to_string(i) + '\0';
    std::vector<uint8_t> data =
        i % 2 ? std::vector<uint8_t>{uint8_t(i), 0, 0, 0} : std::vector<uint8_t>(textData.begin(), textData.end());
    key->Values.Set(ValueName(i), i % 2 ? 4 : 1, std::move(data));
  }
  return qm::reg::FormatRegFile(store);
}

/// A UTF-8 store file holding one binary value of `bytes` bytes on a single line.
std::string OneLongLineFile(size_t bytes) {
  std::string file =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Bench]\r\n\"Long\"=hex:";
  file.reserve(file.size() + bytes * 3);
  for (size_t i = 0; i < bytes; ++i) file += i + 1 < bytes ? "5a," : "5a";
  return file + "\r\n";
}

std::unique_ptr<RegistryStore> Load(const std::string& file) {
  auto store = std::make_unique<RegistryStore>();
  auto result = qm::reg::ParseRegFile(file, *store);
  if (!result.IsRegFile || result.Problem.Line != 0) {
    std::fprintf(stderr, "the generated file did not read back: line %zu, %s\n", result.Problem.Line,
                 result.Problem.Reason.c_str());
    std::exit(1);
  }
  return store;
}

/// Deletes `count` values spread evenly over the key.
void EraseSpread(RegistryStore& store, size_t count) {
  auto key = RegistryStore::Find(store.Root(kCurrentUser), kKey);
  const size_t step = key->Values.size() / count;
  for (size_t i = 0; i < count; ++i) key->Values.Erase(ValueName(i * step));
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
    std::exit(1);
  }
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  size_t values = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  size_t deletions = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 25000;
  size_t hexMiB = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 10;
  int rounds = argc > 4 ? std::atoi(argv[4]) : 3;
  if (deletions == 0 || deletions > values || hexMiB == 0 || rounds < 1) {
    std::fprintf(stderr, "usage: %s [VALUES] [DELETIONS: 1 to VALUES] [HEX_MIB] [ROUNDS]\n", argv[0]);
    return 2;
  }
  std::filesystem::path file = std::filesystem::temp_directory_path() / "quillmere_registry_store_bench.reg";
  WriteFile(file, ManyValuesFile(values));
  const std::string bytes = ReadFile(file);

  double load = Best(rounds, [&] {
    auto start = Clock::now();
    auto store = Load(bytes);
    return SecondsSince(start);
  });
  double erase = Best(rounds, [&] {
    auto store = Load(bytes);
    auto start = Clock::now();
    EraseSpread(*store, deletions);
    return SecondsSince(start);
  });
  double write = Best(rounds, [&] {
    auto store = Load(bytes);
    EraseSpread(*store, deletions);
    auto start = Clock::now();
    WriteFile(file, qm::reg::FormatRegFile(*store));
    return SecondsSince(start);
  });
  std::printf("store file: %zu values in one key, %.1f MiB\n", values, bytes.size() / 1048576.0);
  std::printf("load (ParseRegFile):          %8.3f s\n", load);
  std::printf("delete %zu values:          %8.3f s\n", deletions, erase);
  std::printf("FormatRegFile + write after:  %8.3f s\n", write);
  std::printf("delete + write:               %8.3f s\n", erase + write);

  for (size_t mib : {hexMiB / 2, hexMiB}) {
    if (mib == 0) continue;
    const std::string longLine = OneLongLineFile(mib * 1048576);
    double seconds = Best(rounds, [&] {
      auto start = Clock::now();
      auto store = Load(longLine);
      return SecondsSince(start);
    });
    std::printf("one hex value of %3zu MiB:     %8.3f s, %.3f s per MiB\n", mib, seconds, seconds / mib);
  }
  std::filesystem::remove(file);
  return 0;
}
