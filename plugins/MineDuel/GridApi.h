// What the board asks of the grid drawing: the six calls of the grid library, behind an
// interface so that a board can be given another grid (the tests' recorder).
#pragma once

#include "platform/win32.h"

class GridApi {
 public:
  virtual ~GridApi() = default;
  // False when the grid cannot be shown (its library or one of its calls is missing).
  virtual bool usable() const = 0;
  virtual void init(HWND window, int width, int height) = 0;
  virtual void enable(bool on) = 0;
  virtual void fill(int x, int y, int value, COLORREF colour) = 0;
  virtual void beginUpdate() = 0;
  virtual void endUpdate() = 0;
};
