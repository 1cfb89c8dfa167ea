#include "plugins/MineDuel/MineDuelBoard.h"

#include <ctime>
#include <utility>
#include <vector>

#include "plugins/MineDuel/GridLibrary.h"

MineDuelBoard::MineDuelBoard(std::unique_ptr<GridApi> given)
    : grid(given ? std::move(given) : std::make_unique<GridLibrary>()),
      generator(static_cast<uint32_t>(std::time(nullptr))) {}

bool MineDuelBoard::acceptsSize(int width, int height, int mines) {
  return width >= 1 && width <= MaxSide && height >= 1 && height <= MaxSide && mines >= 1 &&
         mines < width * height;
}

void MineDuelBoard::start(MineDuelBoardOwner* boardOwner, HWND window, int width, int height,
                          int mines) {
  owner = boardOwner;
  grid->init(window, width, height);
  layout.resize(width, height, mines, generator);
  reveal.resize(width, height, 0, generator);
  myScore = 0;
  adversaryScore = 0;
  playing = true;
}

void MineDuelBoard::play(bool remote, int x, int y) {
  if (!playing || !reveal.isInside(x, y) || reveal.cell(x, y) != 0) return;
  if (!remote && owner != nullptr) owner->sendMove(x, y);
  if (layout.cell(x, y) != MineGrid::Mine) {
    revealFrom(x, y);
    grid->enable(remote);
    if (owner != nullptr) owner->updateScore(myScore, adversaryScore, remote ? 1 : 0, 0);
    return;
  }
  grid->fill(x, y, MineGrid::Shown, remote ? kPartnerMine : kLocalMine);
  reveal.cell(x, y) = MineGrid::Shown;
  int& score = remote ? adversaryScore : myScore;
  ++score;
  int mines = layout.mineCount();
  if (score == mines / 2 + 1) {
    if (owner != nullptr) owner->updateScore(myScore, adversaryScore, remote ? 0 : 1, 1);
    revealAll();
  } else if (myScore + adversaryScore == mines) {
    if (owner != nullptr) owner->updateScore(myScore, adversaryScore, -1, 1);
    revealAll();
  } else if (owner != nullptr) {
    owner->updateScore(myScore, adversaryScore, remote ? 0 : 1, 0);
  }
}

void MineDuelBoard::revealFrom(int x, int y) {
  grid->beginUpdate();
  flood(x, y);
  grid->endUpdate();
}

// Cells are taken from an explicit stack in the order a recursive walk would show them, so a
// large empty area costs no call depth.
void MineDuelBoard::flood(int x, int y) {
  static const int kOrder[9][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 0},
                                   {0, 1},   {1, -1}, {1, 0},  {1, 1}};
  std::vector<std::pair<int, int>> pending{{x, y}};
  while (!pending.empty()) {
    auto [cx, cy] = pending.back();
    pending.pop_back();
    if (!reveal.isInside(cx, cy) || reveal.cell(cx, cy) != 0) continue;
    int value = layout.cell(cx, cy);
    grid->fill(cx, cy, value, kPlain);
    reveal.cell(cx, cy) = MineGrid::Shown;
    if (value != 0) continue;
    for (int i = 8; i >= 0; --i) pending.emplace_back(cx + kOrder[i][0], cy + kOrder[i][1]);
  }
}

void MineDuelBoard::revealAll() {
  grid->enable(false);
  grid->beginUpdate();
  for (int x = 0; x < layout.width(); ++x)
    for (int y = 0; y < layout.height(); ++y)
      if (reveal.cell(x, y) == 0 && layout.cell(x, y) == MineGrid::Mine) {
        grid->fill(x, y, MineGrid::Mine, kPlain);
        reveal.cell(x, y) = MineGrid::Shown;
      }
  grid->endUpdate();
  playing = false;
}
