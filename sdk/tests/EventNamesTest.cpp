#include "sdk/EventNames.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sdk/EventData.h"

TEST(EventNames, TableHoldsTheFixedNamesInOrder) {
  ASSERT_EQ(58, kEventNameCount);
  EXPECT_STREQ("getpass", eventNames[0]);
  EXPECT_STREQ("tell", eventNames[19]);
  EXPECT_STREQ("leave", eventNames[31]);
  EXPECT_STREQ("vdatas", eventNames[55]);
  EXPECT_STREQ("badserver", eventNames[57]);
  for (int id = 0; id < kEventNameCount; ++id) {
    ASSERT_NE(nullptr, eventNames[id]) << id;
    // Every name finds itself, so no name shadows a later one.
    EXPECT_EQ(id, findEventId(eventNames[id])) << eventNames[id];
  }
}

TEST(EventNames, FindIgnoresCaseAndRefusesEverythingElse) {
  const struct {
    const char* name;
    int id;
  } cases[] = {
      {"TELL", 19},      {"badserver", 57}, {"getpass", 0}, {"GetPass", 0},
      {"leave", 31},     {"leaves", 25},    {"leav", -1},   {"leavess", -1},
      {"[Unknown]", -1}, {"", -1},          {"tell ", -1},  {"t\xc9LL", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.id, findEventId(c.name)) << c.name;
  EXPECT_EQ(-1, findEventId(nullptr));
}

TEST(EventData, ValuesAreFoundByNameIgnoringCaseFirstOneWins) {
  char* vars[] = {
      const_cast<char*>("nick"),   const_cast<char*>("Bob"),  nullptr,
      const_cast<char*>("orphan"), const_cast<char*>("NICK"), const_cast<char*>("Second"),
      const_cast<char*>("empty"),  const_cast<char*>("")};
  EventData data{const_cast<char*>("Bob says hi\n"), 4, vars};
  EXPECT_STREQ("Bob says hi\n", data.getText());
  EXPECT_STREQ("Bob", data.getValue("NiCk"));
  EXPECT_STREQ("", data.getValue("EMPTY"));
  EXPECT_EQ(nullptr, data.getValue("nic"));
  EXPECT_EQ(nullptr, data.getValue(nullptr));

  EventData none{nullptr, 0, nullptr};
  EXPECT_EQ(nullptr, none.getValue("nick"));
}
