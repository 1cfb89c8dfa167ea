#include "lib/IdMap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(IdMapTest, KeysStaySeparateAndFindableAsTheMapGrows) {
  IdMap map;
  int values[5] = {};
  const uintptr_t wide = (uintptr_t(1) << 40) | 21;  // keys are whole handle values
  const uintptr_t keys[5] = {5, 21, 37, 53, wide};
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(map.add(keys[i], &values[i]));
  EXPECT_FALSE(map.add(21, &values[0]));  // the first value keeps its key
  EXPECT_FALSE(map.add(6, nullptr));
  EXPECT_EQ(nullptr, map.find(69));
  // Removing from the front, the middle and the end of the chain leaves the others findable.
  bool present[5] = {true, true, true, true, true};
  for (int gone : {4, 2, 0, 1}) {
    EXPECT_TRUE(map.remove(keys[gone]));
    EXPECT_FALSE(map.remove(keys[gone]));
    present[gone] = false;
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(present[i] ? &values[i] : nullptr, map.find(keys[i])) << gone << " " << i;
  }
  EXPECT_FALSE(map.isEmpty());
  map.remove(53);
  EXPECT_TRUE(map.isEmpty());
  // Past many doublings every key still finds its own value.
  std::vector<int> many(5000);
  for (size_t i = 0; i < many.size(); ++i) EXPECT_TRUE(map.add(0x10000 + 8 * i, &many[i]));
  for (size_t i = 0; i < many.size(); i += 7) EXPECT_EQ(&many[i], map.find(0x10000 + 8 * i));
  EXPECT_EQ(nullptr, map.find(0x10000 + 8 * many.size()));
}

}  // namespace
