#include <gtest/gtest.h>

#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/tests/FakeHost.h"

TEST(FakeHostTest, RecordsWhatTheSessionSends) {
  FakeHost host;
  NevChatSession session("alice");
  session.sendData("who %s\n", "all");
  session.writeClientInt("NevChat In Size", 30);
  EXPECT_EQ(30, session.getClientInt("NevChat In Size", 21));
  EXPECT_EQ(std::vector<std::string>{"who all\n"}, host.sentLines());
}
