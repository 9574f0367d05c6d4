#include "discovery/privacy_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "registry/reg_key.h"
#include "registry/reg_value.h"

namespace qm {
namespace {

/// Records what the trace log is handed, and installs itself for the test's lifetime.
class RecordingLog : public TraceLog {
 public:
  RecordingLog() { SetTraceLog(this); }
  ~RecordingLog() override { SetTraceLog(nullptr); }
  void AppendPrivacyValue(const PrivacyValue& pv) override { lines.push_back(pv.Path + "|" + std::to_string(pv.ValueStatus)); }
  std::vector<std::string> lines;
};

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

TEST(PrivacyValues, TypedAddsFillEachKindAndLogOnce) {
  RecordingLog log;
  PrivacyValues values;

  File file;
  file.Name = "big.iso";
  file.Path = "C:\\Temp\\big.iso";
  file.Size = 5'000'000'000ull;  // over 2 GiB: recorded with its full size
  const auto f = values.AddFile(file, status::kFound);
  EXPECT_EQ(f->ValueType, kinds::kFile);
  EXPECT_EQ(f->Path, "C:\\Temp\\big.iso");
  EXPECT_EQ(f->ValueName, "big.iso");
  EXPECT_EQ(f->Value, "big.iso");
  EXPECT_EQ(f->Size, 5'000'000'000ll);
  EXPECT_EQ(f->RootKey, 0u);
  EXPECT_EQ(f->ValueStatus, status::kFound);

  Folder folder;
  folder.Name = "Cache";
  folder.Path = "C:\\Temp\\Cache";
  const auto d = values.AddFolder(folder, status::kErased);
  EXPECT_EQ(d->ValueType, kinds::kFolder);
  EXPECT_EQ(d->Path, "C:\\Temp\\Cache");
  EXPECT_EQ(d->ValueName, "Cache");
  EXPECT_EQ(d->Value, "Cache");
  EXPECT_EQ(d->Size, 0);

  const auto ini = values.AddIniFileItem("C:\\app.ini", "Recent1", "abc", status::kHeld);
  EXPECT_EQ(ini->ValueType, kinds::kIniEntry);
  EXPECT_EQ(ini->Path, "C:\\app.ini:Recent1");
  EXPECT_EQ(ini->ValueName, "Recent1");
  EXPECT_EQ(ini->Value, "abc");
  EXPECT_EQ(ini->Size, 6);
  // Two bytes per character, not per UTF-8 byte: "é" is one character.
  EXPECT_EQ(values.AddIniFileItem("a.ini", "k", "\xC3\xA9", status::kFound)->Size, 2);

  EXPECT_EQ(values.Count(), 4);
  EXPECT_EQ(values.Item(1), f);
  EXPECT_EQ(values.Item(3), ini);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"C:\\Temp\\big.iso|1", "C:\\Temp\\Cache|2", "C:\\app.ini:Recent1|4",
                                                 "a.ini:k|1"}));
  // The log sees the status a trace has when it is recorded; later changes are not logged again.
  f->ValueStatus = status::kErased;
  EXPECT_EQ(log.lines.size(), 4u);
}

TEST(PrivacyValues, RegistryTracesTakeTheirPathsAndSizes) {
  RecordingLog log;
  PrivacyValues values;
  const RegKey key(0x80000001u, "Software\\App\\Recent");
  const auto k = values.AddRegKey(key, status::kErased);
  EXPECT_EQ(k->ValueType, kinds::kRegistryKey);
  EXPECT_EQ(k->Path, "Software\\App\\Recent");
  EXPECT_EQ(k->ValueName, "Recent");
  EXPECT_EQ(k->Value, "Recent");
  EXPECT_EQ(k->Size, 0);
  EXPECT_EQ(k->RootKey, 0x80000001u);

  const auto text = values.AddRegValue(RegValue(0x80000002u, "Software\\App", "Last", 1, std::string("hello")),
                                       status::kFound);
  EXPECT_EQ(text->ValueType, kinds::kRegistryValue);
  EXPECT_EQ(text->Path, "Software\\App\\Last");
  EXPECT_EQ(text->ValueName, "Last");
  EXPECT_EQ(text->Value, "hello");
  EXPECT_EQ(text->Size, 10);  // five characters, two bytes each
  EXPECT_EQ(text->RootKey, 0x80000002u);
  // The default value: the key path, a backslash and nothing more.
  const auto byDefault = values.AddRegValue(RegValue(0x80000001u, "Software\\App", "", 1, std::string("x")),
                                            status::kHeld);
  EXPECT_EQ(byDefault->Path, "Software\\App\\");
  EXPECT_EQ(byDefault->ValueName, "");
  const auto binary = values.AddRegValue(
      RegValue(0x80000001u, "K", "Bin", 3, std::vector<uint8_t>{0x0a, 0x1b, 0xff}), status::kFound);
  EXPECT_EQ(binary->Size, 3);
  EXPECT_EQ(binary->Value, "0a 1b ff");
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Software\\App\\Recent|2", "Software\\App\\Last|1",
                                                 "Software\\App\\|4", "K\\Bin|1"}));
}

