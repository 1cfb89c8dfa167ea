#include "lib/String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <string>

namespace {

using Edit = std::function<void(String&)>;

TEST(StringTest, EditsGiveExpectedText) {
  const struct {
    const char* initial;
    Edit edit;
    const char* expected;
  } cases[] = {
      {nullptr, [](String& s) { s.insert(3, "x"); }, "x"},  // a string without buffer
      {"aabb", [](String& s) { s.removeAll("ab"); }, ""},   // removal rejoins an occurrence
      {"aa", [](String& s) { s.replaceAll("a", "aa"); }, "aaaa"},
      {"xax", [](String& s) { s.replaceAll("x", ""); }, "xax"},
      {"hello", [](String& s) { s.erase(2, 100); }, "he"},
      {"hello", [](String& s) { s.erase(1, -1); }, "h"},
      {"hello", [](String& s) { s.erase(1, -2); }, "hello"},
      {" a \t\r\n", [](String& s) { s.trim(0); }, " a"},
      {" a \t\r\n", [](String& s) { s.trim(1); }, "a \t\r\n"},
      {"ab", [](String& s) { s.insert(99, "x"); }, "abx"},
      {"ab", [](String& s) { s.insert(-1, "x"); }, "ab"},
      {",,a,,,b,c,,", [](String& s) { s.collapse(','); }, ",a,b,c,"},
      {"ab", [](String& s) { s.append("cdef", 2); }, "abcd"},
      {"ab", [](String& s) { s.append("cd", -1); }, "ab"},
      {"old", [](String& s) { s.assign((const char*)nullptr); }, ""},
      {"hello", [](String& s) { s = s.mid(1, -1); }, "ello"},
      {"hello", [](String& s) { s = s.mid(3, 50); }, "lo"},
      {"hello", [](String& s) { s = s.mid(1, -2); }, ""},
      {"b a", [](String& s) { s.sortWords(' '); }, "a b "},  // grows for the last separator
      {"zeta,,Beta,alpha,be", [](String& s) { s.sortWords(','); }, "alpha,be,Beta,zeta,"},
      // Sources inside the own buffer are read as they were before the edit. The strings
      // start at exact capacity, so growing reallocates under the source.
      {"abc", [](String& s) { s.append(s); }, "abcabc"},
      {"abc", [](String& s) { s.append(s.text() + 1, 2); }, "abcbc"},
      {"abc", [](String& s) { s.insert(1, s.text()); }, "aabcbc"},
      {"abcdef", [](String& s) { s.assign(s.text() + 2); }, "cdef"},
      {"abc", [](String& s) { s.assign(s); }, "abc"},
      {"ab", [](String& s) { s.replaceAll(s.text() + 1, s.text()); }, "aab"},
      {"xyz", [](String& s) { s.replaceAt(0, 1, s.text() + 1); }, "yzyz"},
      {"abab", [](String& s) { s.removeAll(s.text() + 2); }, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    String s(cases[i].initial);
    cases[i].edit(s);
    EXPECT_STREQ(cases[i].expected, s.text()) << "case " << i;
  }
}

TEST(StringTest, GrowAddsWholeSteps) {
  const struct {
    int reserved, n, capacity;
  } cases[] = {{0, 1, 256}, {0, 256, 512}, {256, 257, 512}, {256, 256, 256}, {10, 300, 522}};
  for (const auto& c : cases) {
    String s;
    s.reserve(c.reserved);
    s.grow(c.n);
    EXPECT_EQ(c.capacity, s.capacity()) << c.reserved << " " << c.n;
  }
}

TEST(StringTest, CopiesAndReserve) {
  String big;
  big.reserve(100);
  big.assign("hi");
  String copy(big);
  EXPECT_EQ(100, copy.capacity());
  String other("other");
  other = big;
  big.assign("changed");
  EXPECT_STREQ("hi", copy.text());
  EXPECT_STREQ("hi", other.text());
  big.reserve(-5);
  EXPECT_EQ(nullptr, big.buffer());
}

TEST(StringTest, FormatNeverGrows) {
  String none;
  none.format("%d", 42);
  EXPECT_EQ(nullptr, none.buffer());
  String s;
  s.reserve(8);
  s.format("%s", "0123456789");
  EXPECT_STREQ("0123456", s.text());
  s.format("x%s", s.text());  // reads its own text as it was
  EXPECT_STREQ("x012345", s.text());

  std::string longText(5000, 'x');
  const char* out = formatStatic("%s", longText.c_str());
  EXPECT_EQ(4095u, std::strlen(out));
}

TEST(StringTest, AppendStopsAtNulAndZeroFills) {
  String s;
  s.reserve(16);
  std::memset(s.buffer(), 'Q', 15);
  s.buffer()[15] = '\0';
  s.assign("ab");
  const char source[] = {'c', '\0', 'z', 'z'};
  s.append(source, 4);
  EXPECT_STREQ("abc", s.text());
  for (int i = 3; i <= 6; ++i) EXPECT_EQ('\0', s.buffer()[i]) << i;
  EXPECT_EQ('Q', s.buffer()[7]);
}

TEST(StringTest, UnescapeTable) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"a\\x41b", "aAb"},
               {"\\x4142", "B"},
               {"\\x4a", "\004a"},
               {"a\\x100b", "ab"},
               {"\\xz", "z"},
               {"\\q", "q"},
               {"\\\\n", "\\n"},
               {"end\\", "end"},
               {"\\X7e", "\007e"},
               {"\\x5C\\x5Cn", "\\\\n"},
               {"\\\"\\'\\a\\v", "\"'\a\v"}};
  for (const auto& c : cases) {
    String s(c.in);
    s.unescape();
    EXPECT_STREQ(c.out, s.text()) << c.in;
  }
}

