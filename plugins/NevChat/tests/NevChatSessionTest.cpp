#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

using NevChatSessionTest = ProbeTest;

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

  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "islogged", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 0, "login", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, -5, "senddataok", nullptr));
  EXPECT_EQ(-1, session.onRequest(nullptr, answer, 8, "login", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", nullptr, 8, "login", nullptr));
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, nullptr, bob));
  EXPECT_EQ(-1, session.onRequest("NevTell", answer, 8, "other", nullptr));

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
  const std::tuple<unsigned char*, int, const char*> cases[] = {
      {record, 303, "Wrong size"}, {nullptr, 304, "Wrong size"}, {record, 304, "Wrong version"}};
  for (const auto& c : cases) {
    SessionProbe copy;
    copy.restore(std::get<0>(c), std::get<1>(c));
    EXPECT_TRUE(copy.isInputEnabled());
    ASSERT_EQ(12u, copy.prints.size());
    EXPECT_EQ(
        std::string("vornith/vornith *** Restoration failed : ") + std::get<2>(c) + " ! ***\n\n",
        copy.prints[0]);
  }
}

// Other clients' requests and acknowledgements, carried in the server's private data.
class NevChatRequestsTest : public ProbeTest {
 protected:
  void privateData(const char* request, const char* data) {
    host.clear();
    session.clear();
    session.event("vdatas", "[data] bob x",
                  {{"nick", "bob"}, {"request", request}, {"data", data}, {"nevtime", "12:00 "}});
  }
};

TEST_F(NevChatRequestsTest, RequestsAreAnsweredByKeywordWithNoticesOnlyWhenAsked) {
  struct Case {
    int sendDataOk, displayVReq;
    const char* data;
    const char* sent;
    const char* notice;  // after the time stamp, "" for none
  };
  const Case cases[] = {
      {1, 0, "ping\n", "senddata bob VACK PONG\n", ""},
      {1, 0, "VERSION\n", "senddata bob VACK VERSION Vornith 2.00\n", ""},
      {1, 0, "AUTOPING\n", "", ""},
      {1, 0, "WHATEVER\n", "", ""},
      {1, 1, "PING\n", "senddata bob VACK PONG\n", "<Vornith> bob pings you !\n"},
      {1, 1, "odd\n", "", "<Vornith> Unknown Request : odd\n"},
      {0, 1, "PING\n", "", "<Vornith> bob asks you informations...\n"},
      {1, 0, "FULLVERSION\n",
       "senddata bob VACK FULLVERSION START Vornith 2.00\n"
       "senddata bob VACK FULLVERSION SUB - Main   plugin NevChat (0.10)\n"
       "senddata bob VACK FULLVERSION SUB - Addins plugin NevTell (0.25)\n"
       "senddata bob VACK FULLVERSION SUB - Unknown plugin : Odd (0.00)\n"
       "senddata bob VACK FULLVERSION END\n",
       ""},
  };
  host.plugsList = "M:NevChat A:NevTell X:Odd";
  host.plugVersions = {{"NevChat", 0.1f}, {"NevTell", 0.25f}};
  for (const Case& c : cases) {
    NevChatTestAccess::setState(session, 1, c.sendDataOk, 0);
    session.getSettings().displayVReq = static_cast<unsigned char>(c.displayVReq);
    privateData("vreq", c.data);
    EXPECT_EQ(c.sent, host.sent) << c.data;
    std::string notice =
        c.notice[0] ? std::string("timestamp/block 12:00 |vornith/normal ") + c.notice + "|" : "";
    EXPECT_EQ(notice, session.allPrints()) << c.data;
  }
}

TEST_F(NevChatRequestsTest, AcknowledgementsAreShownAndShortPayloadsGiveEmptyText) {
  const std::pair<const char*, const char*> cases[] = {
      {"VERSION Vornith 2.00\n", "<Vornith> bob is using Vornith 2.00\n"},
      {"VERSION", "<Vornith> bob is using "},
      {"FULLVERSION START Vornith 2.00\n", "<Vornith> bob is using Vornith 2.00\n"},
      {"FULLVERSION START", "<Vornith> bob is using "},
      {"FULLVERSION SUB - Main   plugin NevChat (0.10)\n",
       "<Vornith> - Main   plugin NevChat (0.10)\n"},
      {"FULLVERSION SUB", "<Vornith> "},
      {"FULLVERSION END\n", "<Vornith> End of informations.\n"},
      {"FULLVERSION", "<Vornith> Error : unknown informations - "},
      {"FULLVERSION ODD\n", "<Vornith> Error : unknown informations - ODD\n"},
      {"HUH\n", "<Vornith> Unknown Ack : HUH\n"},
  };
  for (const auto& c : cases) {
    privateData("VACK", c.first);
    ASSERT_LE(2u, session.prints.size()) << c.first;
    EXPECT_EQ(std::string("vornith/normal ") + c.second, session.prints[1]) << c.first;
  }
  privateData("VACK", "PONG\n");
  ASSERT_EQ(2u, session.prints.size());
  EXPECT_EQ(0u, session.prints[1].find("vornith/normal <Vornith> Ping : bob ! ("))
      << "never pinged";
}

}  // namespace
