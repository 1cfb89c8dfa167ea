// The event list: first match in order, captures and their laziness, the record's variables
// and the reports of bad patterns.
#include <gtest/gtest.h>

#include "host/EventList.h"
#include "host/tests/EventsTestConsole.h"
#include "lib/TextStream.h"

namespace {

TEST(EventListTest, FirstMatchInOrderWinsAndUnmatchedIsUnknown) {
  EventList list;
  ASSERT_TRUE(list.addEvent("tell", "^([^ ]+):(nick) tells you: (.*):(text)$"));
  ASSERT_TRUE(list.addEvent("any", "tells"));
  EventRecord data;
  EXPECT_STREQ("tell", list.match("Mira tells you: hi\n", data));
  ASSERT_EQ(2, data.count);
  EXPECT_STREQ("Mira", data.vars[1]);
  EXPECT_STREQ("any", list.match("Mira tells everybody\n", data));
  EXPECT_EQ(0, data.count);
  EXPECT_STREQ("[Unknown]", list.match("nothing here\n", data));
  EXPECT_STREQ("nothing here\n", data.text);
  EXPECT_EQ(nullptr, data.vars);
  EXPECT_TRUE(list.hasEvent("TELL"));
  EXPECT_FALSE(list.hasEvent("tel"));
}

TEST(EventListTest, CapturesAreLazyUnlessClosedAndEmptyOffTheWinningPath) {
  const struct {
    const char *pattern, *line;
    std::vector<std::string> values;
  } cases[] = {
      {"^You join (/w+):(channel)", "You join Dessin\n", {"D"}},
      {"^You join (.*):(channel)$", "You join Dessin\n", {"Dessin\n"}},
      {"^You join (/w+):(channel){/b|/W}", "You join Dessin\n", {"Dessin"}},
      {"^{a(x+):(first)|b(y+):(second)}", "byy", {"", "y"}},
  };
  for (const auto& c : cases) {
    EventList list;
    ASSERT_TRUE(list.addEvent("e", c.pattern));
    EventRecord data;
    list.match("axx", data);  // a record used before is filled afresh
    list.match(c.line, data);
    std::vector<std::string> values;
    for (int i = 0; i < data.count; ++i) values.push_back(data.vars[2 * i + 1]);
    EXPECT_EQ(c.values, values) << c.pattern;
  }
}

class CapturingStream : public TextStream {
 public:
  CapturingStream() : TextStream(1024) {}
  std::string text;

 protected:
  void write(const char* part) override { text += part; }
};

TEST(EventListTest, SetStoresPairsLastToFirstAndDumpShowsNulls) {
  EventRecord data;
  data.set("text", 3, "a", "1", nullptr, "2", "c", nullptr);
  ASSERT_EQ(3, data.count);
  EXPECT_STREQ("c", data.vars[0]);
  EXPECT_EQ(nullptr, data.vars[1]);
  EXPECT_STREQ("a", data.vars[4]);
  CapturingStream stream;
  data.dump(&stream);
  data.dump(nullptr);
  EXPECT_NE(std::string::npos, stream.text.find("Var 0, named: c = (null)"));
  EXPECT_NE(std::string::npos, stream.text.find("Var 1, named: (null) = 2"));
  data.clear();
  EXPECT_EQ(nullptr, data.text);
  EXPECT_EQ(0, data.count);
}

TEST(EventListTest, ABadPatternIsReportedAndNotAdded) {
  RecordingConsole console;
  EventList list(&console);
  EXPECT_FALSE(list.addEvent("bad", "{a"));
  ASSERT_GE(console.prints.size(), 4u);
  EXPECT_EQ("Event Error : Invalid regexpr !\n", console.prints[0].text);
  EXPECT_EQ(0x800000, console.prints[0].color);
  EXPECT_EQ("- Name  : bad\n", console.prints[1].text);
  EXPECT_EQ(0, list.count());
}

}  // namespace
