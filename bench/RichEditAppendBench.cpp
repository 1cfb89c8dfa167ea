// Time per appended coloured line in a rich edit that already holds 1k, 10k and 100k lines:
// the output panes append at the end for hours, so the cost must not grow with the text.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32.h"

namespace {

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND makePane() {
  static HWND pane = nullptr;
  if (pane) return pane;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = plainProc;
  wc.lpszClassName = "AppendBenchHost";
  RegisterClassExA(&wc);
  HWND top = CreateWindowExA(0, "AppendBenchHost", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                             nullptr, nullptr, nullptr, nullptr);
  ShowWindow(top, SW_SHOW);
  pane = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0,
                         0, 780, 560, top, nullptr, nullptr, nullptr);
  SendMessageA(pane, EM_SETREADONLY, TRUE, 0);
  return pane;
}

// One append as the output pane does it: caret to the end, colour, text, then a colour
// change over the new line's range.
void appendLine(HWND pane, int n) {
  char line[64];
  std::snprintf(line, sizeof line, "\r\n<nick%05d> the quick brown fox jumps over the lazy dog",
                n % 100000);
  SendMessageA(pane, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  CHARFORMAT2A cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR;
  cf.crTextColor = RGB(n % 256, 40, 200);
  SendMessageA(pane, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  GETTEXTLENGTHEX how{GTL_DEFAULT, 0};
  LRESULT start = SendMessageA(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
  SendMessageA(pane, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line));
  LONG from = static_cast<LONG>(start) + 2;
  SendMessageA(pane, EM_SETSEL, static_cast<WPARAM>(from), from + 10);
  cf.crTextColor = RGB(200, 0, 0);
  SendMessageA(pane, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  SendMessageA(pane, EM_SETSEL, static_cast<WPARAM>(from), from);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(pane, SB_VERT, &si);
}

int linesIn(HWND pane) { return static_cast<int>(SendMessageA(pane, EM_GETLINECOUNT, 0, 0)); }

void fillTo(HWND pane, int lines, int* have) {
  while (*have < lines) appendLine(pane, (*have)++);
}

void BM_AppendColouredLine(benchmark::State& state) {
  static int have = 0;
  HWND pane = makePane();
  fillTo(pane, static_cast<int>(state.range(0)), &have);
  int n = have;
  for (auto _ : state) appendLine(pane, n++);
  have = n;
  state.counters["lines"] = static_cast<double>(have);
}
BENCHMARK(BM_AppendColouredLine)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

// 10,000 appends from empty in one go, as a whole.
void BM_TenThousandAppends(benchmark::State& state) {
  for (auto _ : state) {
    HWND pane = makePane();
    SetWindowTextA(pane, "");
    auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 10000; ++i) appendLine(pane, i);
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    state.counters["seconds"] = seconds;
    (void)linesIn;
  }
}
BENCHMARK(BM_TenThousandAppends)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
