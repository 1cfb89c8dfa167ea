// Events files: variables joined into events, line ends, each faulty line reported and skipped,
// escapes, redefinitions and hash twins, the header, and failures that keep or empty the list.
#include <gtest/gtest.h>

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
    for (char c : text) content += c == '\n' && crlf ? "\r\n" : std::string(1, c);
    folder.write("test.events", content);
    path = folder.file("test.events");
    console.prints.clear();
    return loadEventsFile(list, path.c_str());
  }
  std::string matchName(const char* line) {
    EventRecord data;
    return list.match(line, data);
  }
  std::string error(const std::string& message, const std::string& line) {
    return "Event File Error : " + message + " (file : " + path + ") :\n -> " + line +
           "The syntax is : \"<name> = <data>\"\n"
           " <name> must be alphanumeric.\n"
           " <data> is an sum (using '+') of <item> used to define a regular expression\n"
           " <item> is either a string (eg : \"...\") either a variable name\n"
           "Example : topic = nev + \"([^ ]+):(nick) tells you ?: (.*):(text)$\"\n";
  }

  TempFolder folder;
  RecordingConsole console;
  EventList list{&console};
  std::string path;
};

TEST_F(EventsFileTest, VariablesBuildEventsWithLfAndCrLf) {
  for (bool crlf : {false, true}) {
    ASSERT_TRUE(
        load("[VARS]\nnick = \"([^ ]+):(nick)\"\n; a comment\n   // another\n\t\n"
             "[events]\ntell = nick + \" tells you ?: (.*):(text)$\"\n",
             crlf));
    EXPECT_EQ("", console.all());
    EXPECT_EQ(1, list.count());
    EventRecord data;
    EXPECT_STREQ("tell", list.match("Mira tells you: hi there\n", data));
    ASSERT_EQ(2, data.count);
    EXPECT_STREQ("Mira", data.vars[1]);
    EXPECT_STREQ("hi there\n", data.vars[3]);
  }
}

