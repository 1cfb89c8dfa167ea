// A NevChat session whose window side is replaced by records: each print with the colour and
// font it was given, the topic, channel and background, and the nick-list updates as text.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevChat/tests/FakeHost.h"
#include "plugins/NevChat/tests/NevChatTestAccess.h"

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

  // Feeds one event with the line and its variables (name, value pairs).
  void event(const char* name, const char* line,
             std::vector<std::pair<const char*, const char*>> vars = {}) {
    std::vector<char*> pairs;
    for (auto& v : vars) {
      pairs.push_back(const_cast<char*>(v.first));
      pairs.push_back(const_cast<char*>(v.second));
    }
    EventData data{const_cast<char*>(line), static_cast<int>(vars.size()), pairs.data()};
    onEvent(1, name, &data);
  }
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
