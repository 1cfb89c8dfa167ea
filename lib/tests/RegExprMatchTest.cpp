// Matching RegExpr patterns: results, saved spans, errors found while matching, and the
// bounds that keep hostile lines from hanging or overflowing the stack.
#include "lib/RegExpr.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <cstring>
#include <string>

namespace {

const char kUnchecked[] = "<unchecked>";

struct MatchCase {
    const char* pattern;
    const char* text;
    int result;
    const char* save0 = kUnchecked; // nullptr: absent
    const char* save1 = kUnchecked;
};

std::string spanText(const RegExprSave* save) {
    return save ? std::string(save->start, save->end) : std::string("<absent>");
}

void expectSave(const RegExpr& re, int number, const char* expected, const char* context) {
    if (expected == kUnchecked) return;
    EXPECT_EQ(spanText(findRegExprSave(re, number)), expected ? expected : "<absent>")
        << context << " save " << number;
}

const MatchCase kMatchCases[] = {
    // laziness: fewest repetitions first; an empty save reads as absent
    {"a+", "aaa", 1}, {"(a+)", "aaa", 1, "a"}, {"(a+)b", "aaab", 1, "aaa"},
    {"^(.*)(b*)$", "abb", 1, "a", "bb"}, {"(a*)", "aaa", 1, nullptr}, {"^(x)?y", "y", 1, nullptr},
    // alternatives in written order; saves of failed paths are put back
    {"{(ab)|(a)}", "ab", 1, "ab", nullptr}, {"{(a)|(ab)}", "ab", 1, "a", nullptr},
    {"{(a)x|ab}", "ab", 1, nullptr}, {"^(a)?{(b)c|bd}", "abd", 1, "a", nullptr},
    {"^(a|ab)*c", "abc", 1, "ab"}, // a failed repetition gives back the previous start
    // not-flag counts
    {"(x)@!1", "y", 1, nullptr}, {"(x)@!1", "xx", 1}, {"^(x)@!1$", "x", 0},
    {"^(x)@!1$", "xx", 1, "x"}, {"^(ab)@!1$", "", 1}, {"^(ab)@!1$", "abab", 1, "ab"},
    {"^a@!i1,2$", "", 1}, {"^a@!i1,2$", "aa", 0}, {"^a@!i1,2$", "aaa", 1},
    {"^{a}@!i1,2$", "aa", 0}, {"^{a}@!i1,2$", "aaa", 1}, {"^a@!+1$", "a", 0},
    {"^a@!+1$", "aa", 1}, {"^a@!-2$", "aa", 0}, {"^a@!-2$", "a", 1},
    // an excluded zero count is not skipped, for groups as for elements
    {"^(x)@!0$", "", 0}, {"^(x)@!0$", "xx", 1}, {"^x@!0$", "", 0}, {"^{x}@!i0,1$", "x", 0},
    // counted forms; "@e3,3" allows no count, so its negation allows every count
    {"^a@3$", "aaa", 1}, {"^a@3$", "aaaa", 0}, {"^a@+2$", "aaa", 0}, {"^a@-2$", "aaaaa", 1},
    {"^a@i2,3$", "a", 0}, {"^a@i2,3$", "aaa", 1}, {"^a@e1,4$", "a", 0},
    {"^a@e1,4$", "aaa", 1}, {"^a@e1,4$", "aaaa", 0}, {"^a@e3,3", "aaaa", 0},
    {"^{a}@e3,3", "aaaa", 0}, {"^a@!e3,3$", "aaa", 1}, {"^a,b-3", "a,b-3", 1},
    {"^{ab}@2$", "abab", 1}, {"^{a|b}@i2,3$", "bab", 1}, {"^{a|b}@i2,3$", "babb", 0},
    // huge counts stay huge instead of wrapping to "unbounded"
    {"a@99999999999", "aaa", 0}, {"a@-99999999999", "aaa", 0}, {"^a@+99999999999$", "aaa", 1},
    {"^{a}@99999999999", "aaa", 0}, {"^a@e0,0", "a", 0}, {"^a@!-0", "a", 0},
    {"^x/b@99999999999", "x", 1},
    // repetitions that match nothing end their loops
    {"{a?}*b", "c", 0}, {"{a?}*b", "aab", 1}, {"^{x*}*$", "xxxy", 0}, {"^{x*}*$", "xxx", 1},
    {"^/b*a", "a", 1}, {"^(q)?%0*a", "a", 1}, {"^/b@!1x", "x", 1}, {"^{(a?)}*c", "aac", 1},
    {"{{a?}*b|c}", "c", 1}, // the inner group fails instead of exhausting the attempt
    // back-references: case-sensitive; absent or unknown saves match the empty text
    {"(a)%0", "aa", 1, "a"}, {"^(a)%0$", "aA", 0}, {"(a):(n)%(n)", "aa", 1},
    {"^%(n)x", "x", 1}, {"^(a)?%0b", "b", 1}, {"^(a+)-%0*$", "aa-aaaa", 1, "aa"},
    {"^x%99999999999", "x", 1},
    {"^(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)%12$", "abcdefghijklmm", 1},
    {"^(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)%12$", "abcdefghijklma", 0},
    // anchors and attempts; no attempt at all on the empty text without "^"
    {"^b", "a\nb", 1}, {"^b", "ab", 0}, {"b", "ab", 1}, {"", "", 0}, {"a*", "", 0},
    {"", "x", 1}, {"^", "", 1}, {"^$", "", 1}, {"^$", "a", 0},
    {"^$", "a\n", 1}, // an anchored attempt also starts at the end behind a final LF
    {"a$b", "a$b", 1}, {"ab$", "xab", 1}, {"ab$", "abx", 0}, {"^a^b", "a^b", 1},
    // atoms
    {"^/w/W/d/D$", "a-1x", 1}, {"^a/D", "a", 0}, {"^a/W", "a", 0}, {"^a/d", "a", 0},
    {"^a.", "a", 0}, {"^a/b", "a", 1}, {"^a/b", "ab", 0}, {"^a/b b", "a b", 1},
    {"^a/Bb", "ab", 1}, {"^a/B", "a", 0}, {"^a/nb", "a\r\nb", 1}, {"^a/nb", "a\nb", 1},
    {"^a/nb", "a\rb", 0}, {"^/./$//", ".$/", 1}, {"^/{/|/}/(/)$", "{|}()", 1},
    // classes ("/d" inside is the letter; ranges compare signed bytes)
    {"^[abc]+$", "cab", 1}, {"^[a-z]$", "m", 1}, {"^[a-z]$", "M", 0}, {"^[^a-z]$", "M", 1},
    {"^a[^b]", "a", 0}, {"^a[^b]", "ac", 1}, {"^a[b]", "a", 0}, {"^[/d]$", "d", 1},
    {"^[/d]$", "5", 0}, {"^[/]]$", "]", 1}, {"^[a/|b]$", "|", 1}, {"^[a/|b]$", "c", 0},
    {"^a[/n]b$", "a\r\nb", 1}, {"^a[^/n]b$", "a\r\nb", 0}, {"^[!-/-]$", ",", 1},
    {"^[ -~]$", "\xe9", 0}, {"^[\x80-\xff]$", "\xe9", 1}, {"^[]$", "a", 0},
    {"^[a-z-]$", "q", 1}, // the first hit ends the examination
};

TEST(RegExprMatch, Table) {
    for (const MatchCase& c : kMatchCases) {
        std::string context = std::string("'") + c.pattern + "' on '" + c.text + "'";
        RegExpr re;
        ASSERT_EQ(compileRegExpr(re, c.pattern), 1) << context;
        EXPECT_EQ(matchRegExpr(re, c.text), c.result) << context;
        EXPECT_EQ(re.error, 0) << context;
        expectSave(re, 0, c.save0, context.c_str());
        expectSave(re, 1, c.save1, context.c_str());
        freeRegExpr(re);
    }
}

struct ErrorCase {
    const char* pattern;
    const char* text;
    int error;
};

TEST(RegExprMatch, ErrorsFoundWhileMatching) {
    const ErrorCase cases[] = {
        {"a@x", "a", 13},     {"a@i4,2", "a", 14},  {"a@i2", "a", 12},
        {"a@i,2", "a", 11},   {"a/", "a", 15},      {"[ab", "a", 16},
        {"[a|b]", "a", 16},   {"[-a]", "a", 17},    {"[a--z]", "q", 17},
        {"[a-]", "b", 16},    {"[a-z-]", "-", 16},  {"%x", "a", 10},
        {"{a}@x", "a", 13},   {"^b|a/", "a", 15},
    };
    for (const ErrorCase& c : cases) {
        RegExpr re;
        ASSERT_EQ(compileRegExpr(re, c.pattern), 1) << c.pattern;
        EXPECT_EQ(matchRegExpr(re, c.text), 2) << c.pattern;
        EXPECT_EQ(re.error, c.error) << c.pattern;
        freeRegExpr(re);
    }
}

TEST(RegExprMatch, ErrorOnlyWhenReachedThenSticks) {
    RegExpr re;
    ASSERT_EQ(compileRegExpr(re, "x|[-a]"), 1);
    EXPECT_EQ(matchRegExpr(re, "x"), 1); // the class is never reached
    EXPECT_EQ(matchRegExpr(re, "y"), 2);
    EXPECT_EQ(re.error, 17);
    EXPECT_EQ(matchRegExpr(re, "x"), 2);
    EXPECT_STREQ(getRegExprError(re), "'-' found, but not allowed.");
    freeRegExpr(re);
}

TEST(RegExprMatch, NamedSavesByNameAndTable) {
    const char* pattern = "^(a+):(first) (b+):(second)(x)?";
    RegExpr re;
    ASSERT_EQ(compileRegExpr(re, pattern), 1);
    ASSERT_EQ(matchRegExpr(re, "aa bbb"), 1);
    const char* first = "first";
    EXPECT_EQ(spanText(findRegExprSave(re, first, first + 5)), "aa");
    const char* secondPrefix = "sec";
    EXPECT_EQ(findRegExprSave(re, secondPrefix, secondPrefix + 3), nullptr);
    const char* upper = "FIRST";
    EXPECT_EQ(findRegExprSave(re, upper, upper + 5), nullptr); // names are case-sensitive
    ASSERT_EQ(re.namedSaveCount, 2);
    EXPECT_EQ(std::string(re.namedSaves[1].nameStart, re.namedSaves[1].nameEnd), "second");
    EXPECT_EQ(std::string(re.namedSaves[1].start, re.namedSaves[1].end), "b");
    EXPECT_EQ(findRegExprSave(re, 0), nullptr);      // "(x)?" skipped: empty
    EXPECT_EQ(findRegExprSave(re, 1), nullptr);      // beyond the unnamed saves
    EXPECT_EQ(findRegExprSave(re, -1), nullptr);     // negative numbers are refused
    EXPECT_EQ(findRegExprSave(re, nullptr, nullptr), nullptr);
    freeRegExpr(re);
}

TEST(RegExprMatch, SavesStartEmptyOnEveryLineAndAttempt) {
    RegExpr re;
    ASSERT_EQ(compileRegExpr(re, "{(a)|b}"), 1);
    ASSERT_EQ(matchRegExpr(re, "a"), 1);
    EXPECT_EQ(spanText(findRegExprSave(re, 0)), "a");
    ASSERT_EQ(matchRegExpr(re, "b"), 1);
    EXPECT_EQ(findRegExprSave(re, 0), nullptr); // nothing of the earlier line
    EXPECT_EQ(re.saves[0].start, nullptr);

    // A path that filled the save failed, in an earlier attempt or in the matching one:
    // the table read directly shows nothing of it.
    const char* patterns[] = {"{(a):(n)x|b}", "{(a):(n)x|ab}"};
    for (const char* pattern : patterns) {
        ASSERT_EQ(compileRegExpr(re, pattern), 1);
        ASSERT_EQ(matchRegExpr(re, "ab"), 1);
        EXPECT_EQ(re.namedSaves[0].start, nullptr) << pattern;
        EXPECT_EQ(re.namedSaves[0].end, nullptr) << pattern;
    }

    // A back-reference never reads a save of an earlier text.
    ASSERT_EQ(compileRegExpr(re, "{(a)|b}%0c"), 1);
    ASSERT_EQ(matchRegExpr(re, "aac"), 1);
    EXPECT_EQ(matchRegExpr(re, "bac"), 0);
    freeRegExpr(re);
}

struct LongLineRun {
    const char* pattern;
    const std::string* text;
    int result = -1;
};

void* runLongLine(void* arg) {
    LongLineRun* run = static_cast<LongLineRun*>(arg);
    RegExpr re;
    compileRegExpr(re, run->pattern);
    run->result = matchRegExpr(re, run->text->c_str());
    freeRegExpr(re);
    return nullptr;
}

// Runs the match on a thread with a 1 MB stack. Unoptimised and sanitizer builds have
// frames several times larger, so they get more.
int matchOnSmallStack(const char* pattern, const std::string& text) {
    size_t stack = 1 << 20;
#if !defined(__OPTIMIZE__)
    stack *= 2;
#endif
#if defined(__SANITIZE_ADDRESS__)
    stack *= 8;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    stack *= 8;
#endif
#endif
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stack);
    LongLineRun run{pattern, &text};
    pthread_t thread;
    EXPECT_EQ(pthread_create(&thread, &attr, runLongLine, &run), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    return run.result;
}

TEST(RegExprMatch, LongestLineOnSmallStack) {
    const std::string words(65533, 'w');
    // A group repeated once per character needs more depth than allowed: the attempt
    // fails instead of overflowing the stack.
    EXPECT_EQ(matchOnSmallStack("^{/w|/d}*$", words), 0);
    EXPECT_EQ(matchOnSmallStack("^{{/w|/d}+/b}*$", words), 0);
    // A few thousand repetitions are still within bounds.
    EXPECT_EQ(matchOnSmallStack("^{/w|/d}*$", std::string(2000, 'w')), 1);
    // Repeated elements loop without recursing, so ordinary patterns still match.
    std::string line = "<" + std::string(100, 'n') + "> " + std::string(65400, 't');
    EXPECT_EQ(matchOnSmallStack("^<(.*)> (.*)$", line), 1);
    EXPECT_EQ(matchOnSmallStack("^<(/w+)> {/w|/d}@i1,3000", line), 1);
    EXPECT_EQ(matchOnSmallStack("t$", line), 1);
}

TEST(RegExprMatch, HostileBacktrackingIsBounded) {
    std::string as(40, 'a');
    const char* patterns[] = {"^{a*}*b", "^{{a|aa}*}*c", "{a|a}*{a|a}*{a|a}*b"};
    for (const char* pattern : patterns) {
        RegExpr re;
        ASSERT_EQ(compileRegExpr(re, pattern), 1);
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(matchRegExpr(re, as.c_str()), 0) << pattern;
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 10.0) << pattern;
        freeRegExpr(re);
    }
}

TEST(RegExprMatch, NullAndFreedRecords) {
    RegExpr re;
    EXPECT_EQ(matchRegExpr(re, "a"), 0); // never compiled
    ASSERT_EQ(compileRegExpr(re, "a"), 1);
    EXPECT_EQ(matchRegExpr(re, nullptr), 0);
    freeRegExpr(re);
    EXPECT_EQ(matchRegExpr(re, "a"), 0);
    EXPECT_EQ(findRegExprSave(re, 0), nullptr);
    ASSERT_EQ(compileRegExpr(re, "{a"), 2);
    EXPECT_EQ(matchRegExpr(re, "a"), 2);
    freeRegExpr(re);
}

} // namespace
