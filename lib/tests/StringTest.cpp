#include "lib/String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct EditCase {
    const char* name;
    const char* initial; // null: a string without buffer
    std::function<void(String&)> edit;
    const char* expected;
};

void expectEdits(const std::vector<EditCase>& cases)
{
    for (const EditCase& c : cases) {
        String s(c.initial);
        c.edit(s);
        EXPECT_STREQ(c.expected, s.text()) << c.name;
    }
}

TEST(StringTest, EditsGiveExpectedText)
{
    const std::vector<EditCase> cases = {
        {"removeAll rejoined", "aabb", [](String& s) { s.removeAll("ab"); }, ""},
        {"replaceAll grows once", "aa", [](String& s) { s.replaceAll("a", "aa"); }, "aaaa"},
        {"replaceAll empty to", "xax", [](String& s) { s.replaceAll("x", ""); }, "xax"},
        {"erase past end cuts", "hello", [](String& s) { s.erase(2, 100); }, "he"},
        {"erase at length", "hello", [](String& s) { s.erase(5, 1); }, "hello"},
        {"erase rest", "hello", [](String& s) { s.erase(1, -1); }, "h"},
        {"erase middle", "hello", [](String& s) { s.erase(1, 3); }, "ho"},
        {"erase bad count", "hello", [](String& s) { s.erase(1, -2); }, "hello"},
        {"trim right", " a \t\r\n", [](String& s) { s.trim(0); }, " a"},
        {"trim left", " a \t\r\n", [](String& s) { s.trim(1); }, "a \t\r\n"},
        {"insert beyond", "ab", [](String& s) { s.insert(99, "x"); }, "abx"},
        {"insert negative", "ab", [](String& s) { s.insert(-1, "x"); }, "ab"},
        {"insert into none", nullptr, [](String& s) { s.insert(3, "x"); }, "x"},
        {"replaceAt", "hello", [](String& s) { s.replaceAt(1, 3, "EY"); }, "hEYo"},
        {"collapse runs", ",,a,,,b,c,,", [](String& s) { s.collapse(','); }, ",a,b,c,"},
        {"replaceChar", "a.b.c", [](String& s) { s.replaceChar('.', '/'); }, "a/b/c"},
        {"append short len", "ab", [](String& s) { s.append("cdef", 2); }, "abcd"},
        {"append negative len", "ab", [](String& s) { s.append("cd", -1); }, "ab"},
        {"append to none", nullptr, [](String& s) { s.append("cd"); }, "cd"},
        {"assign zero len", "old", [](String& s) { s.assign("abc", 0); }, ""},
        {"assign null", "old", [](String& s) { s.assign((const char*)nullptr); }, ""},
        {"mid rest", "hello", [](String& s) { s = s.mid(1, -1); }, "ello"},
        {"mid clipped", "hello", [](String& s) { s = s.mid(3, 50); }, "lo"},
        {"mid zero", "hello", [](String& s) { s = s.mid(1, 0); }, ""},
        {"mid beyond", "hello", [](String& s) { s = s.mid(9, 2); }, ""},
        {"mid bad count", "hello", [](String& s) { s = s.mid(1, -2); }, ""},
        {"sort grows buffer", "b a", [](String& s) { s.sortWords(' '); }, "a b "},
        {"sort no words", "   ", [](String& s) { s.sortWords(' '); }, ""},
        {"sort shorter first", "zeta,,Beta,alpha,be", [](String& s) { s.sortWords(','); },
         "alpha,be,Beta,zeta,"},
    };
    expectEdits(cases);
}

TEST(StringTest, GrowAddsWholeSteps)
{
    struct Case { int reserved, n, capacity; };
    const Case cases[] = {{0, 1, 256}, {0, 256, 512}, {256, 257, 512}, {256, 256, 256},
                          {256, 10, 256}, {10, 300, 522}};
    for (const Case& c : cases) {
        String s;
        s.reserve(c.reserved);
        s.grow(c.n);
        EXPECT_EQ(c.capacity, s.capacity()) << c.reserved << " " << c.n;
        EXPECT_STREQ("", s.text());
    }
}

