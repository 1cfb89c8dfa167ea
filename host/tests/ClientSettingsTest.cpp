// A client's colours and fonts: first definition wins, stored values win over defaults, they
// outlive the client in Plugs.ini, and the user's choice reaches every session of the client.
#include <gtest/gtest.h>

#include <string>

#include "host/ColorSetting.h"
#include "host/tests/ClientFixture.h"
#include "lib/HashTable.h"
#include "platform/testing_dialogs.h"

namespace clienttest {
namespace {

class ClientSettingsTest : public ClientTest {
 protected:
  std::string stored(const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA("alpha", key, "(missing)", value, sizeof value, ".\\Plugs.ini");
    return value;
  }
};

TEST_F(ClientSettingsTest, ColoursAreReadOnceAtDefinitionAndWrittenWhenTheClientGoes) {
  Client& first = makeClient();
  first.defineColor("Text", "Text colour", 255, 0, 0);
  first.defineColor("Text", "Other label", 0, 0, 255);  // the first definition wins
  EXPECT_EQ(0x000000FFu, first.getColor("Text"));
  first.defineColor("Back", "Background", 1, 2, 3);
  first.setColor("Back", 0, 255, 0);
  first.setColor("Unknown", 1, 1, 1);
  EXPECT_EQ(0u, first.getColor("Unknown"));
  EXPECT_EQ("(missing)", stored("Color Text"));  // nothing written before the end
  client.reset();
  EXPECT_EQ("255", stored("Color Text"));
  EXPECT_EQ("65280", stored("Color Back"));

  Client& second = makeClient();
  second.defineColor("Back", "Background", 9, 9, 9);
  EXPECT_EQ(RGB(0, 255, 0), second.getColor("Back"));
  ASSERT_NE(nullptr, second.getColors().find(hashString("Back")));
  EXPECT_STREQ("Background", (*second.getColors().find(hashString("Back")))->label);
}

TEST_F(ClientSettingsTest, FontsKeepFaceSizeAndStyleAcrossClients) {
  Client& first = makeClient();
  first.defineFont("Chat", "Chat font", "Courier", 10, 2);
  FontRecord font = first.getFont("Chat");
  EXPECT_STREQ("Courier", font.face);
  EXPECT_EQ(10, font.size);
  EXPECT_EQ(2, font.style);
  first.setFont("Chat", "Arial", 12, 5);
  FontRecord unknown = first.getFont("Nope");
  EXPECT_EQ(nullptr, unknown.face);
  EXPECT_EQ(0, unknown.size + unknown.style);
  client.reset();
  EXPECT_EQ("Arial", stored("Font Chat name"));
  EXPECT_EQ("12", stored("Font Chat size"));
  EXPECT_EQ("5", stored("Font Chat style"));

  Client& second = makeClient();
  second.defineFont("Chat", "Chat font", "Times", 8, 0);
  font = second.getFont("Chat");
  EXPECT_STREQ("Arial", font.face);
  EXPECT_EQ(12, font.size);
  EXPECT_EQ(5, font.style);
}

// Two names of one hash are two settings, not one.
TEST_F(ClientSettingsTest, NamesSharingAHashStayApart) {
  // The hash is linear over XOR: flipping bit 0 of the first byte and bits 0 and 5 of the
  // second gives the same value.
  std::string a = "cb", b = "bC";
  ASSERT_EQ(hashString(a.c_str()), hashString(b.c_str()));
  Client& c = makeClient();
  c.defineColor(a.c_str(), "A", 1, 0, 0);
  c.defineColor(b.c_str(), "B", 2, 0, 0);
  EXPECT_EQ(RGB(1, 0, 0), c.getColor(a.c_str()));
  EXPECT_EQ(RGB(2, 0, 0), c.getColor(b.c_str()));
  c.defineFont(a.c_str(), "A", "Fa", 1, 0);
  c.defineFont(b.c_str(), "B", "Fb", 2, 0);
  EXPECT_STREQ("Fb", c.getFont(b.c_str()).face);
}

TEST_F(ClientSettingsTest, TheUsersChoiceChangesTheSettingAndTellsEverySession) {
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
  EXPECT_EQ(0x0000FFu, c.getColor("Text"));

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
  EXPECT_STREQ("Arial", c.getFont("Chat").face);
  EXPECT_EQ(12, c.getFont("Chat").size);
  EXPECT_EQ(2, c.getFont("Chat").style);

  std::vector<std::string> expected;
  for (const char* event : {"sys 6 Text [Color=Text]", "sys 7 Chat [Font=Chat]"})
    for (const char* who : {"system ", "addin ", "inout ", "main "})
      expected.push_back(who + std::string(event));
  EXPECT_EQ(expected, journal());
}

}  // namespace
}  // namespace clienttest
