#include <gtest/gtest.h>

#include <string>

#include "host/EventList.h"
#include "host/tests/EventsTestConsole.h"
#include "lib/TextStream.h"

namespace {

class CapturingStream : public TextStream {
 public:
  CapturingStream() : TextStream(1024) {}
  std::string text;

 protected:
  void write(const char* part) override { text += part; }
};

TEST(EventListTest, FirstMatchInOrderWinsAndUnmatchedIsUnknown) {
  EventList list;
  ASSERT_TRUE(list.addEvent("tell", "^([^ ]+):(nick) tells you: (.*):(text)$"));
  ASSERT_TRUE(list.addEvent("any", "tells"));
  ASSERT_TRUE(list.addEvent("tell", "^(.*):(who) tells"));
  EventRecord data;
  EXPECT_STREQ(list.match("Mira tells you: hi\n", data), "tell");
  ASSERT_EQ(data.count, 2);
  EXPECT_STREQ(data.vars[1], "Mira");
  EXPECT_STREQ(list.match("Mira tells everybody\n", data), "any");
  EXPECT_EQ(data.count, 0);
  EXPECT_STREQ(list.match("nothing here\n", data), "[Unknown]");
  EXPECT_STREQ(data.text, "nothing here\n");
  EXPECT_EQ(data.count, 0);
  EXPECT_EQ(data.vars, nullptr);
  EXPECT_TRUE(list.hasEvent("TELL"));
  EXPECT_FALSE(list.hasEvent("tel"));
}

TEST(EventListTest, TrailingCaptureIsLazyUnlessClosed) {
  EventList list;
  ASSERT_TRUE(list.addEvent("open", "^You join the channel (/w+):(channel)"));
  EventRecord data;
  list.match("You join the channel Dessin\n", data);
  ASSERT_EQ(data.count, 1);
  EXPECT_STREQ(data.vars[1], "D");

  EventList closed;
  ASSERT_TRUE(closed.addEvent("dollar", "^You join the channel (.*):(channel)$"));
  closed.match("You join the channel Dessin\n", data);
  EXPECT_STREQ(data.vars[1], "Dessin\n");

  EventList delimited;
  ASSERT_TRUE(delimited.addEvent("word", "^You join the channel (/w+):(channel){/b|/W}"));
  delimited.match("You join the channel Dessin\n", data);
  EXPECT_STREQ(data.vars[1], "Dessin");
}

TEST(EventListTest, CapturesOffTheWinningPathAreEmpty) {
  EventList list;
  ASSERT_TRUE(list.addEvent("either", "^{a(x+):(first)|b(y+):(second)}"));
  EventRecord data;
  list.match("axx", data);
  list.match("byy", data);
  ASSERT_EQ(data.count, 2);
  EXPECT_STREQ(data.vars[0], "first");
  EXPECT_STREQ(data.vars[1], "");
  EXPECT_STREQ(data.vars[2], "second");
  EXPECT_STREQ(data.vars[3], "y");
}

TEST(EventListTest, SetStoresPairsLastToFirstAndDumpShowsNulls) {
  EventRecord data;
  data.set("text", 3, "a", "1", nullptr, "2", "c", nullptr);
  ASSERT_EQ(data.count, 3);
  EXPECT_STREQ(data.vars[0], "c");
  EXPECT_EQ(data.vars[1], nullptr);
  EXPECT_EQ(data.vars[2], nullptr);
  EXPECT_STREQ(data.vars[4], "a");
  CapturingStream stream;
  data.dump(&stream);
  data.dump(nullptr);
  EXPECT_NE(stream.text.find("Nb vars: 3."), std::string::npos);
  EXPECT_NE(stream.text.find("Var 0, named: c = (null)"), std::string::npos);
  EXPECT_NE(stream.text.find("Var 1, named: (null) = 2"), std::string::npos);
  data.clear();
  EXPECT_EQ(data.text, nullptr);
  EXPECT_EQ(data.count, 0);
}

TEST(EventListTest, ReportsBadPatternsAtAddAndAtMatch) {
  RecordingConsole console;
  EventList list(&console);
  EXPECT_FALSE(list.addEvent("bad", "{a"));
  ASSERT_GE(console.prints.size(), 4u);
  EXPECT_EQ(console.prints[0].text, "Event Error : Invalid regexpr !\n");
  EXPECT_EQ(console.prints[0].color, 0x800000);
  EXPECT_EQ(console.prints[1].text, "- Name  : bad\n");
  EXPECT_EQ(console.prints[2].text, "- Event : {a\n");
  EXPECT_EQ(console.prints[3].color, 0x000080);
  EXPECT_EQ(list.count(), 0);
  list.clear();
  EXPECT_FALSE(list.hasEvent("bad"));
}

}  // namespace
