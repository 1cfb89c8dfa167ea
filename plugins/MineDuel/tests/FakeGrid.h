// A grid drawing that writes each call into a log the test keeps: "init 16x16", "enable 0",
// "fill 3,4=-1 #ff0000", "begin", "end".
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "plugins/MineDuel/GridApi.h"

using GridLog = std::vector<std::string>;

class FakeGrid : public GridApi {
 public:
  explicit FakeGrid(std::shared_ptr<GridLog> log, bool working = true)
      : log(std::move(log)), working(working) {}
  bool usable() const override { return working; }
  void init(HWND, int width, int height) override {
    log->push_back("init " + std::to_string(width) + "x" + std::to_string(height));
  }
  void enable(bool on) override { log->push_back(on ? "enable 1" : "enable 0"); }
  void fill(int x, int y, int value, COLORREF colour) override {
    char text[64];
    std::snprintf(text, sizeof text, "fill %i,%i=%i #%06x", x, y, value, colour);
    log->push_back(text);
  }
  void beginUpdate() override { log->push_back("begin"); }
  void endUpdate() override { log->push_back("end"); }

 private:
  std::shared_ptr<GridLog> log;
  bool working;
};
