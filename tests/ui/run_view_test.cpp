#include "ui/model/run_view.h"

#include <gtest/gtest.h>

namespace qm::testing {
namespace {

using namespace ui;

std::string Text(const StatusPanels& p) { return p.Where + "|" + p.Count + "|" + p.Size + "|" + p.Row; }

TEST(RunView, TheListIsCappedTheStatusBarCountsEveryTraceAndARowShowsItsIconAndPath) {
  auto values = std::make_shared<PrivacyValues>();
  PrivacyValue pv;
  pv.Size = 1010;
  for (int i = 0; i < 250; ++i) values->Add(std::make_shared<PrivacyValue>(pv));
  EXPECT_EQ(Text(FinishedPanels(TotalsOf(values, "ALL"))), "ALL|250|252.50 K|");
  const std::tuple<int64_t, int32_t, std::size_t> caps[] = {{250, 100, 100}, {250, 250, 250}, {250, 0, 250},
                                                            {50, 100, 50},   {0, 100, 0},     {40000, 0, 40000}};
  for (const auto& [count, maxRows, listed] : caps) {
    EXPECT_EQ(ListedRows(count, maxRows), listed) << count << "/" << maxRows;
  }

  RunProgress progress;
  progress.Add("App", "Cookies", 1, 999);
  progress.Add("App", "Cache", 2, 1234567);
  EXPECT_EQ(Text(progress.Panels()), "App\\Cache|3|1,235.57 K|");
  EXPECT_EQ(progress.Count(), 3);

  const std::tuple<TraceKind, TraceStatus, const char*> rows[] = {
      {TraceKind::RegistryKey, TraceStatus::Held, "the value|reglock|"},
      {TraceKind::File, TraceStatus::FilledBlank, "the value|fileblank|C:\\t\\index.dat"},
      {TraceKind::Folder, TraceStatus::Found, "the value|folder|C:\\t\\index.dat"},
      {TraceKind::IniEntry, TraceStatus::Erased, "the value|fileblank|"},
  };
  for (const auto& [kind, status, expected] : rows) {
    const ListRow row = RowOf({"C:\\t\\index.dat", "index.dat", 0, kind, "the value", 0, status});
    EXPECT_EQ(row.Text + "|" + std::string(row.Icon) + "|" + row.Path, expected) << static_cast<int>(kind);
  }
}

}  // namespace
}  // namespace qm::testing
