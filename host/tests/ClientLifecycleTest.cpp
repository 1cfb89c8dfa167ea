// A client's configuration in Vornith.ini, its init and term steps with the receive thread,
// the plug-ins' setup calls, and what its log says about its life.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/tests/ClientFixture.h"

namespace clienttest {
namespace {

class ClientLifecycleTest : public ClientTest {
 protected:
  std::string stored(const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA("alpha", key, "(missing)", value, sizeof value, ".\\Vornith.ini");
    return value;
  }
};

TEST_F(ClientLifecycleTest, EveryRecordKeepsItsPlaceInTheConfigurationLoadedOrNot) {
  Client& c = makeClient();
  c.writeConfig();  // no keys: defaults, and no "Main" without a main record
  EXPECT_EQ("Off", stored("Autoconnect"));
  EXPECT_EQ("", stored("Addins"));
  EXPECT_EQ("(missing)", stored("Main"));
  WritePrivateProfileStringA("alpha", "Autoconnect", "yes", ".\\Vornith.ini");
  FakeAddin loaded("x");
  use(plug("Main", 7), nullptr);
  use(plug("First", 8), nullptr);
  use(plug("Second", 8), &loaded);
  use(plug("First", 8), nullptr);  // listed twice, kept twice
  use(plug("Filter", 9), nullptr);
  c.readConfig();
  c.writeConfig();
  EXPECT_EQ("On", stored("Autoconnect"));
  EXPECT_EQ("Main", stored("Main"));
  EXPECT_EQ("First Second First", stored("Addins"));
  EXPECT_EQ("Filter", stored("Inout"));
  EXPECT_EQ("(missing)", stored("RegExpr"));
}

TEST_F(ClientLifecycleTest, TheEventsFileIsJoinedToTheEventsFolder) {
  std::filesystem::create_directory("Events");
  ASSERT_TRUE(folder.write("Events/test.ev",
                           "[VARS]\nnick = \"([^ ]+):(nick)\"\n[EVENTS]\n"
                           "tell = nick + \" tells you: (.*):(text)\"\n"));
  WritePrivateProfileStringA("alpha", "RegExpr", "test.ev", ".\\Vornith.ini");
  Client& c = makeClient();
  c.readConfig();
  EXPECT_NE(std::string::npos, console().find(". Events file : .\\Events\\test.ev\n"));
  EXPECT_TRUE(c.getEvents().hasEvent("tell"));

  // An emptied key keeps the events loaded before.
  WritePrivateProfileStringA("alpha", "RegExpr", nullptr, ".\\Vornith.ini");
  c.readConfig();
  EXPECT_NE(std::string::npos, console().find(". No events files.\n"));
  EXPECT_TRUE(c.getEvents().hasEvent("tell"));
}

// With autoconnect on and only a server that refuses, the thread is busy trying when the term
// step stops it; the step must still join it and write the configuration.
TEST_F(ClientLifecycleTest, InitStartsTheThreadAndTermStopsItAndWritesTheConfiguration) {
  WritePrivateProfileStringA("alpha", "Autoconnect", "On", ".\\Vornith.ini");
  WritePrivateProfileStringA("alpha", "Server0", "127.0.0.1:1", ".\\Vornith.ini");
  Client& c = makeClient();
  c.init();
  EXPECT_NE(std::string::npos, console().find(". Server added : 127.0.0.1:1\n"));
  c.term();
  EXPECT_FALSE(c.getConnection().isConnected());
  EXPECT_EQ("On", stored("Autoconnect"));
  EXPECT_EQ("127.0.0.1:1", stored("Server0"));
  client.reset();
  std::string log = folder.read("alpha.log");
  for (const char* part : {"-> Creation of alpha in hand.\n"
                           "-> Creation of the plugins session.\n"
                           "-> Client Created.\n"
                           "+> Init step:\n"
                           "| -> Plugs init.\n"
                           "| -> Setup init.\n"
                           "| -> Read the config file.\n"
                           "+> Done.\n"
                           "+> Term step:\n"
                           "| -> Write the config file.\n"
                           "| -> Term setup.\n"
                           "| -> Delete the session of the plugins.\n"
                           "+> Done.\n"
                           "-> Client destroyed.\n"})
    EXPECT_NE(std::string::npos, log.find(part)) << part << "\nin:\n" << log;
}

TEST_F(ClientLifecycleTest, SetupCallsWalkMainAddinsThenInOutsAndSurviveAFault) {
  Client& c = makeClient();
  FakeInOut inOut("inout");
  FakeAddin bad("bad"), addin("addin");
  FakeMain main("main");
  use(plug("InOut", 9), &inOut);
  use(plug("Bad", 8), &bad);
  use(plug("Addin", 8), &addin);
  use(plug("Unloaded", 8), nullptr);
  use(plug("Main", 7), &main);
  c.writePlugsSetup();
  EXPECT_EQ((std::vector<std::string>{"main writeSetup", "bad writeSetup", "addin writeSetup",
                                      "inout writeSetup"}),
            journal());

  journal().clear();
  struct Throwing : FakeAddin {
    using FakeAddin::FakeAddin;
    void reloadSetup() override { throw 1; }
  } faulty("faulty");
  use(plug("Faulty", 8), &faulty);
  vorntest::answerNextMessageBox(IDOK);
  c.reloadPlugsSetup();
  EXPECT_EQ((std::vector<std::string>{"main reloadSetup", "bad reloadSetup", "addin reloadSetup",
                                      "unload Faulty", "inout reloadSetup"}),
            journal());
  ASSERT_EQ(1u, vorntest::shownMessageBoxes().size());
  EXPECT_NE(std::string::npos, vorntest::shownMessageBoxes()[0].text.find("reloadSetup"));
}

}  // namespace
}  // namespace clienttest
