#include <gtest/gtest.h>

#include <string>

#include "lib/RichEdit.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/tests/WindowsFakeHost.h"

namespace {

class InputTest : public ChatWindowTest {
 protected:
  void SetUp() override {
    ChatWindowTest::SetUp();
    input = session.getInput();
    output = session.getOutput()->getHwnd();
  }
  void enter(const char* line) {
    input->setText(line);
    input->onEnter();
  }
  NevChatInputWindow* input = nullptr;
  HWND output = nullptr;
};

const char* const kSyntaxLogin =
    "<Vornith> Syntax Error :\r<Vornith> - Command detected : 'login'\r"
    "<Vornith> - Syntaxe : '/login <login_name>'";
const char* const kSyntaxMine =
    "<Vornith> Syntax Error :\r<Vornith> - Command detected : 'mine'\r"
    "<Vornith> - Syntaxe : '/mine [ok|no|cancel|forcereset|start <login_name>]'";
const char* const kSyntaxStart =
    "<Vornith> Syntax Error :\r<Vornith> - Command detected : 'mine'\r"
    "<Vornith> - Syntaxe : '/mine start <login_name>'";

TEST_F(InputTest, SlashCommandsAndTheirSyntaxErrors) {
  struct Case {
    const char* line;
    const char* shown;  // the output after the command (line breaks held back read as none)
    const char* event;  // "to type data" of the user event sent, if any
    const char* login;  // the saved login afterwards
  };
  const Case cases[] = {
      {"/LOGIN  Bob ", "<Vornith > New login : 'Bob'", "", "Bob"},
      {"/login bo b", kSyntaxLogin, "", "Bob"},
      {"/login bo-b", kSyntaxLogin, "", "Bob"},
      {"/login ", kSyntaxLogin, "", "Bob"},
      {"/mine okay", "", "MineDuel accept ", "Bob"},
      {"/Mine NOthing", "", "MineDuel deny ", "Bob"},
      {"/mine cancel", "", "MineDuel cancel ", "Bob"},
      {"/mine forcereset", "", "MineDuel forcereset ", "Bob"},
      {"/mine start  carol ", "", "MineDuel start carol", "Bob"},
      {"/mine start ", kSyntaxStart, "", "Bob"},
      {"/mine start ca rol", kSyntaxStart, "", "Bob"},
      {"/mine", kSyntaxMine, "", "Bob"},
      {"/mine play", kSyntaxMine, "", "Bob"},
      {"/mine o", kSyntaxMine, "", "Bob"},
      {"/who", "<Vornith> Unknown command line: /who", "", "Bob"},
      {"/login", "<Vornith> Unknown command line: /login", "", "Bob"},
  };
  for (const Case& c : cases) {
    host.events.clear();
    session.getOutput()->clear();
    input->runCommand(c.line);
    std::string text = shown(output);
    if (!text.empty() && text[0] == '\r') text.erase(0, 1);  // the previous held-back break
    EXPECT_EQ(c.shown, text) << c.line;
    std::string event = host.events.empty() ? ""
                                            : host.events[0].to + " " + host.events[0].type + " " +
                                                  host.events[0].data;
    EXPECT_EQ(c.event, event) << c.line;
    EXPECT_STREQ(c.login, settings->login.text()) << c.line;
  }
  EXPECT_EQ("", host.sent) << "commands send nothing to the server";
}

TEST_F(InputTest, LinesAreSentOnlyOnceTheLoginDialogueBegan) {
  enter("hello");
  EXPECT_EQ("", host.sent);
  NevChatTestAccess::setFlags(session, true, false, false);
  enter("hello");
  enter("/nothing");
  EXPECT_EQ("hello\n", host.sent) << "slash commands stay local";
  EXPECT_EQ(0, input->getTextLength()) << "Enter empties the line";
}

TEST_F(InputTest, CapturedLineIsKeptSentAndNotInTheHistory) {
  NevChatTestAccess::setFlags(session, true, false, false);
  enter("earlier");
  input->captureNext(&settings->password);
  enter("s3cret");
  EXPECT_STREQ("s3cret", settings->password.text());
  EXPECT_EQ(nullptr, input->captureTarget()) << "only the next line";
  EXPECT_EQ("earlier\ns3cret\n", host.sent);
  vorntest::pressKey(input->getHwnd(), VK_UP);
  char text[64] = {};
  GetWindowTextA(input->getHwnd(), text, sizeof text);
  EXPECT_STREQ("earlier", text) << "Up never shows the password";
  enter("later");
  EXPECT_STREQ("s3cret", settings->password.text());
}

}  // namespace
