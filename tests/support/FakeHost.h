// A stand-in for the host's services table in the plug-ins' tests: every service records what
// it was asked, settings live in a map, colours and fonts answer the defaults they were given.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"
#include "sdk/EventData.h"
#include "sdk/PlugsModule.h"
#include "sdk/SdkFunctions.h"

// An event's variables as name and value pairs.
using Vars = std::vector<std::pair<const char*, const char*>>;

// Hands one event to an add-in session as the host does; returns whether it intercepted.
template <typename Session>
bool feedAddin(Session& session, const char* name, const Vars& vars, const char* line = "") {
  std::vector<char*> pairs;
  for (const auto& v : vars) {
    pairs.push_back(const_cast<char*>(v.first));
    pairs.push_back(const_cast<char*>(v.second));
  }
  EventData data{const_cast<char*>(line), static_cast<int>(vars.size()), pairs.data()};
  return session.onEvent(1, name, &data, false);
}

class FakeHost {
 public:
  FakeHost() {
    current() = this;
    fill();
    plugsSetHandlers(&table, kSdkFunctionsFullSize);
  }
  ~FakeHost() {
    clearPlugsHostTable();
    if (tab != nullptr) DestroyWindow(tab);
    if (tabParent != nullptr) DestroyWindow(tabParent);
    current() = nullptr;
  }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // The first user event sent, or "" when none was.
  std::string firstEvent() const { return events.empty() ? "" : events[0]; }
  void clear() {
    sent.clear();
    events.clear();
    requests.clear();
  }

  std::string sent;                  // everything sent to the server
  std::vector<std::string> console;  // system console lines
  std::vector<std::string> events;   // "to type data" (data as text)
  std::vector<std::string> requests;  // "to request" of every request asked
  // Scripted answers by request name: the result and the text copied into the answer buffer.
  // A request with no script is unanswered (-1), as when no plug-in takes it.
  std::map<std::string, std::pair<int, std::string>> answers;
  std::vector<std::string> servers;  // "host port flag"
  std::vector<std::string> tabTexts;
  std::map<std::string, COLORREF> colours;
  std::map<std::string, FontRecord> fonts;      // faces are the code's literals
  std::map<std::string, std::string> settings;  // client section, key -> text
  std::map<std::string, std::string> systemSettings;  // the host's "System" section
  std::map<std::string, bool> plugs;            // hasPlug answers (absent: false)
  std::string plugsList;                        // getPlugsList text
  std::map<std::string, float> plugVersions;
  std::vector<HWND> removedTabs;      // removeSystemTab calls, in order
  std::vector<HWND> selectedTabs;     // selectSystemTab calls, in order
  std::vector<HWND> highlightedTabs;  // highlightSystemTab calls that turned it on
  HWND frontTab = nullptr;            // isSystemTabSelected answers true for this tab
  int connects = 0;
  int takenKey = 0;  // checkKeyPressed answers true for this key
  HWND tabParent = nullptr, tab = nullptr;
  SdkFunctions table{};

  static FakeHost*& current() {
    static FakeHost* host = nullptr;
    return host;
  }

 private:
  static FakeHost& h() { return *current(); }
  static std::string format(const char* f, va_list a) {
    char text[8192];
    vsnprintf(text, sizeof text, f, a);
    return text;
  }
  static const std::string* setting(const char* key) {
    auto found = h().settings.find(key);
    return found != h().settings.end() ? &found->second : nullptr;
  }

  static const std::string* systemSetting(const char* key) {
    auto found = h().systemSettings.find(key);
    return found != h().systemSettings.end() ? &found->second : nullptr;
  }
  // The system settings services, as the client ones but in systemSettings.
  void fillSystemSettings() {
    table.getSystemString = [](const char* key, char* buffer, int size, const char* def) -> int {
      const std::string* value = systemSetting(key);
      if (buffer == nullptr || size <= 0) return 0;
      snprintf(buffer, size, "%s", value ? value->c_str() : (def ? def : ""));
      return static_cast<int>(strlen(buffer));
    };
    table.getSystemInt = [](const char* key, int def) {
      return systemSetting(key) ? atoi(systemSetting(key)->c_str()) : def;
    };
    table.getSystemBool = [](const char* key, bool def) {
      return systemSetting(key) ? *systemSetting(key) == "1" : def;
    };
    table.writeSystemString = [](const char* key, const char* value) {
      h().systemSettings[key] = value ? value : "";
    };
    table.writeSystemInt = [](const char* key, int value) {
      h().systemSettings[key] = std::to_string(value);
    };
    table.writeSystemBool = [](const char* key, bool value) {
      h().systemSettings[key] = value ? "1" : "0";
    };
  }