TEST(StringTest, ConstructorsCopiesAndReserve)
{
    String none;
    EXPECT_EQ(nullptr, none.buffer());
    EXPECT_EQ(nullptr, String((const char*)nullptr).buffer());
    EXPECT_EQ(nullptr, String(none).buffer());
    EXPECT_EQ(4, String("abc").capacity());
    EXPECT_EQ(2, String('x').capacity());

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
    EXPECT_EQ(0, big.capacity());
    EXPECT_EQ(nullptr, big.buffer());
}

TEST(StringTest, FormatNeverGrows)
{
    String none;
    none.format("%d", 42);
    EXPECT_EQ(nullptr, none.buffer());

    String s;
    s.reserve(8);
    s.format("%s", "0123456789");
    EXPECT_STREQ("0123456", s.text());
    EXPECT_EQ(8, s.capacity());
    s.format("x%s", s.text()); // reads its own text as it was
    EXPECT_STREQ("x012345", s.text());

    std::string longText(5000, 'x');
    const char* out = formatStatic("%s", longText.c_str());
    EXPECT_EQ(4095u, std::strlen(out));
    EXPECT_EQ(out, formatStatic("%d", 7));
    EXPECT_STREQ("7", out);
}

TEST(StringTest, AppendStopsAtNulAndZeroFills)
{
    String s;
    s.reserve(16);
    std::memset(s.buffer(), 'Q', 15);
    s.buffer()[15] = '\0';
    s.assign("ab");
    const char source[] = {'c', '\0', 'z', 'z'};
    s.append(source, 4);
    EXPECT_STREQ("abc", s.text());
    for (int i = 3; i <= 6; ++i)
        EXPECT_EQ('\0', s.buffer()[i]) << i;
    EXPECT_EQ('Q', s.buffer()[7]);
}

TEST(StringTest, UnescapeTable)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"a\\x41b", "aAb"},      {"\\x4142", "B"},        {"\\x4a", "\x04" "a"},
        {"\\x00z", "z"},         {"\\xz", "z"},           {"\\q", "q"},
        {"\\\\n", "\\n"},        {"end\\", "end"},        {"\\X7e", "\x07" "e"},
        {"\\\"\\'", "\"'"},      {"\\a\\b\\f", "\a\b\f"}, {"\\n\\r\\t\\v", "\n\r\t\v"},
        {"\\x5C\\x5Cn", "\\\\n"}, {"\\xFF", "\xFF"},      {"plain", "plain"},
        {"a\\x100b", "ab"},
    };
    for (const Case& c : cases) {
        String s(c.in);
        s.unescape();
        EXPECT_STREQ(c.out, s.text()) << c.in;
    }
}

TEST(StringTest, QueriesRespectBounds)
{
    String s("hello world");
    EXPECT_EQ(7, s.find('o', 5));
    EXPECT_EQ(-1, s.find('o', 11));
    EXPECT_EQ(-1, s.find('o', -1));
    EXPECT_EQ(6, s.find("wor", 2));
    EXPECT_EQ(-1, s.find("wor", 7));
    EXPECT_EQ(-1, s.find((const char*)nullptr, 0));

    EXPECT_TRUE(s.startsWith("help", 3));
    EXPECT_FALSE(s.startsWith("help", 4));
    EXPECT_FALSE(s.startsWith("Hello", -1));
    EXPECT_TRUE(s.startsWith("xyz", 0));
    EXPECT_TRUE(s.startsWith("hello world", 100));
    EXPECT_FALSE(s.startsWith("hello world!", 100));
    EXPECT_FALSE(String().startsWith("", 0));

    EXPECT_TRUE(String().isAlnum());
    EXPECT_TRUE(String("abcXYZ019").isAlnum());
    EXPECT_FALSE(String("caf\xe9").isAlnum());
    EXPECT_FALSE(String("a_b").isAlnum());
}

