#include "clean/fill_blank.h"

#include <array>
#include <cstdint>

#include "platform/error.h"
#include "platform/file_overwrite.h"

namespace qm {

namespace {

// One pass: each data range in blocks of NUL bytes, then its short remainder; never a buffer the size of the
// file. Each pass reaches the disk before the next begins, or later passes would only rewrite the cache.
void FillOnePass(const FolderHandle& folder, const FolderEntry& entry) {
  static const std::array<char, kFillBlockSize> blanks{};
  FileOverwrite file = folder.Overwrite(entry);
  for (const ByteRange& range : file.DataRanges()) {
    file.Seek(range.Offset);
    for (uint64_t block = 0; block < range.Length / kFillBlockSize; ++block) file.Write(blanks.data(), blanks.size());
    const auto rest = static_cast<std::size_t>(range.Length % kFillBlockSize);
    if (rest > 0) file.Write(blanks.data(), rest);
  }
  file.Flush();
  file.Close();
}

}  // namespace

bool FillBlank(const FolderHandle& folder, const FolderEntry& entry, int fillTimes) {
  try {
    for (int pass = 1; pass <= fillTimes; ++pass) FillOnePass(folder, entry);
  } catch (const RuntimeError&) {
    return true;
  }
  return false;
}

}  // namespace qm
