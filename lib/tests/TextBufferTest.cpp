#include "lib/TextBuffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

TEST(TextBufferTest, GrowsInWholeStepsAndHandsBackTheOldStorage) {
  struct Case {
    int capacity, step, wanted, expected;
  } cases[] = {
      {512, 16, 600, 608},  // (600 - 512) / 16 + 1 = 6 steps
      {10, 4, 10, 14},      // one step even when the room is already there
      {10, 4, 3, 10},       // fewer characters than held: no step at all
      {0, 0, 5, 6},         // a step below 1 counts as 1
  };
  for (const Case& c : cases) {
    TextBuffer buffer(c.capacity, c.step);
    char* before = buffer.data();
    char* old = buffer.grow(c.wanted);
    ASSERT_NE(TextBuffer::GrowFailed, old);
    EXPECT_EQ(before, old);
    EXPECT_EQ(c.expected, buffer.capacity()) << c.capacity << "/" << c.step << "/" << c.wanted;
    std::free(old);
  }
}

TEST(TextBufferTest, EnsureKeepsStorageWithRoomAndGrowsOtherwise) {
  TextBuffer buffer(4, 8);
  ASSERT_TRUE(buffer.assign("abcd"));
  char* storage = buffer.data();
  EXPECT_TRUE(buffer.ensure(4));
  EXPECT_EQ(storage, buffer.data());
  EXPECT_TRUE(buffer.ensure(5));
  EXPECT_EQ(12, buffer.capacity());
  EXPECT_STREQ("", buffer.text());  // never an unterminated leftover

  // The caller fills the storage, then takes the length from it.
  std::strcpy(buffer.data(), "filled");
  buffer.recount();
  EXPECT_EQ(6, buffer.length());

  TextBuffer none(0, 3);  // nothing allocated yet: still a text
  EXPECT_STREQ("", none.text());
}

TEST(TextBufferTest, TrimRemovesBlanksFromOneEndOnly) {
  struct Case {
    const char* text;
    bool fromStart;
    const char* expected;
  } cases[] = {
      {" \t\r\n a b \r\n", true, "a b \r\n"},
      {" \t a b \t\r\n", false, " \t a b"},
      {" \t\r\n ", false, ""},
      {" \t\r\n ", true, ""},
  };
  for (const Case& c : cases) {
    TextBuffer buffer(4, 4);
    buffer.assign(c.text);
    buffer.trim(c.fromStart);
    EXPECT_STREQ(c.expected, buffer.text()) << '"' << c.text << '"' << c.fromStart;
    EXPECT_EQ(static_cast<int>(std::strlen(c.expected)), buffer.length());
  }
}

}  // namespace
