#include <gtest/gtest.h>

#include <random>
#include <string>

#include "plugins/NvtFilter/NvtFilterSession.h"

namespace {

struct Case {
  const char* in;
  const char* out;
};

TEST(NvtFilterTest, ReceivedBytesFollowTheTable) {
  const Case cases[] = {
      {"\xFF\xFF" "A", "\xFF" "A"},
      {"\xFF\xFF\xFF\xFF", "\xFF\xFF"},
      {"\xFF\xFF\xFF", "\xFF\xFF"},
      {"\xFF\xFB\x01login:", "login:"},
      {"\xFF\xFB\xFF\xFB\x01\x01", ""},
      {"a\xFF\xFC\x01" "b\xFF\xFB\x01" "c", "abc"},
      {"\xFF\xFC\xFF\xFB\x01\x01", ""},
      // WILL goes first: a WONT that a WILL removal uncovers is removed after.
      {"\xFF\xFC\xFF\xFB\x01\x01x", "x"},
      {"\xFF\xFB\xFF\xFC\x01\x01", "\xFF\xFB\x01"},
      // A data byte 255 that arrives doubled before 251 1 goes too.
      {"\xFF\xFF\xFB\x01", ""},
      {"\xFF\xFD\x01", "\xFF\xFD\x01"},
      {"\xFF\xFB\x02", "\xFF\xFB\x02"},
      {"plain text\n", "plain text\n"},
      {"", ""},
  };
  NvtFilterSession session("alpha");
  for (const Case& c : cases) EXPECT_EQ(std::string(c.out), session.onReceivedData(c.in)) << c.in;
  EXPECT_STREQ("", session.onReceivedData(nullptr));
}

TEST(NvtFilterTest, SentBytesHaveEveryIacDoubled) {
  NvtFilterSession session("alpha");
  EXPECT_STREQ("a\xFF\xFF" "b", session.onDataToSend("a\xFF" "b"));
  EXPECT_STREQ("\xFF\xFF\xFF\xFF\n", session.onDataToSend("\xFF\xFF\n"));
  EXPECT_STREQ("hello\n", session.onDataToSend("hello\n"));
  EXPECT_STREQ("", session.onDataToSend(nullptr));
  // What is sent doubled comes back as it was.
  EXPECT_STREQ("x\xFF\xFBy", session.onReceivedData(session.onDataToSend("x\xFF\xFBy")));
}

// Each chunk is filtered on its own: a command or a doubled byte cut in two by the connection
// passes through. Only a cut inside one of them changes the result.
TEST(NvtFilterTest, ChunkSplitAtEveryPosition) {
  const std::string text = "a\xFF\xFB\x01" "b\xFF\xFF" "c";
  NvtFilterSession session("alpha");
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    std::string joined = session.onReceivedData(text.substr(0, cut).c_str());
    joined += session.onReceivedData(text.substr(cut).c_str());
    bool insideCommand = cut >= 2 && cut <= 3;
    bool insidePair = cut == 6;
    if (insideCommand)
      EXPECT_EQ("a\xFF\xFB\x01" "b\xFF" "c", joined) << cut;
    else if (insidePair)
      EXPECT_EQ("ab\xFF\xFF" "c", joined) << cut;
    else
      EXPECT_EQ("ab\xFF" "c", joined) << cut;
  }
}

// The steps done literally: search from the start, remove, search again.
std::string literalSteps(std::string text) {
  for (size_t at = text.find("\xFF\xFF"), from = 0; at != std::string::npos;
       from = at + 1, at = text.find("\xFF\xFF", from))
    text.erase(at, 1);
  for (const char* command : {"\xFF\xFB\x01", "\xFF\xFC\x01"})
    for (size_t at = text.find(command); at != std::string::npos; at = text.find(command))
      text.erase(at, 3);
  return text;
}

TEST(NvtFilterTest, OnePassGivesWhatTheLiteralStepsGive) {
  const char alphabet[] = {'\xFF', '\xFB', '\xFC', '\x01', 'a'};
  std::mt19937 random(13);
  NvtFilterSession session("alpha");
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 14, 'a');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    ASSERT_EQ(literalSteps(text), session.onReceivedData(text.c_str())) << round;
  }
}

TEST(NvtFilterTest, LongNestedNegotiationIsRemovedInOnePass) {
  const int depth = 100000;
  std::string text;
  for (int i = 0; i < depth; ++i) text += "\xFF\xFB";
  text += std::string(depth, '\x01');
  NvtFilterSession session("alpha");
  EXPECT_STREQ("", session.onReceivedData(text.c_str()));
}

}  // namespace
