// The system command line: which line runs which command, the parsing quirks of each handler
// and their exact refusals, plug-in information, the help text, and lines no command takes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host/Host.h"
#include "host/SystemInput.h"
#include "host/SystemPluginsSession.h"
#include "host/tests/PlugsFixture.h"

namespace {

using Runs = std::vector<std::pair<std::string, COLORREF>>;

const COLORREF black = RGB(0, 0, 0);
const COLORREF red = RGB(128, 0, 0);
const COLORREF title = RGB(192, 0, 0);

class LineTakingSession : public SystemPluginsSession {
 public:
  explicit LineTakingSession(PlugsManagers& managers) : SystemPluginsSession(managers) {}
  bool onCommandLine(const char* line) override {
    offered.push_back(line);
    return std::string(line) == "take";
  }
  std::vector<std::string> offered;
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
  void enter(const char* line) {
    SetWindowTextA(input->getHwnd(), line);
    input->onEnter();
  }
  std::string text() { return textOf(input->getHwnd()); }
  // The console as (text, colour) runs, lines ending in "\n".
  Runs shown() {
    Runs out;
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) {
      std::string part = run.text;
      for (char& c : part)
        if (c == '\r') c = '\n';
      if (!out.empty() && out.back().second == run.colour)
        out.back().first += part;
      else
        out.emplace_back(part, run.colour);
    }
    return out;
  }

  SystemInput* input = nullptr;
};

struct Refusal {
  const char* line;
  Runs expected;
};

TEST_F(SystemInputTest, RefusalsKeepTheirExactTextsAndColours) {
  const Refusal cases[] = {
      {"/send", {{"Send error : Need more arguments.\n", red}}},
      {"/send alpha", {{"Send error : Need more arguments.\n", red}}},
      {"/SEND  \t alpha hello world", {{"Send error : Unknown client (alpha).\n", red}}},
      {"/version", {{"Send error : Need more arguments.\n", red}}},
      // Everything behind the one space is the name, a second blank included.
      {"/version  GoodMain", {{"Disp Error : Unknown plugin -  GoodMain.\n", red}}},
      {"/author nobody", {{"Disp Error : Unknown plugin - nobody.\n", red}}},
      {"/update", {{"Update error : ", red}, {"Need more arguments.\n", black}}},
      {"/update  \t ", {{"Update error : ", red}, {"Need more arguments.\n", black}}},
      {"/add", {{"Add error : ", red}, {"Need more arguments.\n", black}}},
      {"/add alpha", {{"Add error : ", red}, {"Need more arguments.\n", black}}},
      {"/add  alpha GoodMain", {{"Add error : ", red}, {"Unknown client (alpha).\n", black}}},
      {"/Remove alpha", {{"Remove error : ", red}, {"Need more arguments.\n", black}}},
      {"/remove \talpha x", {{"Remove error : ", red}, {"Unknown client (alpha).\n", black}}},
      {"/nothing at all", {{"Invalid Command : '/nothing at all'\n", red}}},
      // Only a space ends the first word: with a tab the line is no command at all.
      {"/send\talpha hi", {{"Invalid Command : '/send\talpha hi'\n", red}}},
      {"/update\tfile", {{"Invalid Command : '/update\tfile'\n", red}}},
      {"   ", {{"Invalid Command : '   '\n", red}}},
  };
  for (const Refusal& c : cases) {
    clearConsole();
    enter(c.line);
    EXPECT_EQ(c.expected, shown()) << c.line;
    EXPECT_EQ("", text()) << "the edit is emptied";
  }
  // The refusal's colour stays set for what is printed next.
  printSystem("after");
  EXPECT_EQ(red, shown().back().second);
}

