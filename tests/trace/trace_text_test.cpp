#include "trace/trace_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

namespace qm::testing {
namespace {

TEST(TraceText, IconOfEveryKindAndStatus) {
  constexpr std::array<TraceStatus, 6> kStatuses = {TraceStatus::Found, TraceStatus::Erased, TraceStatus::FilledBlank,
                                                    TraceStatus::Held,  TraceStatus::Failed, TraceStatus::NotSet};
  // One row per kind, one column per status above; nullptr marks what no walk records (a registry trace or a
  // folder overwritten with blanks), which is left open.
  const struct {
    TraceKind kind;
    std::array<const char*, 6> icons;
  } rows[] = {
      {TraceKind::RegistryValue, {"reg", "regdelete", nullptr, "reglock", "error", "error"}},
      {TraceKind::RegistryKey, {"reg", "regdelete", nullptr, "reglock", "error", "error"}},
      {TraceKind::File, {"file", "filedelete", "fileblank", "filelock", "error", "error"}},
      {TraceKind::Folder, {"folder", "folderdelete", nullptr, "folderlock", "error", "error"}},
      // An erased ini entry is blanked; an ini entry is never held nor overwritten.
      {TraceKind::IniEntry, {"file", "fileblank", "error", "error", "error", "error"}},
  };
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < kStatuses.size(); ++i) {
      if (row.icons[i] == nullptr) continue;
      EXPECT_EQ(IconKey(row.kind, kStatuses[i]), row.icons[i])
          << "kind " << static_cast<int>(row.kind) << " status " << static_cast<int>(kStatuses[i]);
    }
  }
}

TEST(TraceText, SizesInThousandsWithTwoDecimals) {
  const std::pair<int64_t, const char*> cases[] = {{0, "0.00 K"},      {999, "1.00 K"},
                                                   {1000, "1.00 K"},   {1005, "1.01 K"},
                                                   {1004, "1.00 K"},   {123456789, "123,456.79 K"},
                                                   {-1005, "-1.01 K"}, {-2500000, "-2,500.00 K"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
}

// The log's tests see where every kind of trace is; an ini entry named without its section is left here.
TEST(TraceText, AnIniEntryWithoutItsSectionIsWhereItsPathSays) {
  PrivacyValue entry;
  entry.ValueType = TraceKind::IniEntry;
  entry.Path = "C:\\app.ini:File1";
  entry.ValueName = "File1";
  EXPECT_EQ(TraceLocation(entry), "C:\\app.ini:File1");
  EXPECT_EQ(TraceLocation(entry, "Recent"), "C:\\app.ini [Recent] File1");
}

}  // namespace
}  // namespace qm::testing