TEST(StringTest, QueriesRespectBounds) {
  String s("hello world");
  EXPECT_EQ(7, s.find('o', 5));
  EXPECT_EQ(-1, s.find('o', 11));
  EXPECT_EQ(-1, s.find('o', -1));
  EXPECT_EQ(-1, s.find("wor", 7));
  EXPECT_TRUE(s.startsWith("help", 3));
  EXPECT_FALSE(s.startsWith("Hello", -1));
  EXPECT_FALSE(s.startsWith("hello world!", 100));
  EXPECT_FALSE(String().startsWith("", 0));
  EXPECT_FALSE(String("caf\xe9").isAlnum());  // whatever the locale
}

// Records which primitive the composite operations reach through the virtual table.
class TracingString : public String {
 public:
  using String::append;
  using String::assign;
  explicit TracingString(const char* s) : String(s) {}
  String& assign(const char* b, int n) override { return note("assign"), String::assign(b, n); }
  String& append(const char* b, int n) override { return note("append"), String::append(b, n); }
  String& erase(int p, int n) override { return note("erase"), String::erase(p, n); }
  String& insert(int p, const char* t) override { return note("insert"), String::insert(p, t); }
  String& replaceAt(int p, int n, const char* t) override {
    return note("replaceAt"), String::replaceAt(p, n, t);
  }
  String& collapse(char ch) override { return note("collapse"), String::collapse(ch); }
  std::string trace;

 private:
  void note(const char* name) { trace += std::string(name) + ";"; }
};

TEST(StringTest, CompositesCallOverriddenPrimitives) {
  using TracedEdit = std::function<void(TracingString&)>;
  const struct {
    const char* initial;
    TracedEdit edit;
    const char* reached;
  } cases[] = {
      {"x", [](TracingString& s) { s.append("yz"); }, "append;"},
      {"x", [](TracingString& s) { s.assign("yz"); }, "assign;"},
      {"abab", [](TracingString& s) { s.removeAll("b"); }, "erase;"},
      {"abab", [](TracingString& s) { s.replaceAll("a", "c"); }, "replaceAt;erase;insert;"},
      {"b a", [](TracingString& s) { s.sortWords(' '); }, "collapse;"},
  };
  for (const auto& c : cases) {
    TracingString s(c.initial);
    c.edit(s);
    EXPECT_NE(std::string::npos, s.trace.find(c.reached)) << c.initial << ": " << s.trace;
  }
}

}  // namespace
