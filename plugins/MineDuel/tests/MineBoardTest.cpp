// The board's rules as pure code: the generator both peers share, the layout it gives, the
// flood reveal's order, scoring, turns, the end of a game and moves the board must refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "plugins/MineDuel/MineDuelBoard.h"
#include "plugins/MineDuel/tests/FakeGrid.h"

namespace {

struct Reports : MineDuelBoardOwner {
  void sendMove(int x, int y) override { moves.push_back(std::to_string(x) + "," + std::to_string(y)); }
  void updateScore(int my, int adv, int turn, int over) override {
    scores.push_back(std::to_string(my) + ":" + std::to_string(adv) + " turn " +
                     std::to_string(turn) + " over " + std::to_string(over));
  }
  std::vector<std::string> moves, scores;
};

class MineBoard : public ::testing::Test {
 protected:
  void start(uint32_t seed, int width, int height, int mines) {
    board.random().seed(seed);
    board.start(&reports, nullptr, width, height, mines);
    log->clear();
    reports = Reports();
  }
  // The first cell (column by column) whose layout value satisfies test.
  std::pair<int, int> find(const std::function<bool(int)>& test) {
    const MineGrid& layout = board.getLayout();
    for (int x = 0; x < layout.width(); ++x)
      for (int y = 0; y < layout.height(); ++y)
        if (test(layout.cell(x, y)) && board.getReveal().cell(x, y) == 0) return {x, y};
    return {-1, -1};
  }

  std::shared_ptr<GridLog> log = std::make_shared<GridLog>();
  MineDuelBoard board{std::make_unique<FakeGrid>(log)};
  Reports reports;
};

TEST(MineRandomTest, SeedOneGivesTheSharedSequenceAndTheFirstMine) {
  MineRandom random(1);
  EXPECT_EQ(41, random.next());
  EXPECT_EQ(18467, random.next());
  EXPECT_EQ(6334, random.next());

  MineGrid grid;
  random.seed(1);
  grid.resize(16, 16, 50, random);
  EXPECT_EQ(MineGrid::Mine, grid.cell(9, 3));
  int mines = 0;
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      if (grid.cell(x, y) == MineGrid::Mine) {
        ++mines;
        continue;
      }
      int around = 0;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          around += grid.isInside(x + dx, y + dy) && grid.cell(x + dx, y + dy) == MineGrid::Mine;
      EXPECT_EQ(around, grid.cell(x, y)) << x << "," << y;
    }
  EXPECT_EQ(50, mines);
  EXPECT_EQ(50, grid.mineCount());

  // A layout that cannot be laid out is refused instead of drawing forever.
  grid.resize(2, 2, 4, random);
  EXPECT_EQ(0, grid.mineCount());
}

TEST_F(MineBoard, FloodRevealShowsTheAreaInTheOrderOfARecursiveWalk) {
  start(7, 30, 20, 12);
  const MineGrid& layout = board.getLayout();
  std::vector<int> seen(30 * 20, 0);
  GridLog expected{"begin"};
  std::function<void(int, int)> walk = [&](int x, int y) {
    if (!layout.isInside(x, y) || seen[y * 30 + x]) return;
    seen[y * 30 + x] = 1;
    char text[64];
    std::snprintf(text, sizeof text, "fill %i,%i=%i #000000", x, y, layout.cell(x, y));
    expected.push_back(text);
    if (layout.cell(x, y) != 0) return;
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) walk(x + dx, y + dy);
  };
  auto [x, y] = find([](int value) { return value == 0; });
  walk(x, y);
  expected.push_back("end");
  expected.push_back("enable 0");
  board.play(false, x, y);
  EXPECT_EQ(expected, *log);
  EXPECT_GT(expected.size(), 20u) << "a real area";
  EXPECT_EQ(std::vector<std::string>{std::to_string(x) + "," + std::to_string(y)}, reports.moves);
  EXPECT_EQ("0:0 turn 0 over 0", reports.scores.back());

  // A numbered cell shows alone, and the turn comes back with the partner's miss.
  log->clear();
  auto numbered = find([](int value) { return value > 0; });
  board.play(true, numbered.first, numbered.second);
  EXPECT_EQ(4u, log->size());
  EXPECT_EQ("enable 1", log->back());
  EXPECT_EQ("0:0 turn 1 over 0", reports.scores.back());
}

TEST_F(MineBoard, AMineScoresAndKeepsTheTurnUntilHalfTheMinesAndOneWin) {
  start(1, 16, 16, 50);
  for (int found = 1; found <= 26; ++found) {
    auto mine = find([](int value) { return value == MineGrid::Mine; });
    board.play(false, mine.first, mine.second);
    if (found == 1) {
      EXPECT_EQ((GridLog{"fill " + std::to_string(mine.first) + "," + std::to_string(mine.second) +
                         "=-1 #ff0000"}),
                *log) << "blue in COLORREF order, and no change of turn";
      EXPECT_EQ("1:0 turn 1 over 0", reports.scores.back());
    }
  }
  EXPECT_EQ("26:0 turn 1 over 1", reports.scores.back());
  EXPECT_FALSE(board.isPlaying());
  EXPECT_EQ(24, static_cast<int>(std::count_if(log->begin(), log->end(), [](const std::string& s) {
              return s.find("=-2 #000000") != std::string::npos;
            }))) << "every mine nobody found is shown at the end";
  EXPECT_EQ(0, std::count(log->begin(), log->end(), "enable 1"));

  // Moves after the end, on shown cells or outside the grid change nothing and send nothing.
  size_t moves = reports.moves.size();
  log->clear();
  board.play(false, 0, 0);
  board.play(true, 0, 0);
  EXPECT_TRUE(log->empty());
  EXPECT_EQ(moves, reports.moves.size());
}

TEST_F(MineBoard, EvenScoresWithEveryMineFoundEndWithoutAWinner) {
  start(3, 3, 3, 2);
  auto first = find([](int value) { return value == MineGrid::Mine; });
  board.play(false, first.first, first.second);
  board.play(false, first.first, first.second);  // shown already: nothing
  auto second = find([](int value) { return value == MineGrid::Mine; });
  board.play(true, second.first, second.second);
  EXPECT_EQ("1:1 turn -1 over 1", reports.scores.back());
  EXPECT_EQ(1u, reports.moves.size());
  EXPECT_EQ("fill " + std::to_string(second.first) + "," + std::to_string(second.second) +
                "=-1 #0000ff",
            (*log)[1]);
  EXPECT_FALSE(board.isPlaying());

  start(3, 3, 3, 2);
  board.play(true, -1, 0);
  board.play(true, 3, 0);
  board.play(false, 0, 99);
  EXPECT_TRUE(log->empty());
  EXPECT_TRUE(reports.moves.empty());
}

}  // namespace
