// Compiling RegExpr patterns: refusals and their codes, errors recorded for match time,
// the message table and the shape of the compiled record.
#include "lib/RegExpr.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct CompileCase {
  const char* pattern;
  int result;  // compileRegExpr's return
  int error;   // error field afterwards
};

const CompileCase kCompileCases[] = {
    {"", 1, 0},
    {"{a|b}c(d)", 1, 0},
    {"/{/}/(/)/|", 1, 0},
    {"(a)/:(b)", 1, 0},  // escaped text
    // empty alternatives and groups
    {"|a", 2, 3},
    {"a||b", 2, 3},
    {"{}", 2, 3},
    {"{a|}", 2, 3},
    {"(a|)", 2, 3},
    {"}", 2, 3},
    // unbalanced, unclosed, structure inside a save group
    {"a}", 2, 4},
    {"a)", 2, 5},
    {"{{a}", 2, 8},
    {"(a", 2, 9},
    {"(a{b})", 2, 2},
    {"(a(b))", 2, 2},
    // names
    {"(a):b", 2, 6},
    {"(a):(1x)", 2, 7},
    {"(a):()", 2, 7},
    {"(a):(ab", 2, 10},
    {"(a):(_x9)", 1, 0},
    // back-references: the check sees the parentheses of "%(name)" as a save group
    {"%(ab", 2, 9},
    {"(a%(n))", 2, 2},
    {"a%0b%12", 1, 0},
    {"(a):(n)%(n)", 1, 0},
    // errors of the build: recorded while compile succeeds
    {"%x", 1, 10},
    {"a%", 1, 10},
    {"{a}@x", 1, 13},
    {"{a}@!x", 1, 13},
    {"(a)@+", 1, 11},
    {"{a}@i2,x", 1, 11},
    {"{a}@e2;3", 1, 12},
    {"{a}@i4,2", 1, 14},
    {"{a}@e3,3", 1, 0},
    // element suffixes and classes are only read when a match reaches them
    {"a@x", 1, 0},
    {"[-a]", 1, 0},
    {"[a|b]", 1, 0},
    {"a/", 1, 0},
};

TEST(RegExprCompile, ResultAndErrorCodes) {
  for (const CompileCase& c : kCompileCases) {
    RegExpr re;
    EXPECT_EQ(compileRegExpr(re, c.pattern), c.result) << c.pattern;
    EXPECT_EQ(re.error, c.error) << c.pattern;
    freeRegExpr(re);
  }
}

TEST(RegExprCompile, MessagesAreExact) {
  RegExpr re;
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {0, "No error detected :)"},
      {12, "',' not found in repeat expr - syntaxe : \"...@In1,n2\" or \"...@En1,n2\""},
      {15, "The regexpr is terminated by a : '/'"},
      {18, ""},
      {-1, ""},  // outside the table
  };
  for (const auto& c : cases) {
    re.error = c.code;
    EXPECT_STREQ(getRegExprError(re), c.text) << c.code;
  }
}

TEST(RegExprCompile, AnchorAndDollarFlags) {
  RegExpr re;
  compileRegExpr(re, "^ab$");
  EXPECT_TRUE(re.anchored && re.endsWithDollar);
  compileRegExpr(re, "a^b$c");
  EXPECT_FALSE(re.anchored || re.endsWithDollar);
  freeRegExpr(re);
}

// The syntax check sizes the arrays, and the builder must fit into them.
TEST(RegExprCompile, CountsIncludeBackReferenceParentheses) {
  RegExpr re;
  ASSERT_EQ(compileRegExpr(re, "{a|b}(c):(x)(d)%(x)"), 1);
  // start + { | } + two ( ) pairs + the pair of "%(x)", which the builder does not use
  EXPECT_EQ(re.nodeCount, 1 + 3 + 4 + 2);
  EXPECT_EQ(re.nextNode, 1 + 3 + 4);
  EXPECT_EQ(re.saveCount, 2);
  EXPECT_EQ(re.nextSave, 1);
  EXPECT_EQ(std::string(re.namedSaves[0].nameStart, re.namedSaves[0].nameEnd), "x");
  freeRegExpr(re);
  EXPECT_EQ(re.nodes, nullptr);
  EXPECT_EQ(re.saves, nullptr);
}

TEST(RegExprCompile, GroupRepeatSuffixes) {
  const struct {
    const char* pattern;
    int notFlag, min, max;
  } cases[] = {
      {"{a}*", 0, 0, -1},
      {"{a}?", 0, 0, 1},
      {"{a}@3", 0, 3, 3},
      {"{a}@+3", 0, 0, 3},
      {"{a}@-3", 0, 3, -1},
      {"{a}@i2,4", 0, 2, 4},
      {"{a}@e2,4", 0, 3, 3},
      {"{a}@!3", 1, 3, 3},
      {"{a}@!+3", 0, 4, -1},
      {"{a}@!-3", 0, 0, 2},
      {"{a}@!e2,4", 1, 3, 3},
      {"(a):(n)@2", 0, 2, 2},
      // Huge counts stop at INT_MAX instead of wrapping to "unbounded".
      {"{a}@99999999999", 0, INT_MAX, INT_MAX},
      {"{a}@-99999999999", 0, INT_MAX, -1},
      {"{a}@!+99999999999", 0, INT_MAX, -1},
      // Ranges that allow nothing keep max below min, never at -1.
      {"{a}@e0,0", 0, 1, 0},
      {"{a}@!-0", 0, 1, 0},
  };
  for (const auto& c : cases) {
    RegExpr re;
    ASSERT_EQ(compileRegExpr(re, c.pattern), 1) << c.pattern;
    ASSERT_EQ(re.error, 0) << c.pattern;
    const RegExprNode& g = re.nodes[1];
    EXPECT_EQ(g.notFlag, c.notFlag) << c.pattern;
    EXPECT_EQ(g.min, c.min) << c.pattern;
    EXPECT_EQ(g.max, c.max) << c.pattern;
    freeRegExpr(re);
  }
}

TEST(RegExprCompile, RecompileReleasesAndResets) {
  RegExpr re;
  ASSERT_EQ(compileRegExpr(re, "(a)(b)"), 1);
  ASSERT_EQ(compileRegExpr(re, "{a"), 2);
  EXPECT_EQ(re.nodes, nullptr);
  EXPECT_EQ(matchRegExpr(re, "a"), 2);  // a refused pattern reports its error
  ASSERT_EQ(compileRegExpr(re, "a"), 1);
  EXPECT_EQ(re.error, 0);
  EXPECT_EQ(re.saveCount, 0);
  freeRegExpr(re);
  freeRegExpr(re);  // a second free is harmless
}

TEST(RegExprCompile, NamedBackReferenceBeforeNameNeverOverrunsArrays) {
  // The check takes "(a):(b)" of "%(a):(b)" for a named save, the builder for a
  // back-reference and an unnamed group; the mismatch is an error, not an overrun.
  RegExpr re;
  EXPECT_EQ(compileRegExpr(re, "%(a):(b)"), 1);
  EXPECT_NE(re.error, 0);
  EXPECT_EQ(matchRegExpr(re, "x"), 2);
  EXPECT_EQ(compileRegExpr(re, "%(a/))"), 1);
  EXPECT_EQ(re.error, 10);
  freeRegExpr(re);
}

}  // namespace