  void fill() {
    table.size = sizeof(SdkFunctions);
    table.getHostVersion = [] { return 2.0f; };
    table.printSystemV = [](const char* f, va_list a) { h().console.push_back(format(f, a)); };
    table.connect = [](PlugsObject*) { ++h().connects; };
    table.addServer = [](PlugsObject*, const char* host, int port, int flag) {
      h().servers.push_back(std::string(host ? host : "") + " " + std::to_string(port) + " " +
                            std::to_string(flag));
    };
    table.sendData = [](PlugsObject*, const char* f, va_list a) { h().sent += format(f, a); };
    table.addSystemTab = [](const char* title) -> HWND {
      FakeHost& host = h();
      host.tabParent = CreateWindowExA(0, "Static", title, WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                       nullptr, nullptr, nullptr, nullptr);
      host.tab = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480,
                                 host.tabParent, nullptr, nullptr, nullptr);
      ShowWindow(host.tabParent, SW_SHOW);
      return host.tab;
    };
    table.setSystemTabText = [](HWND, const char* text) { h().tabTexts.push_back(text); };
    // The tab's window goes with its parent, as the host's page does.
    table.removeSystemTab = [](HWND tab) {
      h().removedTabs.push_back(tab);
      DestroyWindow(GetParent(tab));
    };
    table.selectSystemTab = [](HWND tab) {
      h().selectedTabs.push_back(tab);
      h().frontTab = tab;
    };
    table.highlightSystemTab = [](HWND tab, bool on) {
      if (on) h().highlightedTabs.push_back(tab);
    };
    table.isSystemTabSelected = [](HWND tab) { return tab != nullptr && tab == h().frontTab; };
    table.checkKeyPressed = [](int key) { return key == h().takenKey; };
    // The first definition of a key wins, as the host keeps it.
    table.defineColor = [](PlugsObject*, const char* name, const char*, int r, int g, int b) {
      h().colours.emplace(name, RGB(r, g, b));
    };
    table.getColor = [](PlugsObject*, const char* name) { return h().colours[name]; };
    table.defineFont = [](PlugsObject*, const char* name, const char*, const char* face, int size,
                          int style) {
      h().fonts.emplace(name, FontRecord{face, size, style});
    };
    table.getFont = [](PlugsObject*, const char* name) -> FontRecord {
      auto found = h().fonts.find(name);
      return found != h().fonts.end() ? found->second : FontRecord{nullptr, 0, 0};
    };
    table.getClientString = [](PlugsObject*, const char* key, char* buffer, int size,
                               const char* def) -> int {
      const std::string* value = setting(key);
      if (buffer == nullptr || size <= 0) return 0;
      snprintf(buffer, size, "%s", value ? value->c_str() : (def ? def : ""));
      return static_cast<int>(strlen(buffer));
    };
    table.getClientInt = [](PlugsObject*, const char* key, int def) {
      return setting(key) ? atoi(setting(key)->c_str()) : def;
    };
    table.getClientBool = [](PlugsObject*, const char* key, bool def) {
      return setting(key) ? *setting(key) == "1" : def;
    };
    table.writeClientString = [](PlugsObject*, const char* key, const char* value) {
      h().settings[key] = value ? value : "";
    };
    table.writeClientInt = [](PlugsObject*, const char* key, int value) {
      h().settings[key] = std::to_string(value);
    };
    table.writeClientBool = [](PlugsObject*, const char* key, bool value) {
      h().settings[key] = value ? "1" : "0";
    };
    fillSystemSettings();
    table.hasPlug = [](PlugsObject*, const char* plug) { return h().plugs[plug]; };
    table.getPlugVersion = [](const char* plug) { return h().plugVersions[plug]; };
    table.getPlugsList = [](PlugsObject*) { return h().plugsList.c_str(); };
    table.sendEvent = [](PlugsObject*, const char* to, const char* type, void* data) {
      h().events.push_back(std::string(to) + " " + type + " " + (data ? (const char*)data : ""));
    };
    table.sendRequest = [](PlugsObject*, const char* to, char* answer, int size,
                           const char* request, void*) {
      h().requests.push_back(std::string(to ? to : "") + " " + (request ? request : ""));
      auto found = h().answers.find(request ? request : "");
      if (found == h().answers.end()) return -1;
      if (answer != nullptr && size > 0) snprintf(answer, size, "%s", found->second.second.c_str());
      return found->second.first;
    };
  }
};
