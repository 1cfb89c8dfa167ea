#include <gtest/gtest.h>

#include <string>

#include "lib/RichEdit.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

class InputTest : public ChatWindowTest {
 protected:
  void SetUp() override {
    ChatWindowTest::SetUp();
    input = session.getInput();
  }
  void enter(const char* line) {
    input->setText(line);
    input->onEnter();
  }
  NevChatInputWindow* input = nullptr;
};

std::string syntaxError(const char* command, const char* syntax) {
  return std::string("<Vornith> Syntax Error :\r<Vornith> - Command detected : '") + command +
         "'\r<Vornith> - Syntaxe : '" + syntax + "'";
}

TEST_F(InputTest, SlashCommandsAndTheirSyntaxErrors) {
  const std::string login = syntaxError("login", "/login <login_name>");
  const std::string mine =
      syntaxError("mine", "/mine [ok|no|cancel|forcereset|start <login_name>]");
  const std::string start = syntaxError("mine", "/mine start <login_name>");
  struct Case {
    const char* line;
    std::string shown;  // the output after the command (the held-back break not counted)
    const char* event;  // "to type data" of the user event sent, if any
  };
  const Case cases[] = {
      {"/LOGIN  Bob ", "<Vornith > New login : 'Bob'", ""},
      {"/login bo b", login, ""},
      {"/login bo-b", login, ""},
      {"/login ", login, ""},
      {"/mine okay", "", "MineDuel accept "},
      {"/Mine NOthing", "", "MineDuel deny "},
      {"/mine forcereset", "", "MineDuel forcereset "},
      {"/mine start  carol ", "", "MineDuel start carol"},
      {"/mine start ", start, ""},
      {"/mine start ca rol", start, ""},
      {"/mine", mine, ""},
      {"/mine play", mine, ""},
      {"/mine o", mine, ""},
      {"/who", "<Vornith> Unknown command line: /who", ""},
      {"/login", "<Vornith> Unknown command line: /login", ""},
  };
  for (const Case& c : cases) {
    host.events.clear();
    session.getOutput()->clear();
    input->runCommand(c.line);
    std::string text = shown(session.getOutput()->getHwnd());
    if (!text.empty() && text[0] == '\r') text.erase(0, 1);
    EXPECT_EQ(c.shown, text) << c.line;
    EXPECT_EQ(c.event, host.firstEvent()) << c.line;
  }
  EXPECT_STREQ("Bob", settings->login.text()) << "only the well-formed login is taken";
  EXPECT_EQ("", host.sent) << "commands send nothing to the server";
}

TEST_F(InputTest, LinesAreSentOnceTheDialogueBeganAndTheCapturedOneIsNotKept) {
  enter("hello");
  EXPECT_EQ("", host.sent) << "before the login dialogue";
  NevChatTestAccess::setState(session, 1, 0, 0);
  enter("earlier");
  enter("/nothing");
  EXPECT_EQ("earlier\n", host.sent) << "slash commands stay local";
  EXPECT_EQ(0, input->getTextLength()) << "Enter empties the line";

  input->captureNext(&settings->password);
  enter("s3cret");
  enter("later");
  EXPECT_STREQ("s3cret", settings->password.text()) << "only the next line";
  EXPECT_EQ("earlier\ns3cret\nlater\n", host.sent);
  vorntest::pressKey(input->getHwnd(), VK_UP);
  vorntest::pressKey(input->getHwnd(), VK_UP);
  char text[64] = {};
  GetWindowTextA(input->getHwnd(), text, sizeof text);
  EXPECT_STREQ("/nothing", text) << "Up never shows the password";
}

// A server that asks for the login without end gets the saved one three times; then the user
// types it and the line says why. A new connection answers by itself again.
TEST_F(InputTest, SavedLoginAnswersARepeatedPromptThreeTimesPerConnection) {
  settings->login.assign("alice");
  for (int prompt = 0; prompt < 5; ++prompt) feedEvent(session, "login", "<Nev> Login: ");
  EXPECT_EQ("alice\nalice\nalice\n", host.sent);
  EXPECT_TRUE(session.isInputEnabled());
  EXPECT_EQ(&settings->login, input->captureTarget());
  const std::string why =
      "<Vornith> The server keeps asking for the login: type it in the input line.";
  std::string text = shown(session.getOutput()->getHwnd());
  ASSERT_NE(std::string::npos, text.find(why));
  EXPECT_EQ(text.find(why), text.rfind(why)) << "said once, not at every prompt";

  enter("bob");
  EXPECT_EQ("alice\nalice\nalice\nbob\n", host.sent);
  EXPECT_STREQ("bob", settings->login.text());

  EventData where{const_cast<char*>("host:4777"), 0, nullptr};
  session.onSystemEvent(3, &where);
  session.onSystemEvent(2, &where);
  host.sent.clear();
  feedEvent(session, "login", "<Nev> Login: ");
  EXPECT_EQ("bob\n", host.sent);
}

}  // namespace
