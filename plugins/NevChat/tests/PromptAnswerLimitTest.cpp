#include <gtest/gtest.h>

#include "plugins/NevChat/PromptAnswerLimit.h"

namespace {

using Verdict = PromptAnswerLimit::Verdict;

// Three answers within a minute; the fourth waits until the oldest is a minute old, also
// across the tick count's wrap.
TEST(PromptAnswerLimitTest, ThreeAnswersWithinAMinute) {
  PromptAnswerLimit limit;
  const DWORD start = 0xFFFFFFFFu - 1000;
  EXPECT_EQ(Verdict::Answer, limit.take(start));
  EXPECT_EQ(Verdict::Answer, limit.take(start + 10));
  EXPECT_EQ(Verdict::Answer, limit.take(start + 20));
  EXPECT_EQ(Verdict::FirstWait, limit.take(start + 30));
  EXPECT_EQ(Verdict::Wait, limit.take(start + 59999));
  EXPECT_EQ(Verdict::Answer, limit.take(start + 60000));
  EXPECT_EQ(Verdict::FirstWait, limit.take(start + 60001)) << "the second is not a minute old";
  limit.reset();
  EXPECT_EQ(Verdict::Answer, limit.take(start + 60002));
}

}  // namespace
