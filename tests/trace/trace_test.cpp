#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/error.h"
#include "platform/file_system.h"
#include "registry/reg_key.h"
#include "registry/reg_value.h"
#include "support/lines.h"
#include "support/raised_error.h"
#include "support/registry_fixture.h"
#include "trace/privacy_values.h"
#include "trace/trace_text.h"

namespace qm::testing {
namespace {

std::shared_ptr<PrivacyValue> Record(const std::string& path) {
  auto pv = std::make_shared<PrivacyValue>();
  pv->Path = path;
  return pv;
}

std::string Paths(const PrivacyValues& values) {
  std::string joined;
  for (const auto& pv : values) joined += pv->Path + ";";
  return joined;
}

TEST(PrivacyValues, TypedAddsFillEachKind) {
  RegistryFixture fixture;
  PrivacyValues values;
  // Over 2 GiB: recorded with its full size.
  const auto big = values.AddFile(File{"big.iso", "C:\\Temp\\big.iso", 5'000'000'000ull, ""}, TraceStatus::Found);
  values.AddFolder(Folder{"C:\\Temp\\Cache", "Cache"}, TraceStatus::Erased);
  values.AddIniFileItem("C:\\app.ini", "Recent1", "abc", TraceStatus::Held);
  // Two bytes per character, not per UTF-8 byte: "é" is one character.
  values.AddIniFileItem("a.ini", "k", "\xC3\xA9", TraceStatus::Found);
  values.AddRegKey(RegKey(fixture.Registry(), reg::kCurrentUser, "Software\\App\\Recent"), TraceStatus::Erased);
  values.AddRegValue(RegValue(reg::kLocalMachine, "Software\\App", "Last", 1, std::string("hello")),
                     TraceStatus::Found);
  // The default value: the key path, a backslash and nothing more.
  values.AddRegValue(RegValue(reg::kCurrentUser, "Software\\App", "", 1, std::string("x")), TraceStatus::Held);

  // Every field of every trace, a line each: "kind status path|name|value|size|root".
  std::string records;
  for (const auto& pv : values) {
    records += std::to_string(static_cast<int>(pv->ValueType)) + " " +
               std::to_string(static_cast<int>(pv->ValueStatus)) + " " + pv->Path + "|" + pv->ValueName + "|" +
               pv->Value + "|" + std::to_string(pv->Size) + "|" + std::to_string(pv->RootKey) + "\n";
  }
  EXPECT_EQ(records, ReadBytes(FixturePath("trace/typed_adds.txt")));
  EXPECT_EQ(values.Item(1), big);
}

TEST(PrivacyValues, AddPrivacyValuePlacesSharedRecordsAndMergeSharesThemAndTellsNothingFromEmpty) {
  PrivacyValues values;
  values.AddPrivacyValue(Record("b"));
  values.AddPrivacyValue(Record("d"));
  values.AddPrivacyValue(Record("a"), "", 1);                // before position 1
  values.AddPrivacyValue(Record("c"), "", std::nullopt, 2);  // after position 2
  values.AddPrivacyValue(Record("e"), "last");
  EXPECT_EQ(Paths(values), "a;b;c;d;e;");
  EXPECT_EQ(values.Item("LAST")->Path, "e");  // keys compare without case

  const std::pair<int32_t, std::function<void()>> refused[] = {
      {errors::kDuplicateKey, [&] { values.AddPrivacyValue(Record("x"), "Last"); }},
      {errors::kSubscriptOutOfRange, [&] { values.AddPrivacyValue(Record("x"), "", 6); }},
      {errors::kSubscriptOutOfRange, [&] { values.AddPrivacyValue(Record("x"), "", std::nullopt, 0); }},
      {errors::kInvalidArgument, [&] { values.AddPrivacyValue(Record("x"), "", 1, 1); }},
      {errors::kSubscriptOutOfRange, [&] { values.Item(0); }},
      {errors::kSubscriptOutOfRange, [&] { values.Item(6); }},
      {errors::kInvalidArgument, [&] { values.Item("none"); }}};
  for (const auto& [number, call] : refused) EXPECT_EQ(RaisedBy(call), std::to_string(number) + "|PrivacyValues");
  EXPECT_EQ(values.Count(), 5);

  values.Remove(1);
  values.Remove("last");
  EXPECT_EQ(Paths(values), "b;c;d;");

  std::shared_ptr<PrivacyValues> nothing;
  EXPECT_EQ(MergePrivacyValues(nothing, nullptr, false), nullptr);
  EXPECT_EQ(nothing, nullptr);
  // An empty answer makes an empty accumulator of its own: count 0, not -1.
  const auto empty = std::make_shared<PrivacyValues>();
  const auto made = MergePrivacyValues(nothing, empty, false);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made, nothing);
  EXPECT_NE(made, empty);
  EXPECT_EQ(made->Count(), 0);

  auto found = std::make_shared<PrivacyValues>();
  found->AddPrivacyValue(Record("x"));
  found->AddPrivacyValue(Record("y"));
  std::shared_ptr<PrivacyValues> first;
  auto second = std::make_shared<PrivacyValues>();
  second->AddPrivacyValue(Record("a"));
  MergePrivacyValues(first, found, false);
  MergePrivacyValues(second, found, false);
  EXPECT_EQ(Paths(*first), "x;y;");
  EXPECT_EQ(Paths(*second), "a;x;y;");
  // The same record sits in both: a status set through one is seen through the other.
  first->Item(1)->ValueStatus = TraceStatus::Failed;
  EXPECT_EQ(second->Item(2)->ValueStatus, TraceStatus::Failed);

  // Prepending puts the found traces in front, in their order.
  MergePrivacyValues(second, found, true);
  EXPECT_EQ(Paths(*second), "x;y;a;x;y;");
  // A key stays with its record when traces are merged around it, and goes with it; merging a collection
  // into itself doubles it once.
  auto keyed = std::make_shared<PrivacyValues>();
  keyed->AddPrivacyValue(Record("k"), "key");
  MergePrivacyValues(keyed, found, true);
  MergePrivacyValues(keyed, keyed, false);
  EXPECT_EQ(Paths(*keyed), "x;y;k;x;y;k;");
  EXPECT_EQ(keyed->Item("KEY")->Path, "k");
  keyed->Remove(3);
  EXPECT_THROW(keyed->Item("key"), RuntimeError);
}

TEST(TraceText, IconsOfEveryKindAndStatusSizesAndLocations) {
  for (const auto& [trace, icon] : FixtureCases("trace/icons.txt")) {
    const int kind = std::stoi(trace), status = std::stoi(trace.substr(trace.find(' ')));
    EXPECT_EQ(IconKey(static_cast<TraceKind>(kind), static_cast<TraceStatus>(status)), icon) << trace;
  }

  const std::pair<int64_t, const char*> cases[] = {{0, "0.00 K"},      {999, "1.00 K"},
                                                   {1000, "1.00 K"},   {1005, "1.01 K"},
                                                   {1004, "1.00 K"},   {123456789, "123,456.79 K"},
                                                   {-1005, "-1.01 K"}, {-2500000, "-2,500.00 K"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;

  // The log's tests see where every kind of trace is; an ini entry named without its section is left here.
  PrivacyValue entry;
  entry.ValueType = TraceKind::IniEntry;
  entry.Path = "C:\\app.ini:File1";
  entry.ValueName = "File1";
  EXPECT_EQ(TraceLocation(entry), "C:\\app.ini:File1");
  EXPECT_EQ(TraceLocation(entry, "Recent"), "C:\\app.ini [Recent] File1");
}

}  // namespace
}  // namespace qm::testing
