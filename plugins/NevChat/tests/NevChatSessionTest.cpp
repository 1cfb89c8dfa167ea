#include <gtest/gtest.h>

#include <cstring>

#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

class NevChatSessionTest : public ::testing::Test {
 protected:
  FakeHost host;
  SessionProbe session;
};

TEST_F(NevChatSessionTest, RequestsFromOtherPlugInsAnswerOnlyWhenTheyCan) {
  char answer[8] = "xxxxxxx";
  session.getSettings().login.assign("alexandrina");
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "login", nullptr)) << "before login";
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "senddataok", nullptr));

  NevChatTestAccess::setState(session, 1, 1, 0);
  EXPECT_EQ(7, session.onRequest("NevTell", answer, 8, "LOGIN", nullptr));
  EXPECT_STREQ("alexand", answer) << "cut to the answer's size";
  EXPECT_EQ(1, session.onRequest("NevTell", answer, 8, "senddataok", nullptr));
  EXPECT_EQ(1, answer[0]);
  EXPECT_EQ(1, session.onRequest("NevTell", answer, 8, "islogged", const_cast<char*>("bob")));
  EXPECT_EQ(0, answer[0]);

  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "islogged", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 0, "login", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, -5, "senddataok", nullptr));
  EXPECT_EQ(-1, session.onRequest(nullptr, answer, 8, "login", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", nullptr, 8, "login", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "other", nullptr));

  session.onUserEvent("NevTell", "SYSOUT", const_cast<char*>("hello"));
  session.onUserEvent("NevTell", "other", const_cast<char*>("hello"));
  EXPECT_EQ("vornith/normal <Vornith 2.0> hello\n|", session.allPrints());
}

TEST_F(NevChatSessionTest, SystemEventsReportTheConnection) {
  EventData text{const_cast<char*>("host:4777"), 0, nullptr};
  NevChatTestAccess::setState(session, 1, 1, 3);
  session.onSystemEvent(2, &text);
  EXPECT_FALSE(session.isInputEnabled());
  EXPECT_FALSE(session.isSendDataOk());
  EXPECT_EQ(0, session.getWhoToSwallow());
  EXPECT_EQ("backgrnd", session.background);

  NevChatTestAccess::setState(session, 1, 0, 0);
  session.onSystemEvent(5, &text);
  EXPECT_FALSE(session.isInputEnabled());
  session.getSettings().quitMessage.assign("bye");
  session.onSystemEvent(0, nullptr);
  EXPECT_EQ("quit bye\n", host.sent) << "sent even when not connected";
  EXPECT_EQ(
      "vornith/normal <Vornith 2.0> Connection established : host:4777\n|"
      "vornith/normal <Vornith 2.0> Socket Error : host:4777.\n|",
      session.allPrints());
}

TEST_F(NevChatSessionTest, BackupRecordCarriesTheStateToANewCopy) {
  session.getSettings().login.assign("sixteen_chars_ab");  // fills its field: no terminator
  session.event("topjoin", "<Nev> Topic: news", {{"topic", "news\r\nmore"}});
  NevChatTestAccess::setState(session, 1, 1, 2);
  unsigned char record[304];
  memset(record, 0x55, sizeof record);
  session.backup(record, 303);
  EXPECT_EQ(0x55, record[0]) << "a wrong size writes nothing";
  session.backup(record, 304);
  EXPECT_EQ(0, memcmp(record, "\xCD\xCC\xCC\x3D", 4));

  SessionProbe copy;
  copy.restore(record, 304);
  EXPECT_STREQ("sixteen_chars_ab", copy.getSettings().login.text()) << "read within its field";
  EXPECT_EQ("news", copy.topic);
  EXPECT_TRUE(copy.isInputEnabled());
  EXPECT_TRUE(copy.isSendDataOk());
  EXPECT_EQ(3, copy.getWhoToSwallow()) << "two kept, one asked again";
  EXPECT_EQ("who all\n", host.sent);
  EXPECT_EQ("vornith/vornith - Login   : sixteen_chars_ab\n", copy.prints[3]);
}

TEST_F(NevChatSessionTest, RestoreOfAWrongRecordWarnsAndLetsTheUserType) {
  unsigned char record[304] = {};
  const std::pair<int, const char*> cases[] = {
      {303, "*** Restoration failed : Wrong size ! ***\n\n"},
      {304, "*** Restoration failed : Wrong version ! ***\n\n"},
  };
  for (const auto& c : cases) {
    SessionProbe copy;
    copy.restore(record, c.first);
    EXPECT_TRUE(copy.isInputEnabled());
    ASSERT_EQ(12u, copy.prints.size());
    EXPECT_EQ(std::string("vornith/vornith ") + c.second, copy.prints[0]);
    EXPECT_EQ("vornith/vornith <Vornith>  '/login <your_login_name>'.\n", copy.prints[10]);
  }
}

}  // namespace
