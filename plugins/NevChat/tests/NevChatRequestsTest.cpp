#include <gtest/gtest.h>

#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

class NevChatRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override { NevChatTestAccess::setState(session, 1, 1, 0); }
  void request(const char* data) {
    session.event("vdatas", "[data] bob VREQ x",
                  {{"nick", "bob"}, {"request", "vreq"}, {"data", data}, {"nevtime", "12:00 "}});
  }
  void ack(const char* data) {
    session.clear();
    session.event("vdatas", "[data] bob VACK x",
                  {{"nick", "bob"}, {"request", "VACK"}, {"data", data}});
  }
  FakeHost host;
  SessionProbe session;
};

TEST_F(NevChatRequestsTest, RequestsAreAnsweredByKeywordIgnoringCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"ping\n", "senddata bob VACK PONG\n"},
      {"VERSION\n", "senddata bob VACK VERSION Vornith 2.00\n"},
      {"AUTOPING\n", ""},
      {"WHATEVER\n", ""},
  };
  for (const auto& c : cases) {
    host.clearSent();
    session.clear();
    request(c.first);
    EXPECT_EQ(c.second, host.sent) << c.first;
    EXPECT_EQ("", session.allPrints()) << "no notices without Display VReq";
  }
}

TEST_F(NevChatRequestsTest, FullVersionListsEveryPlugInInOrder) {
  host.plugsList = "M:NevChat A:NevTell X:Odd";
  host.plugVersions = {{"NevChat", 0.1f}, {"NevTell", 0.25f}};
  request("FULLVERSION\n");
  EXPECT_EQ(
      "senddata bob VACK FULLVERSION START Vornith 2.00\n"
      "senddata bob VACK FULLVERSION SUB - Main   plugin NevChat (0.10)\n"
      "senddata bob VACK FULLVERSION SUB - Addins plugin NevTell (0.25)\n"
      "senddata bob VACK FULLVERSION SUB - Unknown plugin : Odd (0.00)\n"
      "senddata bob VACK FULLVERSION END\n",
      host.sent);
}

TEST_F(NevChatRequestsTest, NoticesFollowDisplayVReqAndRefusingGroupsAnswerNothing) {
  session.getSettings().displayVReq = 1;
  request("PING\n");
  EXPECT_EQ("timestamp/block 12:00 |vornith/normal <Vornith> bob pings you !\n|",
            session.allPrints());
  session.clear();
  host.clearSent();
  request("odd\n");
  EXPECT_EQ("timestamp/block 12:00 |vornith/normal <Vornith> Unknown Request : odd\n|",
            session.allPrints());

  NevChatTestAccess::setState(session, 1, 0, 0);
  session.clear();
  request("PING\n");
  EXPECT_EQ("", host.sent);
  EXPECT_EQ("timestamp/block 12:00 |vornith/normal <Vornith> bob asks you informations...\n|",
            session.allPrints());
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
    ack(c.first);
    ASSERT_FALSE(session.prints.empty()) << c.first;
    EXPECT_EQ(std::string("vornith/normal ") + c.second, session.prints[0]) << c.first;
  }
  ack("PONG\n");
  ASSERT_EQ(1u, session.prints.size());
  EXPECT_EQ(0u, session.prints[0].find("vornith/normal <Vornith> Ping : bob ! ("))
      << "never pinged";
}

}  // namespace
