#include "lib/StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The entries from the most recent on, read by walking the list (which wraps at the oldest).
std::vector<std::string> entries(StringList& list, int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back(list.next());
  return out;
}

TEST(StringListTest, RepeatsMoveToTheFrontAndBlankTextsAreRefused) {
  StringList list;
  for (const char* text : {"hello", "/join x", "HELLO"}) EXPECT_TRUE(list.add(text));
  EXPECT_EQ((std::vector<std::string>{"hello", "/join x", "hello"}), entries(list, 3));

  StringList blanks;
  EXPECT_FALSE(blanks.add(nullptr));
  EXPECT_FALSE(blanks.add(""));
  EXPECT_FALSE(blanks.add(" \t\r\n"));
  EXPECT_STREQ("", blanks.next());
  EXPECT_TRUE(blanks.add(" a "));
  EXPECT_STREQ(" a ", blanks.next());
}

TEST(StringListTest, WalkingOlderWrapsAndWalkingNewerEndsOnNone) {
  StringList list;
  for (const char* text : {"c", "b", "a"}) list.add(text);
  EXPECT_STREQ("", list.previous());  // none stays none
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "a"}), entries(list, 4));
  list.next();
  EXPECT_STREQ("a", list.previous());
  EXPECT_STREQ("", list.previous());
  EXPECT_STREQ("a", list.next());
  list.next();
  list.add("d");  // adding forgets the cursor
  EXPECT_STREQ("d", list.next());
}

TEST(StringListTest, PrefixSearchesIgnoreCaseAndMoveTheCursorOnlyOnAMatch) {
  StringList list;
  for (const char* text : {"/join a", "talk", "/JOIN b", "/part", "/join c"}) list.add(text);
  EXPECT_EQ(nullptr, list.findNext("/j"));  // no cursor yet
  EXPECT_STREQ("/join c", list.findFirst("/J"));
  EXPECT_STREQ("/JOIN b", list.findNext("/j"));
  EXPECT_STREQ("/join a", list.findNext("/j"));
  EXPECT_EQ(nullptr, list.findNext("/j"));
  EXPECT_STREQ("talk", list.previous());  // the cursor stayed on "/join a"
  EXPECT_STREQ("/JOIN b", list.findPrevious("/join"));
  EXPECT_STREQ("/join c", list.findPrevious("/join"));
  EXPECT_EQ(nullptr, list.findPrevious("/join"));
  EXPECT_EQ(nullptr, list.findFirst("/join cc"));  // longer than every entry
  EXPECT_STREQ("/join c", list.findFirst(""));     // the empty prefix matches all
}

TEST(StringListTest, SearchGivesUpAfter256Misses) {
  for (int misses : {255, 256}) {
    StringList list;
    list.add("target");
    for (int i = 0; i < misses; ++i) list.add(("other " + std::to_string(i)).c_str());
    EXPECT_EQ(misses == 255, list.findFirst("tar") != nullptr) << misses;
  }
}

}  // namespace
