// One player's board of a game: the shared mine layout, what has been uncovered, both scores
// and whose turn it is, shown through the grid drawing and reported to the board's owner.
#pragma once

#include <memory>

#include "platform/win32.h"
#include "plugins/MineDuel/GridApi.h"
#include "plugins/MineDuel/MineGrid.h"
#include "plugins/MineDuel/MineRandom.h"

class MineDuelBoardOwner {
 public:
  // A local move, to be sent to the partner before it is applied.
  virtual void sendMove(int x, int y) = 0;
  // turn: 1 the local player (or the winner), 0 the partner, -1 no winner; over: game ended.
  virtual void updateScore(int myScore, int adversaryScore, int turn, int over) = 0;

 protected:
  ~MineDuelBoardOwner() = default;
};

class MineDuelBoard {
 public:
  static constexpr COLORREF kLocalMine = RGB(0, 0, 255);
  static constexpr COLORREF kPartnerMine = RGB(255, 0, 0);
  static constexpr COLORREF kPlain = RGB(0, 0, 0);
  enum { MaxSide = 100 };

  // The grid drawing is the library loaded by name unless one is given.
  explicit MineDuelBoard(std::unique_ptr<GridApi> grid = nullptr);

  // Whether a partner's game of this size can be held: 1 to 100 a side, at least one mine and
  // at least one cell free.
  static bool acceptsSize(int width, int height, int mines);

  bool isUsable() const { return grid->usable(); }
  void start(MineDuelBoardOwner* owner, HWND window, int width, int height, int mines);
  bool isPlaying() const { return playing; }
  void enable(bool on) { grid->enable(on); }
  // A move; remote for the partner's. Cells shown already and places outside are ignored.
  void play(bool remote, int x, int y);
  void revealFrom(int x, int y);
  void revealAll();

  MineRandom& random() { return generator; }
  const MineGrid& getLayout() const { return layout; }
  const MineGrid& getReveal() const { return reveal; }
  int getMyScore() const { return myScore; }
  int getAdversaryScore() const { return adversaryScore; }

 private:
  void flood(int x, int y);

  std::unique_ptr<GridApi> grid;
  MineRandom generator;
  MineGrid layout;
  MineGrid reveal;
  MineDuelBoardOwner* owner = nullptr;
  bool playing = false;
  int myScore = 0;
  int adversaryScore = 0;
};
