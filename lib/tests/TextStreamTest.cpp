// Line splitting, open-line continuation, section and indent prefixes and the buffer's bounds,
// seen through a stream that records each write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/TextStream.h"

namespace {

class RecordingStream : public TextStream {
 public:
  explicit RecordingStream(int size = 256) : TextStream(size) {}
  std::vector<std::string> writes;
  // Runs calls written as one letter and their text: p printf, l printLine, b/e begin/end
  // section, i/o indent/outdent, n newLine, c endLine, r resetIndent. Returns what was written.
  std::string run(const std::vector<std::string>& calls) {
    for (const std::string& c : calls) {
      const char* t = c.c_str() + 1;
      switch (c[0]) {
        case 'p':
          printf("%s", t);
          break;
        case 'l':
          printLine("%s", t);
          break;
        case 'b':
          beginSection("%s", t);
          break;
        case 'e':
          endSection("%s", t);
          break;
        case 'i':
          indent();
          break;
        case 'o':
          outdent();
          break;
        case 'n':
          newLine();
          break;
        case 'c':
          endLine();
          break;
        case 'r':
          resetIndent();
          break;
      }
    }
    std::string s;
    for (const std::string& w : writes) s += w;
    writes.clear();
    return s;
  }

 protected:
  void write(const char* text) override { writes.push_back(text); }
};

std::string repeat(const std::string& s, int n) {
  std::string r;
  while (n-- > 0) r += s;
  return r;
}

TEST(TextStreamTest, OpenLineContinuesWithoutPrefixAndEachLineIsOneWrite) {
  RecordingStream s;
  s.printf("a\nb");
  s.printf("c\n");
  EXPECT_EQ((std::vector<std::string>{"-> a", "\n", "-> b", "c", "\n"}), s.writes);
}

TEST(TextStreamTest, WrittenText) {
  struct Case {
    std::vector<std::string> calls;
    const char* expected;
  } cases[] = {
      // Line ends: CR next to an LF goes, a CR inside a line stays, a last piece stays open.
      {{"pa\r\n\rb", "pc"}, "-> a\n-> bc"},
      {{"pa\n\r", "pb\n"}, "-> a\n-> b\n"},
      {{"px", "p\r\ny\n"}, "-> x\n-> y\n"},
      {{"pa\n\n", "pa\rb\n", "p", "pc", "p", "p\n"}, "-> a\n-> \n-> a\rb\n-> c\n"},
      // Sections, indents and the calls that end an open line first.
      {{"bA\n", "bB\n", "px\n", "eb\n", "py\n", "ea\n"},
       "+> A\n| +> B\n| | -> x\n| +> b\n| -> y\n+> a\n"},
      {{"n", "bT\n", "n"}, "\n+> T\n| \n"},
      {{"i", "px\n", "i", "py\n", "o", "o", "o", "pz\n"}, "  -> x\n    -> y\n-> z\n"},
      {{"bT\n", "i", "px\n", "o", "o", "py\n"}, "+> T\n|   -> x\n| -> y\n"},
      {{"bT\n", "i", "i", "eE\n", "py\n"}, "+> T\n+> E\n-> y\n"},
      {{"i", "bT\n", "px\n", "eE\n", "py\n"}, "  +> T\n  | -> x\n  +> E\n  -> y\n"},
      {{"pa", "bT\n", "pb", "i", "pc", "eE\n"}, "-> a\n+> T\n| -> b\n|   -> c\n+> E\n"},
      {{"bA\n", "bB\n", "i", "r", "px\n", "eE\n"}, "+> A\n| +> B\n-> x\n-> E\n"},
      {{"bT\n", "pa", "l1\nb", "c", "pc\n"}, "+> T\n| -> a\n1\nb| -> c\n"},
  };
  for (const Case& c : cases) {
    RecordingStream s;
    EXPECT_EQ(c.expected, s.run(c.calls)) << c.calls[0];
  }
}

TEST(TextStreamTest, LongTextIsCutAndTinySizesStillWork) {
  const std::string a100(100, 'a');
  RecordingStream s(32);  // "-> " and a 29-byte text area, whose last byte is the NUL
  EXPECT_EQ("-> " + std::string(28, 'a'), s.run({"p" + a100 + "\n"}));
  EXPECT_EQ("\n+> " + std::string(28, 'a'), s.run({"c", "b" + a100}));
  for (int size : {0, -5, 3}) {
    // Too small for any level: sections stay hidden, text keeps at least 15 characters.
    RecordingStream t(size);
    EXPECT_EQ("-> " + std::string(15, 'a') + "\n", t.run({"bT\n", "p" + a100, "c", "eE\n"}));
  }
}

// Deep nesting never overruns the buffer; the levels it cannot show are still matched.
TEST(TextStreamTest, NestingStopsWhereTheTextAreaWouldGetTooSmall) {
  // 64 bytes: 22 levels make a 47-character prefix and leave 17 bytes of text area; a 23rd
  // would leave fewer than 16.
  RecordingStream s(64);
  for (int i = 0; i < 1000; ++i) s.beginSection("S%d\n", i);
  ASSERT_EQ(44u, s.writes.size());
  EXPECT_EQ(repeat("| ", 21) + "+> S21\n", s.writes[42] + s.writes[43]);
  s.writes.clear();
  EXPECT_EQ(repeat("| ", 22) + "-> " + std::string(16, 'y') + "\n",
            s.run({"p" + std::string(99, 'y'), "c"}));
  for (int i = 0; i < 1000 - 22; ++i) s.endSection("hidden\n");
  ASSERT_TRUE(s.writes.empty());
  EXPECT_EQ(repeat("| ", 21) + "+> E\n" + repeat("| ", 21) + "-> z\n", s.run({"eE\n", "pz\n"}));

  // Room for one level: a hidden indent or section is ended by its own outdent or endSection
  // (which also drops the indents inside it), never by taking the visible level away.
  RecordingStream t(21);
  EXPECT_EQ("  -> x\n  -> y\n  -> z\n-> w\n", t.run({"i", "i", "o", "px\n", "bA\n", "i", "o", "o",
                                                     "i", "py\n", "ea\n", "pz\n", "o", "pw\n"}));
  RecordingStream u(23);
  for (int i = 0; i < 1000; ++i) u.indent();
  for (int i = 0; i < 999; ++i) u.outdent();
  EXPECT_EQ("  -> x\n-> y\n", u.run({"px\n", "o", "py\n"}));
  RecordingStream v(21);  // resetIndent forgets hidden levels too
  EXPECT_EQ("+> A\n+> C\n+> c\n", v.run({"bA\n", "bB\n", "r", "bC\n", "ec\n"}));
}

}  // namespace
