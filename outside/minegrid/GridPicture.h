// The stand-in grid's one picture per process: cells hidden or uncovered with their value and
// colour, drawn into a child window at the top left of the window the game gave, with a
// "Leave" strip below the cells. Clicks become the game's message 26310 to that window.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

class GridPicture {
 public:
  enum { CellSize = 18, LeaveHeight = 22, GameMessage = 26310, Hidden = -100 };

  static GridPicture& current();

  void init(HWND owner, int width, int height);
  void enable(bool on) { enabled = on; }
  void fill(int x, int y, int value, COLORREF colour);
  void beginUpdate() { ++updating; }
  void endUpdate();
  // A click at a cell (or on the leave strip with column -1): posted as a person's would be.
  bool click(int column, int row);
  void paint(HDC dc);

  HWND window() const { return grid; }
  std::string& log() { return calls; }

 private:
  void redraw();
  void paintCell(HDC dc, int x, int y);

  HWND owner = nullptr;
  HWND grid = nullptr;
  int columns = 0;
  int rows = 0;
  bool enabled = true;
  int updating = 0;
  std::vector<int> values;
  std::vector<COLORREF> colours;
  std::string calls;
};
