// A grid of numbers, row-major: the mine layout (-2 a mine, else the mines around, 0 to 8) or
// the reveal marks (0 hidden, -1 shown).
#pragma once

#include <cstddef>
#include <vector>

#include "plugins/MineDuel/MineRandom.h"

class MineGrid {
 public:
  enum { Mine = -2, Shown = -1 };

  int width() const { return columns; }
  int height() const { return rows; }
  int mineCount() const { return mines; }
  bool isInside(int x, int y) const { return x >= 0 && x < columns && y >= 0 && y < rows; }
  // The cell's storage; the caller keeps (x, y) inside.
  int& cell(int x, int y) { return cells[static_cast<size_t>(y) * columns + x]; }
  int cell(int x, int y) const { return cells[static_cast<size_t>(y) * columns + x]; }

  // Every cell 0, then count mines drawn from random (none for a reveal grid).
  void resize(int width, int height, int count, MineRandom& random);
  // x is drawn before y; a place that already holds a mine is drawn again. The caller keeps
  // count below the number of cells.
  void placeMines(int count, MineRandom& random);
  void setMine(int x, int y);

 private:
  int columns = 0;
  int rows = 0;
  int mines = 0;
  std::vector<int> cells;
};