TEST(StringTest, SortWordsFoldsCaseAndEndsWithSeparator)
{
    String s("  pear Apple  apple ap");
    s.sortWords(' ');
    std::string out = s.text();
    EXPECT_TRUE(out == "ap Apple apple pear " || out == "ap apple Apple pear ") << out;
}

// Sources inside the own buffer must be read as they were before the edit. The strings start
// at exact capacity, so growing reallocates under the source.
TEST(StringTest, SourcesInsideOwnBuffer)
{
    const std::vector<EditCase> cases = {
        {"append self", "abc", [](String& s) { s.append(s.text()); }, "abcabc"},
        {"append own string", "abc", [](String& s) { s.append(s); }, "abcabc"},
        {"append own tail", "abc", [](String& s) { s.append(s.text() + 1, 2); }, "abcbc"},
        {"insert self", "abc", [](String& s) { s.insert(1, s.text()); }, "aabcbc"},
        {"assign own tail", "abcdef", [](String& s) { s.assign(s.text() + 2); }, "cdef"},
        {"assign own string", "abc", [](String& s) { s.assign(s); }, "abc"},
        {"replaceAll own texts", "ab", [](String& s) { s.replaceAll(s.text() + 1, s.text()); }, "aab"},
        {"replaceAt own tail", "xyz", [](String& s) { s.replaceAt(0, 1, s.text() + 1); }, "yzyz"},
        {"removeAll own tail", "abab", [](String& s) { s.removeAll(s.text() + 2); }, ""},
    };
    expectEdits(cases);
}

// Records which primitives the composite operations reach through the virtual table.
class TracingString : public String {
public:
    using String::append;
    using String::assign;
    explicit TracingString(const char* s) : String(s) {}
    String& grow(int n) override { return note("grow"), String::grow(n); }
    String& assign(const char* b, int n) override { return note("assign"), String::assign(b, n); }
    String& append(const char* b, int n) override { return note("append"), String::append(b, n); }
    String& insert(int p, const char* t) override { return note("insert"), String::insert(p, t); }
    String& erase(int p, int n) override { return note("erase"), String::erase(p, n); }
    String& replaceAt(int p, int n, const char* t) override
    {
        return note("replaceAt"), String::replaceAt(p, n, t);
    }
    String& collapse(char ch) override { return note("collapse"), String::collapse(ch); }
    bool called(const std::string& name) const { return trace.find(name + ";") != std::string::npos; }
    std::string trace;

private:
    void note(const char* name) { trace += std::string(name) + ";"; }
};

TEST(StringTest, CompositesCallOverriddenPrimitives)
{
    struct Case {
        const char* initial;
        std::function<void(TracingString&)> edit;
        std::vector<const char*> reached;
    };
    const std::vector<Case> cases = {
        {"x", [](TracingString& s) { s.append("yz"); }, {"append", "grow"}},
        {"x", [](TracingString& s) { s.assign("yz"); }, {"assign", "grow"}},
        {"x", [](TracingString& s) { s.assign(String("yz")); }, {"assign"}},
        {"x", [](TracingString& s) { s.append(String("yz")); }, {"grow"}},
        {"x", [](TracingString& s) { s.insert(0, "yz"); }, {"grow"}},
        {"abab", [](TracingString& s) { s.removeAll("b"); }, {"erase"}},
        {"abab", [](TracingString& s) { s.replaceAll("a", "c"); }, {"replaceAt", "erase", "insert"}},
        {"a,,b", [](TracingString& s) { s.collapse(','); }, {"erase"}},
        {"b a", [](TracingString& s) { s.sortWords(' '); }, {"collapse", "append"}},
    };
    for (const Case& c : cases) {
        TracingString s(c.initial);
        c.edit(s);
        for (const char* name : c.reached)
            EXPECT_TRUE(s.called(name)) << c.initial << " did not reach " << name << ": " << s.trace;
    }
}

} // namespace
