#include "clean/fill_blank.h"

#include <array>
#include <cstdint>

#include "platform/error.h"
#include "platform/file_overwrite.h"

namespace qm {

namespace {

// One pass: blocks of NUL bytes from the first byte, then the short remainder; never a buffer the size of
// the file. Each pass reaches the disk before the next begins, or later passes would only rewrite the cache.
void FillOnePass(const std::string& path) {
  static const std::array<char, kFillBlockSize> blanks{};
  FileOverwrite file(path);
  uint64_t size = file.Size();
  for (uint64_t block = 0; block < size / kFillBlockSize; ++block) file.Write(blanks.data(), blanks.size());
  if (std::size_t rest = static_cast<std::size_t>(size % kFillBlockSize); rest > 0) file.Write(blanks.data(), rest);
  file.Flush();
  file.Close();
}

}  // namespace

bool FillBlank(const std::string& path, int fillTimes) {
  try {
    for (int pass = 1; pass <= fillTimes; ++pass) FillOnePass(path);
  } catch (const RuntimeError&) {
    return true;
  }
  return false;
}

}  // namespace qm
