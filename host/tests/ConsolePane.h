// A test fixture whose system console is a rich-edit pane of its own, with readers of what the
// pane shows. Derived fixtures call ConsolePaneTest::SetUp first and stop when it skipped.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "host/Console.h"
#include "lib/RichEdit.h"
#include "lib/tests/ToolkitFixture.h"

class ConsolePaneTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (lacksClass("RichEdit20A")) GTEST_SKIP() << "no RichEdit20A control in this build";
    pane = new RichEdit("console", 0);
    pane->createIn(panel);
    pane->move(0, 0, 600, 200);
    setSystemColor(RGB(0, 0, 0));
    setConsole(pane);
    vorntest::clearMessageBoxes();
  }
  void TearDown() override {
    setConsole(nullptr);
    vorntest::clearMessageBoxes();
    delete pane;
    pane = nullptr;
    ControlTest::TearDown();
  }

  // Each run as "text #colour" (the colour as the pane stores it, blue first).
  std::vector<std::string> runs() {
    std::vector<std::string> out;
    char colour[16];
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) {
      std::snprintf(colour, sizeof colour, " #%06x", run.colour);
      out.push_back(run.text + colour);
    }
    return out;
  }

  RichEdit* pane = nullptr;
};
