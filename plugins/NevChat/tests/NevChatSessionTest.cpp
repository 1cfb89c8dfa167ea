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
  char bob[] = "bob";
  session.getSettings().login.assign("alexandrina");
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "login", nullptr)) << "before login";
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "senddataok", nullptr));

  NevChatTestAccess::setState(session, 1, 1, 0);
  EXPECT_EQ(7, session.onRequest("NevTell", answer, 8, "LOGIN", nullptr));
  EXPECT_STREQ("alexand", answer) << "cut to the answer's size";
  EXPECT_EQ(1, session.onRequest("NevTell", answer, 8, "senddataok", nullptr));
  EXPECT_EQ(1, answer[0]);
  EXPECT_EQ(1, session.onRequest("NevTell", answer, 8, "islogged", bob));
  EXPECT_EQ(0, answer[0]);

  struct Refused {
    const char* from;
    char* answer;
    int size;
    const char* request;
    void* argument;
  };
  const Refused refused[] = {
      {"NevTell", answer, 8, "islogged", nullptr},    {"NevTell", answer, 0, "login", nullptr},
      {"NevTell", answer, -5, "senddataok", nullptr}, {nullptr, answer, 8, "login", nullptr},
      {"NevTell", nullptr, 8, "login", nullptr},      {"NevTell", answer, 8, nullptr, bob},
      {"NevTell", answer, 8, "other", nullptr},
  };
  for (const Refused& r : refused)
    EXPECT_EQ(-1, session.onRequest(r.from, r.answer, r.size, r.request, r.argument))
        << (r.request ? r.request : "-") << " " << r.size;

  session.onUserEvent("NevTell", "SYSOUT", const_cast<char*>("hello"));
  session.onUserEvent("NevTell", "other", const_cast<char*>("hello"));
  session.onUserEvent("NevTell", "sysout", nullptr);
  EXPECT_EQ("vornith/normal <Vornith 2.0> hello\n|", session.allPrints());
}

TEST_F(NevChatSessionTest, SystemEventsReportTheConnection) {
  EventData text{const_cast<char*>("host:4777"), 0, nullptr};
  NevChatTestAccess::setState(session, 1, 1, 3);
  session.onSystemEvent(2, &text);
  EXPECT_FALSE(session.isInputEnabled());
  EXPECT_FALSE(session.isSendDataOk());
  EXPECT_EQ(0, session.getWhoToSwallow());

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
  unsigned char record[305];
  memset(record, 0x55, sizeof record);
  session.backup(record, 303);
  EXPECT_EQ(0x55, record[0]) << "a wrong size writes nothing";
  session.backup(record, 304);
  EXPECT_EQ(0, memcmp(record, "\xCD\xCC\xCC\x3D", 4));
  EXPECT_EQ(0x55, record[304]) << "nothing written past the record";

  SessionProbe copy;
  copy.restore(record, 304);
  EXPECT_STREQ("sixteen_chars_ab", copy.getSettings().login.text()) << "read within its field";
  EXPECT_EQ("news", copy.topic);
  EXPECT_TRUE(copy.isInputEnabled());
  EXPECT_TRUE(copy.isSendDataOk());
  EXPECT_EQ(3, copy.getWhoToSwallow()) << "two kept, one asked again";
  EXPECT_EQ("who all\n", host.sent);
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
  }
  SessionProbe copy;
  copy.restore(nullptr, 304);
  EXPECT_EQ("vornith/vornith *** Restoration failed : Wrong size ! ***\n\n", copy.prints[0]);
}

}  // namespace
