#include "registry/reg_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "registry/reg_values.h"

namespace qm {

TEST(RegKeysTest, OneBasedKeyedCollectionInInsertionOrder) {
  RegKeys keys;
  keys.Add(RegKey(0x80000001u, "Software\\B"));
  keys.Add(RegKey(0x80000001u, "Software\\A"), "first");
  RegKey& added = keys.Add(RegKey(0x80000001u, "Software\\C"));
  added.Name = "Renamed";

  ASSERT_EQ(keys.Count(), 3);
  EXPECT_EQ(keys.Item(1).Name, "B");
  EXPECT_EQ(keys.Item("FIRST").Name, "A");
  EXPECT_EQ(keys.Item(3).Name, "Renamed");
  std::vector<std::string> names;
  for (RegKey& key : keys) names.push_back(key.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"B", "A", "Renamed"}));
  EXPECT_EQ(keys.NewEnum()->Name, "B");

  keys.Remove("first");
  EXPECT_EQ(keys.Count(), 2);
  EXPECT_EQ(keys.Item(2).Name, "Renamed");
  keys.Remove(1);
  EXPECT_EQ(keys.Item(1).Name, "Renamed");

  try {
    keys.Item(2);
    ADD_FAILURE() << "index 2 of 1 did not raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 9);
  }
  try {
    keys.Item("none");
    ADD_FAILURE() << "an unknown key did not raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 5);
  }

  RegValues values;
  values.Add(RegValue(0x80000001u, "K", "V", 1, std::string("x")), "v");
  try {
    values.Add(RegValue(0x80000001u, "K", "W", 1, std::string("y")), "V");
    ADD_FAILURE() << "a key used twice did not raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 457);
  }
  EXPECT_EQ(values.Count(), 1);
}

}  // namespace qm
