// Line splitting, continuation of open lines, section and indent prefixes, and the bounds of
// the buffer, seen through a stream that records each write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/TextStream.h"

namespace {

class RecordingStream : public TextStream {
 public:
  explicit RecordingStream(int size = 256) : TextStream(size) {}
  std::vector<std::string> writes;
  std::string all() const {
    std::string s;
    for (const std::string& w : writes) s += w;
    return s;
  }

 protected:
  void write(const char* text) override { writes.push_back(text); }
};

std::string bars(int levels) {
  std::string b;
  for (int i = 0; i < levels; ++i) b += "| ";
  return b;
}

TEST(TextStreamTest, OpenLineContinuesWithoutPrefixAndEachLineIsOneWrite) {
  RecordingStream s;
  s.printf("a\nb");
  s.printf("c\n");
  EXPECT_EQ((std::vector<std::string>{"-> a", "\n", "-> b", "c", "\n"}), s.writes);
}

TEST(TextStreamTest, ContinuationAndLineEnds) {
  struct Case {
    std::vector<const char*> prints;
    const char* expected;
  };
  const Case cases[] = {
      {{"a\r\nb\r\n"}, "-> a\n-> b\n"},
      {{"a\n\rb\n"}, "-> a\n-> b\n"},
      {{"a\r\n\rb"}, "-> a\n-> b"},
      {{"a\n\r", "b\n"}, "-> a\n-> b\n"},  // nothing left after the CR: the line is closed
      {{"a", "b", "c\nd\n"}, "-> abc\n-> d\n"},
      {{"x", "\r\ny\n"}, "-> x\n-> y\n"},  // CR before the LF that ends an open line
      {{"a\n\n"}, "-> a\n-> \n"},
      {{"a\rb\n"}, "-> a\rb\n"},  // a CR inside a line stays
      {{"", "a"}, "-> a"},
      {{"a", "", "\n"}, "-> a\n"},
  };
  for (const Case& c : cases) {
    RecordingStream s;
    for (const char* p : c.prints) s.printf("%s", p);
    EXPECT_EQ(c.expected, s.all()) << "first print: " << c.prints[0];
  }
}

TEST(TextStreamTest, SectionsAndIndents) {
  struct Case {
    const char* name;
    void (*run)(TextStream&);
    const char* expected;
  };
  const Case cases[] = {
      {"one section",
       [](TextStream& s) {
         s.beginSection("T\n");
         s.printf("x\n");
         s.endSection("E\n");
         s.printf("y\n");
       },
       "+> T\n| -> x\n+> E\n-> y\n"},
      {"nested",
       [](TextStream& s) {
         s.beginSection("A\n");
         s.beginSection("B\n");
         s.printf("x\n");
         s.endSection("b\n");
         s.printf("y\n");
         s.endSection("a\n");
       },
       "+> A\n| +> B\n| | -> x\n| +> b\n| -> y\n+> a\n"},
      {"newLine keeps the bars",
       [](TextStream& s) {
         s.newLine();
         s.beginSection("T\n");
         s.newLine();
       },
       "\n+> T\n| \n"},
      {"indent and outdent",
       [](TextStream& s) {
         s.indent();
         s.printf("x\n");
         s.indent();
         s.printf("y\n");
         s.outdent();
         s.outdent();
         s.outdent();  // already outermost
         s.printf("z\n");
       },
       "  -> x\n    -> y\n-> z\n"},
      {"outdent stops at a section bar",
       [](TextStream& s) {
         s.beginSection("T\n");
         s.indent();
         s.printf("x\n");
         s.outdent();
         s.outdent();
         s.printf("y\n");
       },
       "+> T\n|   -> x\n| -> y\n"},
      {"endSection drops the indents inside the section",
       [](TextStream& s) {
         s.beginSection("T\n");
         s.indent();
         s.indent();
         s.endSection("E\n");
         s.printf("y\n");
       },
       "+> T\n+> E\n-> y\n"},
      {"endSection at the outermost level",
       [](TextStream& s) {
         s.endSection("E\n");
         s.indent();
         s.indent();
         s.endSection("F\n");
         s.printf("y\n");
       },
       "-> E\n-> F\n-> y\n"},
      {"section inside an indent",
       [](TextStream& s) {
         s.indent();
         s.beginSection("T\n");
         s.printf("x\n");
         s.endSection("E\n");
         s.printf("y\n");
       },
       "  +> T\n  | -> x\n  +> E\n  -> y\n"},
      {"an open line is ended first",
       [](TextStream& s) {
         s.printf("a");
         s.beginSection("T\n");
         s.printf("b");
         s.indent();
         s.printf("c");
         s.endSection("E\n");
       },
       "-> a\n+> T\n| -> b\n|   -> c\n+> E\n"},
      {"resetIndent",
       [](TextStream& s) {
         s.beginSection("A\n");
         s.beginSection("B\n");
         s.indent();
         s.resetIndent();
         s.printf("x\n");
         s.endSection("E\n");
       },
       "+> A\n| +> B\n-> x\n-> E\n"},
      {"printLine writes the text alone",
       [](TextStream& s) {
         s.beginSection("T\n");
         s.printf("a");
         s.printLine("%d\n%s", 1, "b");
         s.endLine();
         s.printf("c\n");
       },
       "+> T\n| -> a\n1\nb| -> c\n"},
  };
  for (const Case& c : cases) {
    RecordingStream s;
    c.run(s);
    EXPECT_EQ(c.expected, s.all()) << c.name;
  }
}

TEST(TextStreamTest, LongTextIsCutAtTheEndOfTheBuffer) {
  RecordingStream s(32);  // "-> " and 29 bytes of text area, the last one the NUL
  const std::string longText(100, 'a');
  s.printf("%s\n", longText.c_str());
  EXPECT_EQ("-> " + std::string(28, 'a'), s.all());

  s.writes.clear();
  s.endLine();
  s.beginSection("%s", longText.c_str());
  EXPECT_EQ("\n+> " + std::string(28, 'a'), s.all());
}

TEST(TextStreamTest, TinyOrNegativeSizeStillHoldsPrefixAndText) {
  for (int size : {0, -5, 3}) {
    RecordingStream s(size);
    s.beginSection("T\n");
    s.printf("%s\n", std::string(40, 'h').c_str());
    s.endLine();
    s.endSection("E\n");
    // Too small for any level: the section is hidden, the text keeps its 15 characters.
    EXPECT_EQ("-> " + std::string(15, 'h') + "\n", s.all()) << size;
  }
}

// Deep nesting never overruns the buffer; the levels it cannot show are still matched.
TEST(TextStreamTest, NestingStopsWhereTheTextAreaWouldGetTooSmall) {
  // 64 bytes: 22 levels make a 47-character prefix and leave 17 bytes (16 characters) of
  // text; a 23rd level would leave fewer than 16 bytes.
  const int shown = 22;
  RecordingStream s(64);
  for (int i = 0; i < 1000; ++i) s.beginSection("S%d\n", i);
  s.printf("%s\n", std::string(10, 'x').c_str());
  ASSERT_EQ(shown * 2u + 2, s.writes.size());
  EXPECT_EQ(bars(shown - 1) + "+> S21", s.writes[2 * shown - 2]);
  EXPECT_EQ(bars(shown) + "-> xxxxxxxxxx", s.writes[2 * shown]);

  s.writes.clear();
  s.printf("%s\n", std::string(100, 'y').c_str());
  s.endLine();
  EXPECT_EQ(bars(shown) + "-> " + std::string(16, 'y') + "\n", s.all());

  s.writes.clear();
  for (int i = 0; i < 1000 - shown; ++i) s.endSection("hidden\n");
  EXPECT_EQ("", s.all());
  s.endSection("E21\n");
  s.printf("z\n");
  EXPECT_EQ(bars(shown - 1) + "+> E21\n" + bars(shown - 1) + "-> z\n", s.all());

  for (int i = 0; i < shown - 1; ++i) s.endSection("E\n");
  s.writes.clear();
  s.printf("z\n");
  EXPECT_EQ("-> z\n", s.all());
}

TEST(TextStreamTest, HiddenLevelsAreMatchedByTheirOwnCalls) {
  RecordingStream t(21);  // room for exactly one level
  t.indent();
  t.indent();   // hidden
  t.outdent();  // undoes the hidden indent, not the visible one
  t.printf("x\n");
  t.beginSection("A\n");  // hidden: writes nothing
  t.indent();
  t.outdent();
  t.outdent();  // at the hidden section: nothing
  t.printf("y\n");
  t.endSection("a\n");  // ends the hidden section, not the visible indent
  t.printf("z\n");
  t.outdent();
  t.printf("w\n");
  EXPECT_EQ("  -> x\n  -> y\n  -> z\n-> w\n", t.all());

  RecordingStream u(23);
  for (int i = 0; i < 1000; ++i) u.indent();
  for (int i = 0; i < 999; ++i) u.outdent();
  u.printf("x\n");
  u.outdent();
  u.printf("y\n");
  EXPECT_EQ("  -> x\n-> y\n", u.all());

  // resetIndent forgets the hidden levels too.
  RecordingStream v(21);
  v.beginSection("A\n");
  v.beginSection("B\n");
  v.resetIndent();
  v.beginSection("C\n");
  v.endSection("c\n");
  EXPECT_EQ("+> A\n+> C\n+> c\n", v.all());
}

}  // namespace