TEST_F(EventsFileTest, FaultyLinesAreReportedAndSkipped) {
  const std::pair<const char*, const char*> cases[] = {
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
  for (const auto& [line, message] : cases) {
    ASSERT_TRUE(load(std::string("[EVENTS]\ngood = \"x\"\n") + line));
    EXPECT_EQ(1, list.count()) << line;
    EXPECT_EQ(error(message, line), console.all());
    ASSERT_EQ(7u, console.prints.size());
    EXPECT_EQ(0x800000, console.prints[0].color);
  }
}

TEST_F(EventsFileTest, QuotedItemsKeepEscapesAndRedefinitionKeepsTheFirstWhileHashTwinsStayApart) {
  // The empty name is a variable like any other once "=" defines it; "ap" and "c2" share a hash.
  ASSERT_TRUE(
      load("[VARS]\na = \"x/\"y\"\nb=\"//\"+a  +  \"z\"\n=\"empty\"\n"
           "ap = \"alpha\"\nc2 = \"beta\"\nap = \"gamma\"\n"
           "[EVENTS]\ne = b + \"!\"\nf =  + \"?\"\nfirst = ap\nsecond = c2\n"));
  EXPECT_EQ(error("Variable 'ap' : redifinition", "ap = \"gamma\"\n"), console.all());
  EXPECT_EQ("e", matchName("//x\"yz!"));
  EXPECT_EQ("f", matchName("empty?"));
  EXPECT_EQ("first", matchName("alpha"));
  EXPECT_EQ("second", matchName("beta"));
  EXPECT_EQ("[Unknown]", matchName("gamma"));
}

TEST_F(EventsFileTest, HeaderDecidesAndFailuresKeepOrEmptyTheList) {
  ASSERT_TRUE(load("[events]\nold = \"old\"\n"));
  console.prints.clear();
  std::string missing = folder.file("missing.events");
  EXPECT_FALSE(loadEventsFile(list, missing.c_str()));
  EXPECT_EQ("Event File Error : Can't open " + missing + ".\n", console.all());
  EXPECT_FALSE(load(""));
  EXPECT_EQ("Event File Error : Empty file (" + path + ").\n", console.all());
  EXPECT_TRUE(list.hasEvent("old"));
  EXPECT_FALSE(load(" [VARS]\nx = \"x\"\n"));
  EXPECT_EQ("Event File Error : " + path + " is not a events file.\n", console.all());
  EXPECT_EQ(0, list.count());
  // Text after the header on its line counts for nothing.
  EXPECT_TRUE(load("[EVENTS] whatever = \"x\"\ny = \"y\"\n"));
  EXPECT_EQ(1, list.count());
}

TEST_F(EventsFileTest, LongLinesAndRejectedPatternsAreReportedAndDropped) {
  // A long physical line is read as several: the first piece has no closing quote, the rest
  // begins with 'a's and no '='.
  std::string longLine = "big = \"" + std::string(5000, 'a') + "\"\n";
  ASSERT_TRUE(load("[EVENTS]\n" + longLine + "broken = \"(ab\"\nafter = \"b\"\n"));
  EXPECT_TRUE(console.has("End of string not found !"));
  EXPECT_TRUE(console.has("Invalid line, '=' not found"));
  EXPECT_TRUE(console.has("Event Error : Invalid regexpr !\n- Name  : broken\n- Event : (ab\n=> "));
  EXPECT_EQ(1, list.count());
  EXPECT_TRUE(list.hasEvent("after"));
}

// Each variable doubling the one before took gigabytes; each definition and the whole load are
// bounded, and what passes a bound is reported and skipped like any faulty line.
TEST_F(EventsFileTest, ExpandedTextIsBoundedPerDefinitionAndPerFile) {
  std::string vars = "[VARS]\na0 = \"xxxxxxxx\"\n";  // a13 is 64 KB
  for (int i = 1; i <= 40; ++i)
    vars += "a" + std::to_string(i) + " = a" + std::to_string(i - 1) + " + a" +
            std::to_string(i - 1) + "\n";
  ASSERT_TRUE(load(vars + "[EVENTS]\nbig = a13 + \"y\"\nwhole = a13\nafter = \"z\"\n"));
  EXPECT_EQ(0u, console.all().find(error("Definition 'a14' : too long (more than 65536 characters)",
                                         "a14 = a13 + a13\n")));
  EXPECT_TRUE(console.has("Unknown variable 'a14'"));
  EXPECT_TRUE(console.has("Definition 'big' : too long"));
  EXPECT_FALSE(list.hasEvent("big"));
  EXPECT_TRUE(list.hasEvent("whole") && list.hasEvent("after"));

  for (int i = 0; i < 300; ++i) vars += "copy" + std::to_string(i) + " = a13\n";
  ASSERT_TRUE(load(vars));
  // The chain's 128 KB and 254 copies of 64 KB fill the load's 16 MB.
  EXPECT_FALSE(console.has("copy253 = a13"));
  EXPECT_TRUE(console.has("Too many definitions : the file's expanded text passes 16 MB (file : " +
                          path + ") :\n -> copy254 = a13\n"));
}

// Lists loaded from one file share one compile (each matching with its own state, and each
// told the file's faults); a changed file is compiled again while the old compile lives on.
TEST_F(EventsFileTest, ListsOfOneFileShareOneCompileUntilTheFileChanges) {
  const std::string tell =
      "[EVENTS]\ntell = \"^([^ ]+):(nick) tells you: (.*):(text)$\"\nbad = \"(a\"\n";
  ASSERT_TRUE(load(tell));
  std::string firstReport = console.all();
  ASSERT_TRUE(console.has("Event Error : Invalid regexpr !"));
  RecordingConsole otherConsole;
  EventList other(&otherConsole);
  ASSERT_TRUE(loadEventsFile(other, path.c_str()));
  ASSERT_NE(nullptr, list.adopted());
  EXPECT_EQ(list.adopted(), other.adopted());
  EXPECT_EQ(firstReport, otherConsole.all());
  EXPECT_EQ(list.entryAt(0)->regExpr.program, other.entryAt(0)->regExpr.program);
  EXPECT_NE(list.entryAt(0)->regExpr.nodes, other.entryAt(0)->regExpr.nodes);

  EventRecord mine, theirs;
  EXPECT_STREQ("tell", list.match("Mira tells you: hi\n", mine));
  EXPECT_STREQ("tell", other.match("Ole tells you: bye\n", theirs));
  EXPECT_STREQ("Mira", mine.vars[1]);
  EXPECT_STREQ("hi\n", mine.vars[3]);
  EXPECT_STREQ("Ole", theirs.vars[1]);

  folder.write("test.events", "[EVENTS]\nshout = \"^([^ ]+):(nick) shouts: \"\n");
  EventList changed{nullptr};
  ASSERT_TRUE(loadEventsFile(changed, path.c_str()));
  EXPECT_NE(list.adopted(), changed.adopted());
  EXPECT_STREQ("shout", changed.match("Mira shouts: hi\n", mine));
  EXPECT_STREQ("tell", other.match("Ole tells you: again\n", theirs));
  EXPECT_STREQ("again\n", theirs.vars[3]);
}

}  // namespace
