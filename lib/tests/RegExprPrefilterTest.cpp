// The prefilter of a RegExpr only ever rules out texts the full search would not match and
// on which it would report no error; and it does rule out the texts it is meant to.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lib/RegExpr.h"
#include "lib/RegExprPrefilter.h"

namespace {

struct Compiled {
  explicit Compiled(const std::string& text) : pattern(text) {
    compileRegExpr(regExpr, pattern.c_str());
    prefilter.build(regExpr);
  }
  ~Compiled() { freeRegExpr(regExpr); }
  bool mayMatch(const std::string& text) const {
    return prefilter.mayMatch(text.c_str(), text.size());
  }

  std::string pattern;
  RegExpr regExpr;
  RegExprPrefilter prefilter;
};

// Texts that trip prefilters which forget a corner: empty lines, CR LF, later lines,
// alternatives, zero-width atoms, repeated literals.
const char* const Texts[] = {
    "",
    "\n",
    "a\n",
    "\r\nx",
    "x\nMira says\n",
    "b",
    "abbb",
    "abb",
    "ab",
    "bc",
    "zzabczz",
    " foo",
    "foo",
    "Mira tells you: hi\n",
    "<Mira> hi",
    "q",
    "xa-b",
    "\xff\x80",
    "12 users\n",
    "a\r\nb",
    "%(x)",
    "tell",
    "tells you",
};

// Every text the prefilter rules out gets no match and no error from the full search.
void expectOneSided(const Compiled& c, const std::string& text) {
  if (c.prefilter.mayMatch(text.c_str(), text.size())) return;
  RegExpr copy;
  compileRegExpr(copy, c.pattern.c_str());
  EXPECT_EQ(matchRegExpr(copy, text.c_str()), 0) << "pattern " << c.pattern << " text " << text;
  freeRegExpr(copy);
}

TEST(RegExprPrefilterTest, RulesOutOnlyWhatCannotMatch) {
  const char* const patterns[] = {
      "^$",         "$",       "^/n",          "^[/n]x",    "^a|b",   "^{a|b}",       "x{a|b}yz",
      "ab@3",       "ab@i1,3", "^/bfoo",       "^/Bfoo",    "a*bc",   "(abc)?",       "(abc)@0",
      "^Mira",      "^.x",     "^[^ ]+ tells", "^[a-c]+",   "^%1a",   "^(x):(n)%(n)", "ab@!1",
      "^/d+ users", "^[^/n]",  "tell{s|}",     "^ab@e0,0c", "^a@+2b", "^(a)@!-0b",    "^/w",
      "/:",         "^[/]]",
  };
  for (const char* pattern : patterns) {
    Compiled c(pattern);
    for (const char* text : Texts) expectOneSided(c, text);
  }
}

TEST(RegExprPrefilterTest, PatternsWhoseSearchCanFailAreNeverFiltered) {
  // Faults the search meets only when it reads that far: a bad class, a bad range.
  for (const char* pattern : {"[--a]zz", "[a-]zz", "[-a]zz", "[a--]zz", "^[b-]zz", "zz[a-"}) {
    Compiled c(pattern);
    EXPECT_FALSE(c.prefilter.active()) << pattern;
    EXPECT_TRUE(c.mayMatch("q")) << pattern;
  }
}

TEST(RegExprPrefilterTest, ChatPatternsAreFiltered) {
  struct Case {
    const char* pattern;
    const char* literal;
    bool firstBytes;
    const char* ruledOut;
    const char* kept;
  };
  const Case cases[] = {
      {"^([^ ]+):(nick) tells you/: (.*):(text)$", " tells you: ", false, "Mira shouts: tells you",
       "Mira tells you: hi\n"},
      {"^<([^ ]+):(nick)> (.*):(text)$", "> ", true, "Mira> hi", "x\n<Mira> hi"},
      {"^ +([^ ]+):(nick) +(/d+):(idle)/n?$", "", true, "Mira 12\n", "  Mira 12\n"},
      {"^/* ([^ ]+):(nick) ", "* ", true, "*Mira waves", "* Mira waves"},
      {"user{s|es} online", " online", false, "users offline", "2 useres online"},
      {"^a@3xyz", "aaaxyz", true, "aaxyz", "aaaxyz"},
  };
  for (const Case& c : cases) {
    Compiled compiled(c.pattern);
    EXPECT_EQ(std::string(compiled.prefilter.literal(),
                          static_cast<size_t>(compiled.prefilter.literalLength())),
              c.literal)
        << c.pattern;
    EXPECT_EQ(compiled.prefilter.hasFirstBytes(), c.firstBytes) << c.pattern;
    EXPECT_FALSE(compiled.mayMatch(c.ruledOut)) << c.pattern;
    EXPECT_TRUE(compiled.mayMatch(c.kept)) << c.pattern;
    expectOneSided(compiled, c.ruledOut);
  }
}

TEST(RegExprPrefilterTest, LongLiteralsKeepTheirStart) {
  std::string literal(100, 'k');
  Compiled c("^" + literal + "$");
  EXPECT_EQ(c.prefilter.literalLength(), RegExprPrefilter::kMaxLiteral);
  EXPECT_TRUE(c.mayMatch(literal));
  EXPECT_FALSE(c.mayMatch(std::string(RegExprPrefilter::kMaxLiteral - 1, 'k')));
}

// The fuzz seeds hold a length byte, the pattern, then a text; each pattern meets every
// seed's text and the texts above.
TEST(RegExprPrefilterTest, FuzzSeedsAgreeWithTheFullSearch) {
  std::filesystem::path folder =
      std::filesystem::path(__FILE__).parent_path() / "../../fuzz/corpus/RegExpr";
  std::vector<std::string> patterns, texts(std::begin(Texts), std::end(Texts));
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.empty()) continue;
    size_t length = std::min<size_t>(static_cast<unsigned char>(data[0]), data.size() - 1);
    patterns.push_back(std::string(data.c_str() + 1, strnlen(data.c_str() + 1, length)));
    texts.push_back(data.substr(1 + length).c_str());
  }
  ASSERT_GE(patterns.size(), 5u);
  for (const std::string& pattern : patterns) {
    Compiled c(pattern);
    for (const std::string& text : texts) expectOneSided(c, text);
  }
}

}  // namespace
