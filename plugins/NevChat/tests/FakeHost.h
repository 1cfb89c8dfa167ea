// A stand-in for the host's services table in NevChat's tests: every service records what it
// was asked, settings live in a map, colours and fonts answer the defaults they were given.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "sdk/PlugsModule.h"
#include "sdk/SdkFunctions.h"

class FakeHost {
 public:
  struct Font {
    std::string face;
    int size;
    int style;
  };
  struct Printed {
    std::string text;
    COLORREF colour;  // console colour when printed
  };
  struct Event {
    std::string to, type, data;  // data read as text when not null
  };
  struct Server {
    std::string host;
    int port;
    int flag;
  };

  // realTab: addSystemTab answers a real (hidden) child window instead of null.
  explicit FakeHost(bool realTab = false) : realTab(realTab) {
    current() = this;
    fill();
    plugsSetHandlers(&table, kSdkFunctionsFullSize);
  }
  ~FakeHost() {
    clearPlugsHostTable();
    destroyTab();
    current() = nullptr;
  }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // Everything sent to the server as one text, and cut into lines (each with its "\n").
  std::string sent;
  std::vector<std::string> sentLines() const {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < sent.size(); ++i) {
      if (sent[i] != '\n') continue;
      lines.push_back(sent.substr(start, i + 1 - start));
      start = i + 1;
    }
    if (start < sent.size()) lines.push_back(sent.substr(start));
    return lines;
  }
  void clearSent() { sent.clear(); }

  std::vector<Printed> console;
  COLORREF systemColor = 0;
  std::vector<std::string> colourOrder, fontOrder;  // names in the order of definition
  std::map<std::string, COLORREF> colours;
  std::map<std::string, Font> fonts;
  std::map<std::string, std::string> settings;  // client section, key -> text
  std::map<std::string, bool> plugs;            // hasPlug answers (absent: false)
  std::string plugsList;                        // getPlugsList text
  std::map<std::string, float> plugVersions;
  std::vector<Event> events;
  std::vector<Server> servers;
  std::vector<std::string> tabTexts;
  int highlights = 0;
  int connects = 0;
  float hostVersion = 2.0f;
  bool realTab;
  HWND tabParent = nullptr;
  HWND tab = nullptr;

  SdkFunctions table{};

  static FakeHost*& current() {
    static FakeHost* host = nullptr;
    return host;
  }

 private:
  static std::string format(const char* fmt, va_list args) {
    char buffer[8192];
    vsnprintf(buffer, sizeof buffer, fmt, args);
    return buffer;
  }
  static FakeHost& h() { return *current(); }

  void destroyTab() {
    if (tab != nullptr) DestroyWindow(tab);
    if (tabParent != nullptr) DestroyWindow(tabParent);
    tab = tabParent = nullptr;
  }

  void fill() {
    table.size = sizeof(SdkFunctions);
    table.getHostVersion = [] { return h().hostVersion; };
    table.setSystemColor = [](int r, int g, int b) { h().systemColor = RGB(r, g, b); };
    table.printSystemV = [](const char* f, va_list a) {
      h().console.push_back({format(f, a), h().systemColor});
    };
    table.sendDataToClient = [](const char*, const char*, va_list) {};
    table.disconnect = [](PlugsObject*) {};
    table.connect = [](PlugsObject*) { ++h().connects; };
    table.isConnected = [](PlugsObject*) { return true; };
    table.addServer = [](PlugsObject*, const char* host, int port, int flag) {
      h().servers.push_back({host ? host : "", port, flag});
    };
    table.sendData = [](PlugsObject*, const char* f, va_list a) { h().sent += format(f, a); };
    table.addSystemTab = [](const char* title) -> HWND {
      FakeHost& host = h();
      if (!host.realTab) return nullptr;
      host.tabParent = CreateWindowExA(0, "Static", title, WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                       nullptr, nullptr, nullptr, nullptr);
      host.tab = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480,
                                 host.tabParent, nullptr, nullptr, nullptr);
      return host.tab;
    };
    table.removeSystemTab = [](HWND) { h().destroyTab(); };
    table.highlightSystemTab = [](HWND, bool on) { h().highlights += on ? 1 : 0; };
    table.selectSystemTab = [](HWND) {};
    table.isSystemTabSelected = [](HWND) { return false; };
    table.setSystemTabText = [](HWND, const char* text) { h().tabTexts.push_back(text); };
    table.checkKeyPressed = [](int) { return false; };
    table.defineColor = [](PlugsObject*, const char* name, const char*, int r, int g, int b) {
      // The first definition of a key wins, as the host keeps it.
      if (h().colours.count(name)) return;
      h().colourOrder.push_back(name);
      h().colours[name] = RGB(r, g, b);
    };
    table.getColor = [](PlugsObject*, const char* name) -> COLORREF {
      auto found = h().colours.find(name);
      return found != h().colours.end() ? found->second : 0;
    };
    table.setColor = [](PlugsObject*, const char* name, int r, int g, int b) {
      h().colours[name] = RGB(r, g, b);
    };
    table.defineFont = [](PlugsObject*, const char* name, const char*, const char* face, int size,
                          int style) {
      if (h().fonts.count(name)) return;
      h().fontOrder.push_back(name);
      h().fonts[name] = {face, size, style};
    };
    table.getFont = [](PlugsObject*, const char* name) -> FontRecord {
      auto found = h().fonts.find(name);
      if (found == h().fonts.end()) return {nullptr, 0, 0};
      return {found->second.face.c_str(), found->second.size, found->second.style};
    };
    table.setFont = [](PlugsObject*, const char* name, const char* face, int size, int style) {
      h().fonts[name] = {face, size, style};
    };
    table.hasEvent = [](PlugsObject*, const char*) { return true; };
    table.getClientString = [](PlugsObject*, const char* key, char* buffer, int size,
                               const char* def) -> int {
      auto found = h().settings.find(key);
      std::string value = found != h().settings.end() ? found->second : (def ? def : "");
      if (buffer == nullptr || size <= 0) return 0;
      snprintf(buffer, size, "%s", value.c_str());
      return static_cast<int>(strlen(buffer));
    };
    table.getClientInt = [](PlugsObject*, const char* key, int def) {
      auto found = h().settings.find(key);
      return found != h().settings.end() ? atoi(found->second.c_str()) : def;
    };
    table.getClientBool = [](PlugsObject*, const char* key, bool def) {
      auto found = h().settings.find(key);
      return found != h().settings.end() ? found->second == "1" : def;
    };
    table.getClientFloat = [](PlugsObject*, const char*, float def) { return def; };
    table.writeClientString = [](PlugsObject*, const char* key, const char* value) {
      h().settings[key] = value ? value : "";
    };
    table.writeClientInt = [](PlugsObject*, const char* key, int value) {
      h().settings[key] = std::to_string(value);
    };
    table.writeClientBool = [](PlugsObject*, const char* key, bool value) {
      h().settings[key] = value ? "1" : "0";
    };
    table.writeClientFloat = [](PlugsObject*, const char*, float) {};
    table.hasPlug = [](PlugsObject*, const char* plug) {
      auto found = h().plugs.find(plug);
      return found != h().plugs.end() && found->second;
    };
    table.getPlugAuthor = [](const char*) -> const char* { return "Someone"; };
    table.getPlugVersion = [](const char* plug) {
      auto found = h().plugVersions.find(plug);
      return found != h().plugVersions.end() ? found->second : 0.0f;
    };
    table.getPlugsList = [](PlugsObject*) { return h().plugsList.c_str(); };
    table.sendEvent = [](PlugsObject*, const char* to, const char* type, void* data) {
      h().events.push_back({to, type, data ? static_cast<const char*>(data) : ""});
    };
    table.sendRequest = [](PlugsObject*, const char*, char*, int, const char*, void*) {
      return -1;
    };
    table.updatePlug = [](const char*) {};
  }
};
