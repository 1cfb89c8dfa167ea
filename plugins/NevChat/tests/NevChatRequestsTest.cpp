#include <gtest/gtest.h>

#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

class NevChatRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override { NevChatTestAccess::setState(session, 1, 1, 0); }
  void privateData(const char* request, const char* data) {
    host.clear();
    session.clear();
    session.event("vdatas", "[data] bob x",
                  {{"nick", "bob"}, {"request", request}, {"data", data}, {"nevtime", "12:00 "}});
  }
  FakeHost host;
  SessionProbe session;
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
  };
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

TEST_F(NevChatRequestsTest, FullVersionListsEveryPlugInInOrder) {
  host.plugsList = "M:NevChat A:NevTell X:Odd";
  host.plugVersions = {{"NevChat", 0.1f}, {"NevTell", 0.25f}};
  privateData("VREQ", "FULLVERSION\n");
  EXPECT_EQ(
      "senddata bob VACK FULLVERSION START Vornith 2.00\n"
      "senddata bob VACK FULLVERSION SUB - Main   plugin NevChat (0.10)\n"
      "senddata bob VACK FULLVERSION SUB - Addins plugin NevTell (0.25)\n"
      "senddata bob VACK FULLVERSION SUB - Unknown plugin : Odd (0.00)\n"
      "senddata bob VACK FULLVERSION END\n",
      host.sent);
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
