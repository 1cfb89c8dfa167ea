// The window tests' own stand-in for the host services (until the shared fake host is in
// this branch): records sends, console lines, events and tab texts; keeps colours and fonts.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "lib/tests/ToolkitFixture.h"
#include "platform/win32.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevChat/tests/NevChatTestAccess.h"
#include "sdk/PlugsModule.h"
#include "sdk/SdkFunctions.h"

class WindowsFakeHost {
 public:
  struct Event {
    std::string to, type, data;
  };

  WindowsFakeHost() {
    current() = this;
    fill();
    plugsSetHandlers(&table, kSdkFunctionsFullSize);
  }
  ~WindowsFakeHost() {
    clearPlugsHostTable();
    if (tab != nullptr) DestroyWindow(tab);
    if (tabParent != nullptr) DestroyWindow(tabParent);
    current() = nullptr;
  }

  std::string sent;
  std::vector<std::string> console;
  std::vector<Event> events;
  std::vector<std::string> tabTexts;
  std::map<std::string, COLORREF> colours;
  std::map<std::string, FontRecord> fonts;
  std::vector<std::string> colourOrder, fontOrder;
  std::map<std::string, bool> plugs;
  int connects = 0;
  int takenKey = 0;  // checkKeyPressed answers true for this key
  HWND tabParent = nullptr, tab = nullptr;
  SdkFunctions table{};

  static WindowsFakeHost*& current() {
    static WindowsFakeHost* host = nullptr;
    return host;
  }

 private:
  static WindowsFakeHost& h() { return *current(); }
  static std::string format(const char* f, va_list a) {
    char text[8192];
    vsnprintf(text, sizeof text, f, a);
    return text;
  }

  void fill() {
    table.size = sizeof(SdkFunctions);
    table.getHostVersion = [] { return 2.0f; };
    table.setSystemColor = [](int, int, int) {};
    table.printSystemV = [](const char* f, va_list a) { h().console.push_back(format(f, a)); };
    table.connect = [](PlugsObject*) { ++h().connects; };
    table.sendData = [](PlugsObject*, const char* f, va_list a) { h().sent += format(f, a); };
    table.addSystemTab = [](const char* title) -> HWND {
      WindowsFakeHost& host = h();
      host.tabParent = CreateWindowExA(0, "Static", title, WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                       nullptr, nullptr, nullptr, nullptr);
      host.tab = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480,
                                 host.tabParent, nullptr, nullptr, nullptr);
      ShowWindow(host.tabParent, SW_SHOW);
      return host.tab;
    };
    table.removeSystemTab = [](HWND) {};
    table.highlightSystemTab = [](HWND, bool) {};
    table.setSystemTabText = [](HWND, const char* text) { h().tabTexts.push_back(text); };
    table.checkKeyPressed = [](int key) { return key == h().takenKey; };
    table.defineColor = [](PlugsObject*, const char* name, const char*, int r, int g, int b) {
      if (h().colours.count(name)) return;
      h().colourOrder.push_back(name);
      h().colours[name] = RGB(r, g, b);
    };
    table.getColor = [](PlugsObject*, const char* name) -> COLORREF {
      auto found = h().colours.find(name);
      return found != h().colours.end() ? found->second : 0;
    };
    table.defineFont = [](PlugsObject*, const char* name, const char*, const char* face, int size,
                          int style) {
      if (h().fonts.count(name)) return;
      h().fontOrder.push_back(name);
      h().fonts[name] = {face, size, style};  // the faces are string literals
    };
    table.getFont = [](PlugsObject*, const char* name) -> FontRecord {
      auto found = h().fonts.find(name);
      return found != h().fonts.end() ? found->second : FontRecord{nullptr, 0, 0};
    };
    table.hasPlug = [](PlugsObject*, const char* plug) {
      auto found = h().plugs.find(plug);
      return found != h().plugs.end() && found->second;
    };
    table.sendEvent = [](PlugsObject*, const char* to, const char* type, void* data) {
      h().events.push_back({to, type, data ? static_cast<const char*>(data) : ""});
    };
  }
};

// A session with its styles and chat window built in a shown tab.
class ChatWindowTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    settings = &NevChatTestAccess::settings(session);
    session.defineStyles();
    session.buildWindows();
  }
  void TearDown() override {
    session.destroyWindows();
    NevChatTestAccess::dropSettings(session);
    vorntest::clearKeyStates();
    vorntest::clearPopupMenuAnswers();
    ToolkitTest::TearDown();
  }
  // The pane as read: breaks as "\r", pictures as "[pic]".
  static std::string shown(HWND pane) {
    std::string out;
    for (const vorntest::RichTextRun& run : vorntest::richEditRuns(pane))
      out += run.picture ? "[pic]" : run.text;
    return out;
  }

  WindowsFakeHost host;
  NevChatSession session{"alice"};
  NevChatSetupPage* settings = nullptr;
};
