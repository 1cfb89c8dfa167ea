// The system command line: which line runs which command, the parsing quirks of each handler
// and their exact refusals, plug-in information, the help, and lines no command takes.
#include "host/SystemInput.h"

#include "host/Host.h"
#include "host/SystemPluginsSession.h"
#include "host/tests/PlugsFixture.h"

namespace {

class LineTakingSession : public SystemPluginsSession {
 public:
  explicit LineTakingSession(PlugsManagers& managers) : SystemPluginsSession(managers) {}
  bool onCommandLine(const char* line) override {
    offered.push_back(line);
    return std::string(line) == "take";
  }
  Lines offered;
};

// A command line of its own (no system window) over the fixture's managers, which know
// GoodMain; no client list, so every client name is unknown.
class SystemInputTest : public PlugsTest {
 protected:
  void SetUp() override {
    PlugsTest::SetUp();
    if (IsSkipped()) return;
    add({"GoodMain.vma"});
    plugsManagers = &loadAll();
    input = new SystemInput(nullptr);
    input->createIn(panel);
    input->move(0, 220, 600, 21);
    clearConsole();
  }
  void TearDown() override {
    plugsManagers = nullptr;
    systemPluginsSession = nullptr;
    delete input;
    PlugsTest::TearDown();
  }
  std::string enter(const char* line) {
    clearConsole();
    SetWindowTextA(input->getHwnd(), line);
    input->onEnter();
    return console();
  }

  SystemInput* input = nullptr;
};

TEST_F(SystemInputTest, RefusalsKeepTheirExactTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"/send", "Send error : Need more arguments.\n"},
      {"/send alpha", "Send error : Need more arguments.\n"},
      {"/SEND  \t alpha hello world", "Send error : Unknown client (alpha).\n"},
      {"/version", "Send error : Need more arguments.\n"},
      // Everything behind the one space is the name, a second blank included.
      {"/version  GoodMain", "Disp Error : Unknown plugin -  GoodMain.\n"},
      {"/author nobody", "Disp Error : Unknown plugin - nobody.\n"},
      {"/update  \t ", "Update error : Need more arguments.\n"},
      {"/add alpha", "Add error : Need more arguments.\n"},
      {"/add  alpha GoodMain", "Add error : Unknown client (alpha).\n"},
      {"/Remove alpha", "Remove error : Need more arguments.\n"},
      {"/remove \talpha x", "Remove error : Unknown client (alpha).\n"},
      {"/nothing at all", "Invalid Command : '/nothing at all'\n"},
      // Only a space ends the first word: with a tab the line is no command at all.
      {"/send\talpha hi", "Invalid Command : '/send\talpha hi'\n"},
      {"   ", "Invalid Command : '   '\n"},
  };
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(expected, enter(line)) << line;
    EXPECT_EQ("", textOf(input->getHwnd())) << "the edit is emptied";
  }
  // The refusal's colour stays set for what is printed next.
  clearConsole();
  printSystem("after");
  EXPECT_EQ("after #000080", runs().back());
}

TEST_F(SystemInputTest, HandlersParseTheirOwnLinesOnly) {
  const struct {
    void (SystemInput::*handler)(const char*);
    const char *line, *expected;
  } calls[] = {
      // "/send" wants a space right behind it; the others take a tab as well.
      {&SystemInput::sendCommand, "/send\talpha hi", "Send error : Need more arguments.\n"},
      {&SystemInput::addCommand, "/add\talpha GoodMain", "Add error : Unknown client (alpha).\n"},
      {&SystemInput::updateCommand, "/update\tnothing.vma", ""},  // no managers: nothing runs
      // A handler given another command's line returns without a word.
      {&SystemInput::sendCommand, "/add alpha x", ""},
      {&SystemInput::addCommand, "/remove alpha x", ""},
      {&SystemInput::updateCommand, "/send a b", ""},
  };
  plugsManagers = nullptr;
  for (const auto& call : calls) {
    clearConsole();
    (input->*call.handler)(call.line);
    EXPECT_EQ(call.expected, console()) << call.line;
  }
}

TEST_F(SystemInputTest, PlugInfoComesFromTheFactoryOnlyWhileLoaded) {
  EXPECT_EQ("Version GoodMain -> 1.25\n", enter("/version GoodMain"));
  EXPECT_EQ("Author GoodMain -> Fixture Maker\n", enter("/AUTHOR goodmain"));
  EXPECT_EQ("Description GoodMain -> test fixture\n", enter("/descript GoodMain"));
  managers->unloadPlug(managers->findPlug("GoodMain", 0));
  EXPECT_EQ("Disp Error : Unable to get the information from this plugin - goodMain.\n",
            enter("/version goodMain"));
}

TEST_F(SystemInputTest, HelpEmptyLinesAndLinesNoCommandTakes) {
  EXPECT_EQ("", enter(""));
  input->onKey(VK_UP, true);
  EXPECT_EQ("", textOf(input->getHwnd())) << "an empty line is not remembered";
  std::string help = enter("/HELP me please");
  EXPECT_EQ(15, std::count(help.begin(), help.end(), '\n'));
  LineTakingSession session(*managers);
  systemPluginsSession = &session;
  EXPECT_EQ("", enter("take"));
  EXPECT_EQ("Invalid Command : 'give'\n", enter("give"));
  enter("/help");
  EXPECT_EQ((Lines{"take", "give"}), session.offered);
  input->onKey(VK_UP, true);
  EXPECT_EQ("/help", textOf(input->getHwnd()));
}

}  // namespace
