#include <gtest/gtest.h>

#include <string>

#include "plugins/NevStyle/EmoticonPictures.h"
#include "plugins/NevStyle/EmoticonScan.h"

namespace {

// The text as runs: plain characters as they are, each picture as "[id]".
std::string runs(const char* text, bool doubles) {
  std::string out;
  int from = 0;
  for (;;) {
    EmoticonMatch found = nextEmoticon(text, from, doubles);
    if (found.length == 0) break;
    out.append(text + from, found.offset - from);
    out += "[" + std::to_string(found.picture) + "]";
    from = found.offset + found.length;
  }
  return out + (text + from);
}

struct Case {
  const char* text;
  bool doubles;
  const char* expected;
};

TEST(EmoticonScan, EverySignAndItsRules) {
  const Case cases[] = {
      {":)", false, "[101]"},
      {":-)", false, "[101]"},
      {"8) 8| 8-|", false, "[105] [105] [105]"},
      {";) ;-)", false, "[113] [113]"},
      {":( :-(", false, "[111] [111]"},
      {":D :d :-D", false, "[106] [106] [106]"},
      {":O :o", false, "[112] [108]"},
      {":P :p :S :s :[", false, "[110] [110] [107] [107] [109]"},
      {":'( :'-(", false, "[114] [114]"},
      {":-'(", false, ":-'("},  // the '-' only after the quote
      {":--)", false, ":--)"},
      {"word:) x8) 9;)", false, "word:) x8) 9;)"},  // right after a letter or digit: text
      {"hi :),:)", false, "hi [101],[101]"},        // after a sign: both
      {":):)", false, "[101][101]"},
      {":))", false, "[101])"},
      {":))", true, "[106]"},
      {":)=", true, "[110]"},
      {":)=", false, "[101]="},
      {":-))", true, "[106]"},
      {":", false, ":"},
      {":-", false, ":-"},
      {"8", false, "8"},
      {"", false, ""},
      {"a :x b", false, "a :x b"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, runs(c.text, c.doubles)) << c.text;
}

TEST(EmoticonScan, OutOfRangeStartsFindNothing) {
  EXPECT_EQ(0, nextEmoticon(nullptr, 0, true).length);
  EXPECT_EQ(0, nextEmoticon(":)", -1, true).length);
  EXPECT_EQ(0, emoticonAt(nullptr, 0, true).length);
}

TEST(EmoticonPictures, EveryIdIsACompleteBmpAndOthersAreNone) {
  for (int id : kEmoticonIds) {
    std::vector<unsigned char> bmp = emoticonBmp(id);
    ASSERT_EQ(54u + 16 * 16 * 3, bmp.size()) << id;
    EXPECT_EQ('B', bmp[0]);
    EXPECT_EQ('M', bmp[1]);
    EXPECT_EQ(bmp.size(), bmp[2] | (bmp[3] << 8)) << "file size field";
    EXPECT_EQ(54, bmp[10]) << "pixel offset";
    EXPECT_EQ(24, bmp[28]) << "bits a pixel";
  }
  EXPECT_NE(emoticonBmp(101), emoticonBmp(111)) << "each picture drawn on its own";
  EXPECT_TRUE(emoticonBmp(102).empty());
  EXPECT_TRUE(emoticonBmp(100).empty());
}

}  // namespace
