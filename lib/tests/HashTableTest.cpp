#include "lib/HashTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HashTableTest, HashStringValues) {
  // Bytes enter sign-extended, so high bytes give negative hashes.
  const struct {
    const char* text;
    int hash;
  } cases[] = {
      {"", 0}, {nullptr, 0}, {"ab", 3107}, {"\xff", -1}, {"\xff\x01", (-1 ^ (-1 * 32)) ^ 1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.hash, hashString(c.text)) << (c.text ? c.text : "(null)");
}

TEST(HashTableTest, AddFindRemove) {
  HashTable<std::string> table;
  EXPECT_EQ(1, table.add(5, "five"));
  EXPECT_EQ(2, table.add(21, "twenty-one"));  // same bucket as 5
  EXPECT_EQ(3, table.add(5, "newer five"));
  EXPECT_EQ("newer five", *table.find(5));
  EXPECT_EQ("twenty-one", *table.find(21));
  EXPECT_EQ(nullptr, table.find(37));
  EXPECT_TRUE(table.remove(5));  // the newer entry, found by its key alone
  EXPECT_EQ("five", *table.find(5));
  EXPECT_FALSE(table.remove(37));
  EXPECT_EQ(2, table.count());
  table.clear();
  EXPECT_TRUE(table.isEmpty());
  EXPECT_EQ(nullptr, table.find(21));
}

TEST(HashTableTest, ForEachRunsHighBucketsFirstAndMayRemove) {
  HashTable<int> table;
  for (int key : {0, 1, 15, 16, 31, -1}) table.add(key, key * 10);
  std::vector<int> keys;
  table.forEach([&](HashEntry<int>& entry) {
    EXPECT_EQ(entry.key * 10, entry.value);
    keys.push_back(entry.key);
    if (entry.key % 2) table.remove(entry.key);
  });
  // Bucket 15 holds -1, 31, 15 (newest first), then bucket 1, then bucket 0.
  EXPECT_EQ((std::vector<int>{-1, 31, 15, 1, 16, 0}), keys);
  EXPECT_EQ(2, table.count());
  EXPECT_EQ(nullptr, table.find(15));
}

}  // namespace