TEST_F(SystemInputTest, HandlersParseTheirOwnLinesOnly) {
  struct Call {
    void (SystemInput::*handler)(const char*);
    const char* line;
    const char* expected;
  };
  const Call calls[] = {
      // "/send" wants a space right behind it; the others take a tab as well.
      {&SystemInput::sendCommand, "/send\talpha hi", "Send error : Need more arguments.\n"},
      {&SystemInput::addCommand, "/add\talpha GoodMain", "Add error : Unknown client (alpha).\n"},
      {&SystemInput::removeCommand, "/remove\talpha x", "Remove error : Unknown client (alpha).\n"},
      {&SystemInput::updateCommand, "/update\tnothing.vma", ""},  // no managers: nothing runs
      // A handler given another command's line returns without a word.
      {&SystemInput::sendCommand, "/add alpha x", ""},
      {&SystemInput::addCommand, "/remove alpha x", ""},
      {&SystemInput::updateCommand, "/send a b", ""},
  };
  plugsManagers = nullptr;
  for (const Call& call : calls) {
    clearConsole();
    (input->*call.handler)(call.line);
    EXPECT_EQ(call.expected, console()) << call.line;
  }
  clearConsole();
  input->showPlugInfo(4, "/author GoodMain");
  input->showPlugInfo(1, "/hidemenu x");
  EXPECT_EQ("", console());
}

TEST_F(SystemInputTest, PlugInfoComesFromTheFactory) {
  const Refusal cases[] = {
      {"/version GoodMain",
       {{"Version ", title}, {"GoodMain", black}, {" -> ", title}, {"1.25\n", black}}},
      {"/AUTHOR goodmain",
       {{"Author ", title}, {"GoodMain", black}, {" -> ", title}, {"Fixture Maker\n", black}}},
      {"/descript GoodMain",
       {{"Description ", title}, {"GoodMain", black}, {" -> ", title}, {"test fixture\n", black}}},
  };
  for (const Refusal& c : cases) {
    clearConsole();
    enter(c.line);
    EXPECT_EQ(c.expected, shown()) << c.line;
  }
  // Registered but not loaded: no factory to ask.
  managers->unloadPlug(managers->findPlug("GoodMain", 0));
  clearConsole();
  enter("/version goodMain");
  EXPECT_EQ("Disp Error : Unable to get the information from this plugin - goodMain.\n", console());
}

TEST_F(SystemInputTest, HelpPrintsFifteenLinesWhateverFollows) {
  for (const char* line : {"/help", "/HELP me please"}) {
    clearConsole();
    enter(line);
    std::string shownText = console();
    EXPECT_EQ(15, std::count(shownText.begin(), shownText.end(), '\n')) << line;
    EXPECT_EQ(0u, shownText.find("\nSystem Help\n===========\n"));
    Runs runs = shown();
    ASSERT_EQ(4u, runs.size());
    EXPECT_EQ(title, runs[1].second);
    EXPECT_EQ("Some command are recognize in the system window :\n", runs[2].first);
    EXPECT_EQ(RGB(0, 0, 192), runs[2].second);
    EXPECT_NE(std::string::npos,
              runs[3].first.find("- remove <client> <plugname>\t: Remove the plugin from the "
                                 "client.\n\n"));
  }
}

TEST_F(SystemInputTest, AnEmptyLineDoesNothingAndIsNotRemembered) {
  enter("");
  EXPECT_EQ("", console());
  input->onKey(VK_UP, true);
  EXPECT_EQ("", text());
  enter("/nothing");
  input->onKey(VK_UP, true);
  EXPECT_EQ("/nothing", text());
}

TEST_F(SystemInputTest, LinesNoCommandTakesGoToTheSystemPlugins) {
  LineTakingSession session(*managers);
  systemPluginsSession = &session;
  enter("take");
  EXPECT_EQ("", console());
  enter("give");
  enter("/help");
  EXPECT_EQ((std::vector<std::string>{"take", "give"}), session.offered);
  EXPECT_EQ(0u, console().find("Invalid Command : 'give'\n"));
}

}  // namespace
