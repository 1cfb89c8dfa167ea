// A client's configuration in Vornith.ini, its init and term steps with the receive thread, the
// plug-ins' setup calls, and its colours and fonts kept in Plugs.ini.
#include "host/tests/ClientFixture.h"
#include "lib/HashTable.h"
#include "platform/testing_dialogs.h"

namespace clienttest {
namespace {

std::string stored(const char* key, const char* file = ".\\Vornith.ini") {
  return readIni(file, "alpha", key);
}

TEST_F(ClientTest, EveryRecordKeepsItsPlaceInTheConfigurationLoadedOrNot) {
  Client& c = makeClient();
  c.writeConfig();  // no keys: defaults, and no "Main" without a main record
  EXPECT_EQ("Off", stored("Autoconnect"));
  EXPECT_EQ("(missing)", stored("Main"));
  writeIni(".\\Vornith.ini", "alpha", "Autoconnect", "yes");
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
}

TEST_F(ClientTest, TheEventsFileIsJoinedToTheEventsFolderAndAnEmptyKeyKeepsTheEvents) {
  std::filesystem::create_directory("Events");
  ASSERT_TRUE(here->folder.write("Events/test.ev", "[EVENTS]\ntell = \" tells you: \"\n"));
  writeIni(".\\Vornith.ini", "alpha", "RegExpr", "test.ev");
  Client& c = makeClient();
  c.readConfig();
  EXPECT_NE(std::string::npos, console().find(". Events file : .\\Events\\test.ev\n"));
  EXPECT_TRUE(c.getEvents().hasEvent("tell"));
  writeIni(".\\Vornith.ini", "alpha", "RegExpr", nullptr);
  c.readConfig();
  EXPECT_NE(std::string::npos, console().find(". No events files.\n"));
  EXPECT_TRUE(c.getEvents().hasEvent("tell"));
}

// With autoconnect on and only a server that refuses, the thread is busy trying when the term
// step stops it; the step must still join it and write the configuration.
TEST_F(ClientTest, TermStopsAThreadBusyConnectingAndWritesTheConfiguration) {
  writeIni(".\\Vornith.ini", "alpha", "Autoconnect", "On");
  writeIni(".\\Vornith.ini", "alpha", "Server0", "127.0.0.1:1");
  Client& c = makeClient();
  c.init();
  c.term();
  EXPECT_FALSE(c.getConnection().isConnected());
  EXPECT_EQ("On", stored("Autoconnect"));
  EXPECT_EQ("127.0.0.1:1", stored("Server0"));
  client.reset();
  EXPECT_NE(std::string::npos, here->folder.read("alpha.log").find("+> Term step:\n"));
}

TEST_F(ClientTest, SetupCallsWalkMainAddinsThenInOutsAndSurviveAFault) {
  Client& c = makeClient();
  FakeInOut inOut("inout");
  struct Throwing : FakeAddin {
    using FakeAddin::FakeAddin;
    void reloadSetup() override { throw 1; }
  } faulty("faulty");
  FakeAddin addin("addin");
  FakeMain main("main");
  use(plug("InOut", 9), &inOut);
  use(plug("Faulty", 8), &faulty);
  use(plug("Unloaded", 8), nullptr);
  use(plug("Addin", 8), &addin);
  use(plug("Main", 7), &main);
  c.writePlugsSetup();
  EXPECT_EQ((Lines{"main writeSetup", "faulty writeSetup", "addin writeSetup", "inout writeSetup"}),
            journal());
  journal().clear();
  vorntest::answerNextMessageBox(IDOK);
  c.reloadPlugsSetup();
  EXPECT_EQ((Lines{"main reloadSetup", "unload Faulty", "addin reloadSetup", "inout reloadSetup"}),
            journal());
  ASSERT_EQ(1u, vorntest::shownMessageBoxes().size());
  EXPECT_NE(std::string::npos, vorntest::shownMessageBoxes()[0].text.find("reloadSetup"));
}

TEST_F(ClientTest, ColoursAndFontsAreReadOnceAtDefinitionAndWrittenWhenTheClientGoes) {
  Client& first = makeClient();
  first.defineColor("Text", "Text colour", 255, 0, 0);
  first.defineColor("Text", "Other label", 0, 0, 255);  // the first definition wins
  EXPECT_EQ(RGB(255, 0, 0), first.getColor("Text"));
  first.setColor("Text", 0, 255, 0);
  first.setColor("Unknown", 1, 1, 1);
  EXPECT_EQ(0u, first.getColor("Unknown"));
  first.defineFont("Chat", "Chat font", "Courier", 10, 2);
  first.setFont("Chat", "Arial", 12, 5);
  EXPECT_EQ(nullptr, first.getFont("Nope").face);
  EXPECT_EQ("(missing)", stored("Color Text", ".\\Plugs.ini"));  // nothing before the end
  client.reset();
  EXPECT_EQ("65280", stored("Color Text", ".\\Plugs.ini"));
  EXPECT_EQ("Arial", stored("Font Chat name", ".\\Plugs.ini"));

  Client& second = makeClient();
  second.defineColor("Text", "Text colour", 9, 9, 9);
  second.defineFont("Chat", "Chat font", "Times", 8, 0);
  EXPECT_EQ(RGB(0, 255, 0), second.getColor("Text"));
  FontRecord font = second.getFont("Chat");
  EXPECT_STREQ("Arial", font.face);
  EXPECT_EQ(12, font.size);
  EXPECT_EQ(5, font.style);
}

// The hash is linear over XOR: "cb" and "bC" share it, yet they are two settings.
TEST_F(ClientTest, NamesSharingAHashStayApart) {
  ASSERT_EQ(hashString("cb"), hashString("bC"));
  Client& c = makeClient();
  c.defineColor("cb", "A", 1, 0, 0);
  c.defineColor("bC", "B", 2, 0, 0);
  EXPECT_EQ(RGB(1, 0, 0), c.getColor("cb"));
  EXPECT_EQ(RGB(2, 0, 0), c.getColor("bC"));
  c.defineFont("cb", "A", "Fa", 1, 0);
  c.defineFont("bC", "B", "Fb", 2, 0);
  EXPECT_STREQ("Fb", c.getFont("bC").face);
}

TEST_F(ClientTest, TheUsersChoiceChangesTheSettingAndTellsEverySession) {
  Client& c = makeClient();
  FakeAddin addin("addin");
  FakeInOut inOut("inout");
  FakeMain main("main");
  use(plug("Addin", 8), &addin);
  use(plug("InOut", 9), &inOut);
  use(plug("Main", 7), &main);
  c.defineColor("Text", "Text colour", 255, 0, 0);
  c.defineFont("Chat", "Chat font", "Courier", 10, 0);
  vorntest::cancelNextColourDialog();
  c.chooseColor("Text");
  vorntest::cancelNextFontDialog();
  c.chooseFont("Chat");
  c.chooseColor("Unknown");
  EXPECT_TRUE(journal().empty());

  vorntest::ColourChoice colour;
  colour.colour = RGB(1, 2, 3);
  vorntest::answerNextColourDialog(colour);
  c.chooseColor("Text");
  EXPECT_EQ(RGB(1, 2, 3), c.getColor("Text"));
  vorntest::FontChoice font;
  font.face = "Arial";
  font.pointSize = 120;
  font.weight = FW_BOLD;
  vorntest::answerNextFontDialog(font);
  c.chooseFont("Chat");
  EXPECT_EQ(12, c.getFont("Chat").size);
  EXPECT_EQ(2, c.getFont("Chat").style);
  Lines expected;
  for (const char* event : {"sys 6 Text [Color=Text]", "sys 7 Chat [Font=Chat]"})
    for (const char* who : {"system ", "addin ", "inout ", "main "})
      expected.push_back(who + std::string(event));
  EXPECT_EQ(expected, journal());
}

}  // namespace
}  // namespace clienttest
