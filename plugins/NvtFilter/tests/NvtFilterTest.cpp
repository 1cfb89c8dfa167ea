#include <gtest/gtest.h>

#include <random>
#include <string>

#include "plugins/NvtFilter/NvtFilterSession.h"

namespace {

TEST(NvtFilterTest, ReceivedBytesFollowTheTable) {
  // The random comparison below covers the rest; these pin the order of the steps and a
  // command that is left alone.
  const char* const cases[][2] = {
      // WILL first: a WONT it uncovers goes after, not the other way round.
      {"\xFF\xFC\xFF\xFB\x01\x01x", "x"},
      {"\xFF\xFB\xFF\xFC\x01\x01", "\xFF\xFB\x01"},
      // A data byte 255 that arrives doubled before 251 1 goes too.
      {"\xFF\xFF\xFB\x01", ""},
      {"\xFF\xFD\x01", "\xFF\xFD\x01"},
  };
  NvtFilterSession session("alpha");
  for (const auto& c : cases) EXPECT_EQ(std::string(c[1]), session.onReceivedData(c[0])) << c[0];
  EXPECT_STREQ("", session.onReceivedData(nullptr));
}

TEST(NvtFilterTest, SentBytesHaveEveryIacDoubled) {
  NvtFilterSession session("alpha");
  EXPECT_STREQ("a\xFF\xFF" "b", session.onDataToSend("a\xFF" "b"));
  EXPECT_STREQ("hello\n", session.onDataToSend("hello\n"));
  EXPECT_STREQ("x\xFF\xFBy", session.onReceivedData(session.onDataToSend("x\xFF\xFBy")));
}

// Each chunk is filtered on its own: only a cut inside a command or a doubled byte lets it
// through.
TEST(NvtFilterTest, ChunkSplitAtEveryPosition) {
  const std::string text = "a\xFF\xFB\x01" "b\xFF\xFF" "c";
  NvtFilterSession session("alpha");
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    std::string joined = session.onReceivedData(text.substr(0, cut).c_str());
    joined += session.onReceivedData(text.substr(cut).c_str());
    const char* expected = cut == 2 || cut == 3 ? "a\xFF\xFB\x01" "b\xFF" "c"
                           : cut == 6           ? "ab\xFF\xFF" "c"
                                                : "ab\xFF" "c";
    EXPECT_EQ(expected, joined) << cut;
  }
}

// The steps done literally: search from the start, remove, search again.
std::string literalSteps(std::string text) {
  for (size_t at = text.find("\xFF\xFF"); at != std::string::npos; at = text.find("\xFF\xFF", at + 1))
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
  std::string nested;  // deep nesting, still one pass
  for (int i = 0; i < 100000; ++i) nested += "\xFF\xFB";
  EXPECT_STREQ("", session.onReceivedData((nested + std::string(100000, '\x01')).c_str()));
}

}  // namespace
