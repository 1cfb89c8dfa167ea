// A NevTell session over the fake host, its tabs built in real windows, and the ways the tests
// feed it events and read its tabs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"
#include "plugins/NevTell/NevTellInputWindow.h"
#include "plugins/NevTell/NevTellSession.h"
#include "plugins/NevTell/NevTellTab.h"
#include "tests/support/FakeHost.h"

class TellTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    host.answers["login"] = {5, "alice"};
    session.init();
  }
  void TearDown() override {
    session.term();
    vorntest::clearPopupMenuAnswers();
    ToolkitTest::TearDown();
  }

  // Hands one event to the session as the host does; returns whether it intercepted.
  bool event(const char* name, const char* line, const Vars& vars = {}) {
    return feedAddin(session, name, vars, line);
  }
  // A tab's conversation as read: breaks as "\r", pictures as "[pic]".
  static std::string shown(NevTellTab* tab) {
    std::string out;
    if (tab == nullptr) return out;
    for (const vorntest::RichTextRun& run : vorntest::richEditRuns(tab->getOutput()->getHwnd()))
      out += run.picture ? "[pic]" : run.text;
    return out;
  }
  // The colour the run holding part is drawn in (-1: not shown).
  static long colourOf(NevTellTab* tab, const std::string& part) {
    for (const vorntest::RichTextRun& run : vorntest::richEditRuns(tab->getOutput()->getHwnd()))
      if (run.text.find(part) != std::string::npos) return static_cast<long>(run.colour);
    return -1;
  }
  void enter(NevTellTab* tab, const char* text) {
    tab->getInput()->setText(text);
    tab->getInput()->onEnter();
  }

  FakeHost host;
  NevTellSession session{"alice"};
};
