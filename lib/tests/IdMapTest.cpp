#include "lib/IdMap.h"

#include <gtest/gtest.h>

namespace {

TEST(IdMapTest, KeysSharingABucketStaySeparate)
{
    IdMap map;
    int a = 0, b = 0, c = 0;
    EXPECT_TRUE(map.isEmpty());
    EXPECT_TRUE(map.add(5, &a));
    EXPECT_TRUE(map.add(21, &b));  // same bucket as 5
    EXPECT_FALSE(map.add(5, &c));  // the first value keeps its key
    EXPECT_FALSE(map.add(6, nullptr));
    EXPECT_EQ(&a, map.find(5));
    EXPECT_EQ(&b, map.find(21));
    EXPECT_EQ(nullptr, map.find(37));
    EXPECT_EQ(nullptr, map.find(6));

    EXPECT_TRUE(map.remove(5));
    EXPECT_FALSE(map.remove(5));
    EXPECT_EQ(nullptr, map.find(5));
    EXPECT_EQ(&b, map.find(21));
    EXPECT_FALSE(map.isEmpty());

    // Keys are whole handle values: bits above 31 tell keys apart.
    const uintptr_t wide = (uintptr_t(1) << 40) | 21;
    EXPECT_TRUE(map.add(wide, &c));
    EXPECT_EQ(&b, map.find(21));
    EXPECT_EQ(&c, map.find(wide));
    EXPECT_TRUE(map.remove(21));
    EXPECT_TRUE(map.remove(wide));
    EXPECT_TRUE(map.isEmpty());
}

TEST(IdMapTest, RemovesFromAnyPlaceInABucket)
{
    IdMap map;
    int values[4] = {};
    const uintptr_t keys[4] = {1, 17, 33, 49};
    for (int i = 0; i < 4; ++i)
        map.add(keys[i], &values[i]);
    // Front, middle and end of the chain (new nodes go to the front); the others stay.
    bool present[4] = {true, true, true, true};
    for (int gone : {3, 1, 0}) {
        EXPECT_TRUE(map.remove(keys[gone]));
        present[gone] = false;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(present[i] ? &values[i] : nullptr, map.find(keys[i])) << gone << " " << i;
    }
    // The last one is freed by the destructor.
}

}  // namespace
