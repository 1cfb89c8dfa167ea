#include "plugins/MineDuel/MineGrid.h"

#include <algorithm>

void MineGrid::resize(int width, int height, int count, MineRandom& random) {
  columns = std::max(width, 0);
  rows = std::max(height, 0);
  cells.assign(static_cast<size_t>(columns) * rows, 0);
  placeMines(count, random);
}

void MineGrid::placeMines(int count, MineRandom& random) {
  std::fill(cells.begin(), cells.end(), 0);
  mines = 0;
  if (cells.empty() || count <= 0 || count >= static_cast<int>(cells.size())) return;
  for (int left = count; left > 0;) {
    int x = random.next() % columns;
    int y = random.next() % rows;
    if (cell(x, y) == Mine) continue;
    setMine(x, y);
    --left;
  }
  mines = count;
}

void MineGrid::setMine(int x, int y) {
  cell(x, y) = Mine;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (isInside(x + dx, y + dy) && cell(x + dx, y + dy) != Mine) ++cell(x + dx, y + dy);
}
