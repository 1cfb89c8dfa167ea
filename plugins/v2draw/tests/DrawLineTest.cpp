// Segment messages: what a board sends comes back through the default events file as the same
// segment (signed colour and width, 16-bit coordinates), and broken lines are left alone.
#include <gtest/gtest.h>

#include <string>

#include "host/EventList.h"
#include "host/EventsFile.h"
#include "plugins/v2draw/DrawLine.h"

namespace {

class DrawLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(loadEventsFile(events, NEVCHAT_EVENTS_FILE)); }

  // The line as the server hands it to the peer, the event it names, and the segment read.
  bool arrives(const std::string& serverLine, const char* event, DrawLine* line) {
    EventRecord record;
    std::string name = events.match(serverLine.c_str(), record);
    EXPECT_EQ(event, name) << serverLine;
    return name == event && DrawLine::fromEvent(record, line);
  }
  static bool same(const DrawLine& a, const DrawLine& b) {
    return a.kind == b.kind && a.color == b.color && a.x1 == b.x1 && a.y1 == b.y1 &&
           a.x2 == b.x2 && a.y2 == b.y2 && a.width == b.width;
  }

  EventList events;
};

TEST_F(DrawLineTest, PrivateAndChannelMessagesComeBackAsTheSameSegment) {
  const DrawLine samples[] = {DrawLine::of(0, 10, 10, 12, 15, 0),
                              DrawLine::of(255, 7, 8, 7, 8, 255),
                              DrawLine::of(128, -5, -32768, 32767, 0, 127)};
  for (const DrawLine& sent : samples) {
    std::string priv = sent.format("bob");
    ASSERT_EQ(0u, priv.rfind("senddata bob }l ", 0)) << priv;
    DrawLine got;
    // The server turns "senddata bob X" into "[data] alice X" for bob.
    ASSERT_TRUE(arrives("12:00:00 [data] alice " + priv.substr(13), "vsenddatadrawline", &got));
    EXPECT_TRUE(same(sent, got)) << priv;
    ASSERT_TRUE(arrives("<alice> " + sent.format(nullptr), "vchanneldrawline", &got));
    EXPECT_TRUE(same(sent, got));
  }
  EXPECT_EQ("}l -1 7 8 7 8 -1\n", samples[1].format(nullptr));
  EXPECT_EQ("}l -128 -5 -32768 32767 0 127\n", samples[2].format(nullptr));
}

TEST_F(DrawLineTest, NumbersAreCutToTheirWidthsAndBrokenLinesAreNoSegments) {
  DrawLine got;
  ASSERT_TRUE(arrives("[data] bob }l 511 70000 -70000 99999999999999999999 3 -129\n",
                      "vsenddatadrawline", &got));
  EXPECT_EQ(255, got.color);
  EXPECT_EQ(static_cast<int16_t>(70000), got.x1);
  EXPECT_EQ(static_cast<int16_t>(-70000), got.y1);
  EXPECT_EQ(static_cast<int16_t>(2147483647), got.x2);  // held at the largest int first
  EXPECT_EQ(127, got.width);

  EventRecord record;
  for (const char* line : {"[data] bob }l 1 2 3 4 5\n", "[data] bob }l a 1 2 3 4 5\n",
                           "[data] bob }l -\n", "[data] bob }l\n",
                           "<bob> }l 1 2 x 4 5 6\n", "<bob> }l  1 2 3 4 5 6\n"}) {
    std::string name = events.match(line, record);
    EXPECT_NE("vsenddatadrawline", name) << line;
    EXPECT_NE("vchanneldrawline", name) << line;
  }
  // Variables an events file does not define: no coordinates, no segment; colour and width 0.
  record.set("x", 4, "x1", "1", "y1", "", "x2", "3", "y2", "4");
  EXPECT_FALSE(DrawLine::fromEvent(record, &got));
  record.set("x", 4, "x1", "1", "y1", "2", "x2", "3", "y2", "4");
  ASSERT_TRUE(DrawLine::fromEvent(record, &got));
  EXPECT_TRUE(same(DrawLine::of(0, 1, 2, 3, 4, 0), got));
}

}  // namespace
