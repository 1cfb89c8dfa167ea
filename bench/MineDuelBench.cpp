// MineDuel's two costs a player could feel: the flood reveal of an empty 100 x 100 board (every
// cell filled in one update) and a repaint of a game's whole grid by the grid library stand-in.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "plugins/MineDuel/GridLibrary.h"
#include "plugins/MineDuel/MineDuelBoard.h"

namespace {

// The rules alone, drawing nothing.
class NoGrid : public GridApi {
 public:
  bool usable() const override { return true; }
  void init(HWND, int, int) override {}
  void enable(bool) override {}
  void fill(int, int, int, COLORREF) override {}
  void beginUpdate() override {}
  void endUpdate() override {}
};

HWND gameWindow() {
  static HWND window = nullptr;
  if (window != nullptr) return window;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  window = CreateWindowExA(0, "Static", "game", WS_OVERLAPPEDWINDOW, 0, 0, 1900, 1900, nullptr,
                           nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  return window;
}

void floodEmpty(benchmark::State& state, std::unique_ptr<GridApi> grid) {
  MineDuelBoard board(std::move(grid));
  HWND window = gameWindow();
  for (auto _ : state) {
    state.PauseTiming();
    board.start(nullptr, window, 100, 100, 0);
    state.ResumeTiming();
    board.revealFrom(50, 50);
  }
  state.counters["cells"] = static_cast<double>(board.getReveal().width() * board.getReveal().height());
}

void BM_FloodRevealRules(benchmark::State& state) { floodEmpty(state, std::make_unique<NoGrid>()); }

void BM_FloodRevealWithGrid(benchmark::State& state) {
  floodEmpty(state, std::make_unique<GridLibrary>(MINEGRID_PATH));
}

// The grid picture of a game in progress (a revealed area, found mines) painted whole.
void repaint(benchmark::State& state, int side, int mines) {
  MineDuelBoard board(std::make_unique<GridLibrary>(MINEGRID_PATH));
  HWND window = gameWindow();
  board.random().seed(1);
  board.start(nullptr, window, side, side, mines);
  if (mines == 0)
    board.revealFrom(0, 0);  // every cell uncovered
  else
    for (int x = 0; x < side; x += 3) board.play(x % 2 == 1, x, side / 2);
  using WindowCall = HWND (*)();
  HMODULE library = LoadLibraryA(MINEGRID_PATH);
  auto gridWindow = reinterpret_cast<WindowCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "MineGridWindow")));
  HWND grid = gridWindow();
  for (auto _ : state) {
    InvalidateRect(grid, nullptr, FALSE);
    UpdateWindow(grid);
  }
}

void BM_RepaintGame16(benchmark::State& state) { repaint(state, 16, 50); }
void BM_RepaintBoard100(benchmark::State& state) { repaint(state, 100, 2000); }
void BM_RepaintUncovered100(benchmark::State& state) { repaint(state, 100, 0); }

BENCHMARK(BM_FloodRevealRules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodRevealWithGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintGame16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintBoard100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintUncovered100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
