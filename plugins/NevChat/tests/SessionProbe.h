// The two ways NevChat's tests run a session over the fake host: a probe whose window side is
// replaced by records (prints with colour and font, topic, channel, background, nick-list
// updates as text), and a real session with its chat window built in a shown tab.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "lib/tests/ToolkitFixture.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevStyle/StyledOutput.h"
#include "tests/support/FakeHost.h"

// Hands one event to the session as the host does: the line and its variables.
inline void feedEvent(NevChatSession& session, const char* name, const char* line,
                      const Vars& vars = {}) {
  std::vector<char*> pairs;
  for (const auto& v : vars) {
    pairs.push_back(const_cast<char*>(v.first));
    pairs.push_back(const_cast<char*>(v.second));
  }
  EventData data{const_cast<char*>(line), static_cast<int>(vars.size()), pairs.data()};
  session.onEvent(1, name, &data);
}

// The tests' way to the session's private state: the flags and the trace of nick-list updates.
class NevChatTestAccess {
 public:
  static void setState(NevChatSession& session, int inputEnabled, int sendDataOk, int swallow) {
    session.inputEnabled = static_cast<unsigned char>(inputEnabled);
    session.sendDataOk = static_cast<unsigned char>(sendDataOk);
    session.whoToSwallow = swallow;
  }
  static void traceNicks(NevChatSession& session, String* trace) { session.nickTrace = trace; }
  static void limitLines(NevChatSession& session, int lines, int checkEvery) {
    session.styled->setLineLimit(lines, checkEvery);
  }
};

class SessionProbe : public NevChatSession {
 public:
  SessionProbe() : NevChatSession("alice") {
    NevChatTestAccess::traceNicks(*this, &nickTrace);
    getSettings().setSession(this);
  }

  NevChatSession* setTextColor(const char* name) override {
    colour = name;
    return this;
  }
  NevChatSession* setTextFont(const char* name) override {
    font = name;
    return this;
  }
  NevChatSession* printStyled(const char* format, ...) override {
    char text[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (text[0] == '\0') return this;  // an empty text prints nothing
    prints.push_back(colour + "/" + font + " " + text);
    length += static_cast<int>(std::string(text).size());
    return this;
  }
  int outputLength() override { return length; }
  void setTopic(const char* text) override { topic = text; }
  void setChannel(const char* name) override { channel = name; }
  void setBackground(const char* name) override { background = name; }

  void event(const char* name, const char* line, const Vars& vars = {}) {
    feedEvent(*this, name, line, vars);
  }
  // Every print as "colour/font text|".
  std::string allPrints() const {
    std::string all;
    for (const std::string& p : prints) all += p + "|";
    return all;
  }
  void clear() {
    prints.clear();
    nickTrace.assign("");
  }

  std::string colour, font, topic, channel, background;
  std::vector<std::string> prints;
  String nickTrace;
  int length = 0;
};

// A probe session over the fake host, logged in as "alice" for the sentences.
class ProbeTest : public ::testing::Test {
 protected:
  void SetUp() override { session.getSettings().login.assign("alice"); }
  FakeHost host;
  SessionProbe session;
};

// A real session with its styles and chat window built in the fake host's tab.
class ChatWindowTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    session.defineStyles();
    session.buildWindows();
  }
  void TearDown() override {
    session.destroyWindows();
    vorntest::clearKeyStates();
    vorntest::clearPopupMenuAnswers();
    ToolkitTest::TearDown();
  }
  // A pane as read: breaks as "\r", pictures as "[pic]".
  static std::string shown(HWND pane) {
    std::string out;
    for (const vorntest::RichTextRun& run : vorntest::richEditRuns(pane))
      out += run.picture ? "[pic]" : run.text;
    return out;
  }
  // The background at a character of the pane (CLR_INVALID: none).
  static COLORREF backgroundAt(HWND pane, int pos) {
    int at = 0;
    for (const vorntest::RichTextRun& run : vorntest::richEditRuns(pane)) {
      if (pos < at + static_cast<int>(run.text.size()))
        return run.hasBackground ? run.background : CLR_INVALID;
      at += static_cast<int>(run.text.size());
    }
    return CLR_INVALID;
  }

  FakeHost host;
  NevChatSession session{"alice"};
  NevChatSetupPage* settings = &session.getSettings();
};
