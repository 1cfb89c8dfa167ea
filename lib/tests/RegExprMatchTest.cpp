// Matching RegExpr patterns: results, saved spans, errors found while matching, and the
// bounds that keep hostile lines from hanging or overflowing the stack.
#include "lib/RegExpr.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <functional>
#include <string>

namespace {

struct MatchCase {
  const char* pattern;
  const char* text;
  int result;                   // 0, 1, or minus the error code when the match reports 2
  const char* saves = nullptr;  // the unnamed saves, "-" for an absent one; null: unchecked
};

std::string spanText(const RegExprSave* save) {
  return save ? std::string(save->start, save->end) : std::string("-");
}

std::string savesText(const RegExpr& re) {
  std::string out;
  for (int i = 0; i < re.saveCount; ++i) out += (i ? "," : "") + spanText(findRegExprSave(re, i));
  return out;
}

const MatchCase kMatchCases[] = {
    // laziness: fewest repetitions first; alternatives in written order; an empty save and
    // the saves of failed paths read as absent
    {"(a+)", "aaa", 1, "a"},
    {"^(.*)(b*)$", "abb", 1, "a,bb"},
    {"(a*)", "aaa", 1, "-"},
    {"^(x)?y", "y", 1, "-"},
    {"{(a)|(ab)}", "ab", 1, "a,-"},
    {"{(a)x|ab}", "ab", 1, "-"},
    {"^(a|ab)*c", "abc", 1, "ab"},  // a failed repetition gives back the previous start
    // not-flag counts; an excluded zero count is not skipped, for groups as for elements
    {"^(x)@!1$", "x", 0},
    {"^(x)@!1$", "xx", 1, "x"},
    {"^a@!i1,2$", "aaa", 1},
    {"^{a}@!i1,2$", "aa", 0},
    {"^(x)@!0$", "", 0},
    {"^x@!0$", "", 0},
    {"^{x}@!i0,1$", "x", 0},
    // counted forms; "@e3,3" allows no count, so its negation allows every count
    {"^{ab}@2$", "abab", 1},
    {"^{a|b}@i2,3$", "babb", 0},
    {"^a@e1,4$", "aaaa", 0},
    {"^a@e3,3", "aaaa", 0},
    {"^{a}@e3,3", "aaaa", 0},
    {"^a@!e3,3$", "aaa", 1},
    // huge counts stay huge instead of wrapping to "unbounded"; empty ranges stay empty
    {"a@99999999999", "aaa", 0},
    {"a@-99999999999", "aaa", 0},
    {"^a@+99999999999$", "aaa", 1},
    {"^{a}@99999999999", "aaa", 0},
    {"^a@e0,0", "a", 0},
    {"^a@!-0", "a", 0},
    // repetitions that match nothing end their loops instead of exhausting the attempt
    {"^x/b@99999999999", "x", 1},
    {"^{x*}*$", "xxx", 1},
    {"^/b*a", "a", 1},
    {"^(q)?%0*a", "a", 1},
    {"^/b@!1x", "x", 1},
    {"{{a?}*b|c}", "c", 1},
    // back-references: case-sensitive; absent or unknown saves match the empty text
    {"^(a)%0$", "aA", 0},
    {"^(a):(n)%(n)$", "aa", 1},
    {"^(a+)-%0*$", "aa-aaaa", 1, "aa"},
    {"^%(n)x", "x", 1},
    {"^x%99999999999", "x", 1},
    {"^(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)%12$", "abcdefghijklmm", 1},
    // anchors and attempts; no attempt at all on the empty text without "^"
    {"^b", "a\nb", 1},
    {"^b", "ab", 0},
    {"", "", 0},
    {"^", "", 1},
    {"^$", "a", 0},
    {"ab$", "abx", 0},
    {"a$b", "a$b", 1},
    {"^a^b", "a^b", 1},
    {"^$", "a\n", 1},  // an anchored attempt also starts at the end behind a final LF
    // atoms
    {"^/w/W/d/D$", "a-1x", 1},
    {"^a/D", "a", 0},
    {"^a/b", "a", 1},
    {"^a/b b", "a b", 1},
    {"^a/Bb", "ab", 1},
    {"^a/B", "a", 0},
    {"^a/nb", "a\r\nb", 1},
    {"^a/nb", "a\rb", 0},
    {"^/./$//", ".$/", 1},
    {"^/{/|/}/(/)$", "{|}()", 1},
    // classes ("/d" inside is the letter; ranges compare signed bytes)
    {"^[a-z]$", "M", 0},
    {"^[^a-z]$", "M", 1},
    {"^a[^b]", "a", 0},
    {"^[/d]$", "5", 0},
    {"^[/]]$", "]", 1},
    {"^[a/|b]$", "|", 1},
    {"^a[/n]b$", "a\r\nb", 1},
    {"^[]$", "a", 0},
    {"^a[^/n]b$", "a\r\nb", 0},
    {"^[!-/-]$", ",", 1},
    {"^[ -~]$", "\xe9", 0},
    {"^[\x80-\xff]$", "\xe9", 1},
    {"^[a-z-]$", "q", 1},  // the first hit ends the examination
    // errors met only when the matcher reads the element
    {"a@i,2", "a", -11},
    {"a@i2", "a", -12},
    {"a@x", "a", -13},
    {"a@i4,2", "a", -14},
    {"^b|a/", "a", -15},
    {"[a|b]", "a", -16},
    {"[a-]", "b", -16},
    {"[a-z-]", "-", -16},
    {"[-a]", "a", -17},
    {"[a--z]", "q", -17},
};

TEST(RegExprMatch, Table) {
  for (const MatchCase& c : kMatchCases) {
    SCOPED_TRACE(std::string(c.pattern) + " on " + c.text);
    RegExpr re;
    ASSERT_EQ(compileRegExpr(re, c.pattern), 1);
    EXPECT_EQ(matchRegExpr(re, c.text), c.result < 0 ? 2 : c.result);
    EXPECT_EQ(re.error, c.result < 0 ? -c.result : 0);
    if (c.saves) {
      EXPECT_EQ(savesText(re), c.saves);
    }
    freeRegExpr(re);
  }
}

TEST(RegExprMatch, ErrorOnlyWhenReachedThenSticks) {
  RegExpr re;
  ASSERT_EQ(compileRegExpr(re, "x|[-a]"), 1);
  EXPECT_EQ(matchRegExpr(re, "x"), 1);  // the class is never reached
  EXPECT_EQ(matchRegExpr(re, "y"), 2);
  EXPECT_EQ(matchRegExpr(re, "x"), 2);
  EXPECT_EQ(re.error, 17);
  freeRegExpr(re);
}

TEST(RegExprMatch, FindingSaves) {
  RegExpr re;
  EXPECT_EQ(matchRegExpr(re, "a"), 0);  // never compiled
  ASSERT_EQ(compileRegExpr(re, "^(a+):(first) (b+):(second)(x)?"), 1);
  ASSERT_EQ(matchRegExpr(re, "aa bbb"), 1);
  EXPECT_EQ(matchRegExpr(re, nullptr), 0);
  const char* names = "first sec FIRST second";
  EXPECT_EQ(spanText(findRegExprSave(re, names, names + 5)), "aa");
  EXPECT_EQ(findRegExprSave(re, names + 6, names + 9), nullptr);    // a prefix is no name
  EXPECT_EQ(findRegExprSave(re, names + 10, names + 15), nullptr);  // names are case-sensitive
  EXPECT_EQ(findRegExprSave(re, 0), nullptr);                       // "(x)?" skipped: empty
  EXPECT_EQ(findRegExprSave(re, 1), nullptr);                       // beyond the unnamed saves
  EXPECT_EQ(findRegExprSave(re, -1), nullptr);                      // negative numbers are refused
  freeRegExpr(re);
  EXPECT_EQ(matchRegExpr(re, "a"), 0);
  EXPECT_EQ(findRegExprSave(re, 0), nullptr);
}

TEST(RegExprMatch, SavesStartEmptyOnEveryLineAndAttempt) {
  RegExpr re;
  // A path that filled the save failed, in an earlier attempt or in the matching one:
  // the table read directly shows nothing of it.
  for (const char* pattern : {"{(a):(n)x|b}", "{(a):(n)x|ab}"}) {
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
  int result = -1;
  std::function<void()> job = [&] {
    RegExpr re;
    compileRegExpr(re, pattern);
    result = matchRegExpr(re, text.c_str());
    freeRegExpr(re);
  };
  auto run = [](void* f) -> void* {
    (*static_cast<std::function<void()>*>(f))();
    return nullptr;
  };
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, stack);
  pthread_t thread;
  EXPECT_EQ(pthread_create(&thread, &attr, run, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  return result;
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
  for (const char* pattern : {"^{a*}*b", "^{{a|aa}*}*c", "{a|a}*{a|a}*{a|a}*b"}) {
    RegExpr re;
    ASSERT_EQ(compileRegExpr(re, pattern), 1);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(matchRegExpr(re, as.c_str()), 0) << pattern;
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 10.0) << pattern;
    freeRegExpr(re);
  }
}

}  // namespace