TEST(PrivacyValues, AddPrivacyValuePlacesSharedRecordsWithoutLogging) {
  RecordingLog log;
  PrivacyValues values;
  values.AddPrivacyValue(Record("b"));
  values.AddPrivacyValue(Record("d"));
  values.AddPrivacyValue(Record("a"), "", 1);                // before position 1
  values.AddPrivacyValue(Record("c"), "", std::nullopt, 2);  // after position 2
  values.AddPrivacyValue(Record("e"), "last");
  EXPECT_EQ(Paths(values), "a;b;c;d;e;");
  EXPECT_EQ(values.Item("LAST")->Path, "e");  // keys compare without case
  EXPECT_TRUE(log.lines.empty());

  auto expectError = [](int32_t number, auto&& call) {
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), number);
      EXPECT_EQ(e.Source(), "PrivacyValues");
    }
  };
  expectError(errors::kDuplicateKey, [&] { values.AddPrivacyValue(Record("x"), "Last"); });
  expectError(errors::kSubscriptOutOfRange, [&] { values.AddPrivacyValue(Record("x"), "", 6); });
  expectError(errors::kSubscriptOutOfRange, [&] { values.AddPrivacyValue(Record("x"), "", std::nullopt, 0); });
  expectError(errors::kInvalidArgument, [&] { values.AddPrivacyValue(Record("x"), "", 1, 1); });
  expectError(errors::kSubscriptOutOfRange, [&] { values.Item(0); });
  expectError(errors::kSubscriptOutOfRange, [&] { values.Item(6); });
  expectError(errors::kInvalidArgument, [&] { values.Item("none"); });
  EXPECT_EQ(values.Count(), 5);

  values.Remove(1);
  values.Remove("last");
  EXPECT_EQ(Paths(values), "b;c;d;");
}

TEST(PrivacyValues, MergeSharesRecordsAndTellsNothingFromEmpty) {
  std::shared_ptr<PrivacyValues> nothing;
  // Nothing found: the accumulator stays nothing.
  EXPECT_EQ(MergePrivacyValues(nothing, nullptr, false), nullptr);
  EXPECT_EQ(nothing, nullptr);
  // An empty answer makes an empty accumulator: count 0, not -1.
  auto empty = std::make_shared<PrivacyValues>();
  const auto made = MergePrivacyValues(nothing, empty, false);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made, nothing);
  EXPECT_NE(made, empty);
  EXPECT_EQ(made->Count(), 0);

  auto found = std::make_shared<PrivacyValues>();
  found->AddPrivacyValue(Record("x"));
  found->AddPrivacyValue(Record("y"));
  std::shared_ptr<PrivacyValues> first;
  std::shared_ptr<PrivacyValues> second = std::make_shared<PrivacyValues>();
  second->AddPrivacyValue(Record("a"));
  MergePrivacyValues(first, found, false);
  MergePrivacyValues(second, found, false);
  EXPECT_EQ(Paths(*first), "x;y;");
  EXPECT_EQ(Paths(*second), "a;x;y;");
  // The same record sits in both: a status set through one is seen through the other.
  first->Item(1)->ValueStatus = status::kFailed;
  EXPECT_EQ(second->Item(2)->ValueStatus, status::kFailed);
  EXPECT_EQ(found->Item(1)->ValueStatus, status::kFailed);

  // Prepending puts the found traces in front, in their order; into an empty accumulator it appends.
  MergePrivacyValues(second, found, true);
  EXPECT_EQ(Paths(*second), "x;y;a;x;y;");
  std::shared_ptr<PrivacyValues> third = std::make_shared<PrivacyValues>();
  MergePrivacyValues(third, found, true);
  EXPECT_EQ(Paths(*third), "x;y;");
  // Merging a collection into itself doubles it once.
  MergePrivacyValues(third, third, false);
  EXPECT_EQ(Paths(*third), "x;y;x;y;");

  // A key stays with its record when traces are merged around it, and goes with it.
  auto keyed = std::make_shared<PrivacyValues>();
  keyed->AddPrivacyValue(Record("k"), "key");
  MergePrivacyValues(keyed, found, true);
  MergePrivacyValues(keyed, keyed, false);
  EXPECT_EQ(Paths(*keyed), "x;y;k;x;y;k;");
  EXPECT_EQ(keyed->Item("KEY")->Path, "k");
  keyed->Remove(3);
  EXPECT_THROW(keyed->Item("key"), RuntimeError);
}

}  // namespace
}  // namespace qm
