// Test support shared by the host's tests: a fresh working folder per test, and a system console
// on a rich-edit pane of its own with readers of what the pane shows.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/Console.h"
#include "lib/RichEdit.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/tests/TempFolder.h"

using Lines = std::vector<std::string>;

// A fresh folder as the working folder while it lives: the settings files are named relative to
// it.
class InFolder {
 public:
  InFolder() : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder.path());
  }
  ~InFolder() { std::filesystem::current_path(previous); }
  TempFolder folder;
  std::filesystem::path previous;
};

// Derived fixtures call ConsolePaneTest::SetUp first and stop when it skipped.
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

  // Each run as "text #colour" (the colour as the pane stores it, blue first); the pane's CR
  // line ends read as LF.
  std::vector<std::string> runs() {
    std::vector<std::string> out;
    char colour[16];
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) {
      std::snprintf(colour, sizeof colour, " #%06x", run.colour);
      out.push_back(lf(run.text) + colour);
    }
    return out;
  }
  std::string console() {
    std::string text;
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) text += lf(run.text);
    return text;
  }
  void clearConsole() { SetWindowTextA(pane->getHwnd(), ""); }
  static std::string lf(std::string text) {
    for (char& c : text)
      if (c == '\r') c = '\n';
    return text;
  }

  RichEdit* pane = nullptr;
};
