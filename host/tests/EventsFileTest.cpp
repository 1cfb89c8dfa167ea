#include <gtest/gtest.h>

#include <string>

#include "host/EventList.h"
#include "host/EventsFile.h"
#include "host/tests/EventsTestConsole.h"
#include "platform/tests/TempFolder.h"

namespace {

class EventsFileTest : public ::testing::Test {
 protected:
  // Writes the file (with CR LF line ends when crlf) and loads it into the list.
  bool load(const std::string& text, bool crlf = false) {
    std::string content;
    for (char c : text) {
      if (c == '\n' && crlf) content += '\r';
      content += c;
    }
    folder.write("test.events", content);
    path = folder.file("test.events");
    return loadEventsFile(list, path.c_str());
  }

  std::string matchName(const char* line) {
    EventRecord data;
    return list.match(line, data);
  }

  TempFolder folder;
  RecordingConsole console;
  EventList list{&console};
  std::string path;
};

const char* const HelpLines =
    "The syntax is : \"<name> = <data>\"\n"
    " <name> must be alphanumeric.\n"
    " <data> is an sum (using '+') of <item> used to define a regular expression\n"
    " <item> is either a string (eg : \"...\") either a variable name\n"
    "Example : topic = nev + \"([^ ]+):(nick) tells you ?: (.*):(text)$\"\n";

TEST_F(EventsFileTest, VariablesBuildEventsWithLfAndCrLf) {
  for (bool crlf : {false, true}) {
    console.prints.clear();
    ASSERT_TRUE(
        load("[VARS]\n"
             "nick = \"([^ ]+):(nick)\"\n"
             "; a comment\n"
             "   // another\n"
             "\t\n"
             "[events]\n"
             "tell = nick + \" tells you ?: (.*):(text)$\"\n",
             crlf));
    EXPECT_EQ(console.all(), "");
    EXPECT_EQ(list.count(), 1);
    EventRecord data;
    EXPECT_STREQ(list.match("Mira tells you: hi there\n", data), "tell");
    ASSERT_EQ(data.count, 2);
    EXPECT_STREQ(data.vars[0], "nick");
    EXPECT_STREQ(data.vars[1], "Mira");
    EXPECT_STREQ(data.vars[2], "text");
    EXPECT_STREQ(data.vars[3], "hi there\n");
  }
}

TEST_F(EventsFileTest, FaultyLinesAreReportedAndSkipped) {
  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"bad - \"x\"\n", "Invalid line, '=' not found"},
      {"bad =\n", "Unknown variable ''"},
      {"bad = later\n", "Unknown variable 'later'"},
      {"bad = \"abc\n", "End of string not found !"},
      {"bad = \"a/\"\n", "End of string not found !"},
      {"bad = \"a\" x\n", "Invalid line ... Missing '+' or <eol>"},
      {"bad = \"a\" ; note\n", "Invalid line ... Missing '+' or <eol>"},
      {"bad = \"a\"", "Invalid line ... Missing '+' or <eol>"},
      {"bad_x = \"a\"\n", "Invalid line, '=' not found"},
      {"[VARS]\n", "Invalid line, '=' not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.prints.clear();
    ASSERT_TRUE(load(std::string("[EVENTS]\ngood = \"x\"\n") + c.line));
    EXPECT_EQ(list.count(), 1);
    EXPECT_FALSE(list.hasEvent("bad"));
    std::string expected = std::string("Event File Error : ") + c.message + " (file : " + path +
                           ") :\n -> " + c.line + HelpLines;
    EXPECT_EQ(console.all(), expected);
    ASSERT_EQ(console.prints.size(), 7u);
    EXPECT_EQ(console.prints[0].color, 0x800000);
    EXPECT_EQ(console.prints[1].color, 0x404040);
    EXPECT_EQ(console.prints[2].color, 0);
  }
}

TEST_F(EventsFileTest, QuotedItemsKeepEscapesAndJoinWithoutBlanks) {
  // The empty name is a variable like any other once "=" defines it.
  ASSERT_TRUE(
      load("[VARS]\n"
           "a = \"x/\"y\"\n"
           "b=\"//\"+a  +  \"z\"\n"
           "=\"empty\"\n"
           "[EVENTS]\n"
           "e = b + \"!\"\n"
           "f =  + \"?\"\n"));
  EXPECT_EQ(console.all(), "");
  EventRecord data;
  EXPECT_STREQ(list.match("//x\"yz!", data), "e");
  EXPECT_STREQ(list.match("empty?", data), "f");
}

TEST_F(EventsFileTest, RedefinitionKeepsTheFirstAndHashTwinsStayApart) {
  // "ap" and "c2" share a hash; each keeps its own text.
  ASSERT_TRUE(
      load("[VARS]\n"
           "ap = \"alpha\"\n"
           "c2 = \"beta\"\n"
           "ap = \"gamma\"\n"
           "[EVENTS]\n"
           "first = ap\n"
           "second = c2\n"));
  EXPECT_EQ(console.all(), std::string("Event File Error : Variable 'ap' : redifinition (file : ") +
                               path + ") :\n -> ap = \"gamma\"\n" + HelpLines);
  EXPECT_EQ(matchName("alpha"), "first");
  EXPECT_EQ(matchName("beta"), "second");
  EXPECT_EQ(matchName("gamma"), "[Unknown]");
}

TEST_F(EventsFileTest, HeaderDecidesAndFailuresKeepOrEmptyTheList) {
  ASSERT_TRUE(load("[events]\nold = \"old\"\n"));
  EXPECT_TRUE(list.hasEvent("OLD"));

  console.prints.clear();
  std::string missing = folder.file("missing.events");
  EXPECT_FALSE(loadEventsFile(list, missing.c_str()));
  EXPECT_EQ(console.all(), "Event File Error : Can't open " + missing + ".\n");
  EXPECT_TRUE(list.hasEvent("old"));

  console.prints.clear();
  EXPECT_FALSE(load(""));
  EXPECT_EQ(console.all(), "Event File Error : Empty file (" + path + ").\n");
  EXPECT_TRUE(list.hasEvent("old"));

  console.prints.clear();
  EXPECT_FALSE(load(" [VARS]\nx = \"x\"\n"));
  EXPECT_EQ(console.all(), "Event File Error : " + path + " is not a events file.\n");
  EXPECT_EQ(list.count(), 0);

  // Text after the header on its line counts for nothing.
  EXPECT_TRUE(load("[EVENTS] whatever = \"x\"\ny = \"y\"\n"));
  EXPECT_EQ(list.count(), 1);
}

TEST_F(EventsFileTest, LongPhysicalLineIsReadAsSeveral) {
  std::string longLine = "big = \"" + std::string(5000, 'a') + "\"\n";
  ASSERT_TRUE(load("[EVENTS]\n" + longLine + "after = \"b\"\n"));
  // The first piece has no closing quote; the rest begins with 'a's and no '='.
  EXPECT_TRUE(console.has("End of string not found !"));
  EXPECT_TRUE(console.has("Invalid line, '=' not found"));
  EXPECT_FALSE(list.hasEvent("big"));
  EXPECT_TRUE(list.hasEvent("after"));
}

TEST_F(EventsFileTest, RejectedPatternIsReportedAndDropped) {
  ASSERT_TRUE(load("[EVENTS]\nbroken = \"(ab\"\nfine = \"ab\"\n"));
  EXPECT_TRUE(console.has("Event Error : Invalid regexpr !\n- Name  : broken\n- Event : (ab\n=> "));
  EXPECT_FALSE(list.hasEvent("broken"));
  EXPECT_TRUE(list.hasEvent("fine"));
}

}  // namespace
