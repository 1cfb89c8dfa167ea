// The stand-in grid's one picture per process: cells hidden or uncovered with their value and
// colour, drawn into a child window at the top left of the window the game gave, with a
// "Leave" strip below the cells. Cells shrink (down to MinCellSize) so that a large grid fits
// that window. Clicks become the game's message 26310 to that window.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

class GridPicture {
 public:
  enum { CellSize = 18, MinCellSize = 5, LeaveHeight = 22, GameMessage = 26310, Hidden = -100 };

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
  int cellSize() const { return cell; }
  std::string& log() { return calls; }

 private:
  void redraw();
  // The largest cell (up to CellSize) with which the grid and its strip fit the owner.
  int fittingCell() const;
  void paintCell(HDC dc, int x, int y);

  HWND owner = nullptr;
  HWND grid = nullptr;
  int columns = 0;
  int rows = 0;
  int cell = CellSize;
  bool enabled = true;
  int updating = 0;
  std::vector<int> values;
  std::vector<COLORREF> colours;
  std::string calls;
};
