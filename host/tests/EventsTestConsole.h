// A console for event tests that keeps every print with the colour it was written in.
#pragma once

#include <string>
#include <vector>

#include "host/EventConsole.h"

class RecordingConsole : public EventConsole {
 public:
  struct Print {
    int color;
    std::string text;
  };
  void setColor(int red, int green, int blue) override { color_ = red << 16 | green << 8 | blue; }
  void print(const char* text) override { prints.push_back({color_, text}); }
  std::string all() const {
    std::string text;
    for (const Print& p : prints) text += p.text;
    return text;
  }
  bool has(const std::string& text) const { return all().find(text) != std::string::npos; }
  std::vector<Print> prints;

 private:
  int color_ = 0;
};
