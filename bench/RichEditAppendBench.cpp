// Time per appended coloured line in a rich edit that already holds 1k, 10k and 100k lines,
// and 10,000 appends into an empty pane: the output panes append at the end for hours, so
// the cost must not grow with the text. A picture appended through the OLE interface, at 10k
// lines, costs about what a character does. The summary at the end gives thread CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "lib/PictureDataObject.h"
#include "platform/win32.h"

namespace {

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

HWND topWindow() {
  static HWND top = nullptr;
  if (top) return top;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = plainProc;
  wc.lpszClassName = "AppendBenchHost";
  RegisterClassExA(&wc);
  top = CreateWindowExA(0, "AppendBenchHost", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                        nullptr, nullptr, nullptr);
  ShowWindow(top, SW_SHOW);
  return top;
}

HWND newPane() {
  HWND pane =
      CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0,
                      780, 560, topWindow(), nullptr, nullptr, nullptr);
  SendMessageA(pane, EM_SETREADONLY, TRUE, 0);
  return pane;
}

// One append as the output pane does it: caret to the end, colour, text, then a colour
// change over the new line's range, then the caret back to the end.
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
  CHARRANGE range{from, from + 10};
  SendMessageA(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  cf.crTextColor = RGB(200, 0, 0);
  SendMessageA(pane, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  SendMessageA(pane, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(pane, SB_VERT, &si);
}

// The pane the sized runs share: it grows from one run to the next.
struct SharedPane {
  HWND pane = nullptr;
  int lines = 0;
} shared;

struct Summary {
  double perAppend[3] = {0, 0, 0};  // µs CPU at 1k, 10k, 100k lines
  double tenThousand = 0;           // s CPU
  double character = 0;             // µs CPU per character appended at 10k lines
  double picture = 0;               // µs CPU per picture appended at 10k lines
} summary;

constexpr int kMeasured = 500;

void BM_AppendColouredLine(benchmark::State& state) {
  if (!shared.pane) shared.pane = newPane();
  int wanted = static_cast<int>(state.range(0));
  while (shared.lines < wanted) appendLine(shared.pane, shared.lines++);
  double begin = cpuSeconds();
  for (auto _ : state) appendLine(shared.pane, shared.lines++);
  double perAppend = (cpuSeconds() - begin) * 1e6 / static_cast<double>(state.iterations());
  summary.perAppend[wanted >= 100000 ? 2 : wanted >= 10000 ? 1 : 0] = perAppend;
  state.counters["lines"] = static_cast<double>(wanted);
}
BENCHMARK(BM_AppendColouredLine)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(kMeasured)
    ->Unit(benchmark::kMicrosecond);

// 10,000 appends into a new, empty pane, timed as a whole (making the pane is not counted).
void BM_TenThousandAppends(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    HWND pane = newPane();
    state.ResumeTiming();
    double begin = cpuSeconds();
    for (int i = 0; i < 10000; ++i) appendLine(pane, i);
    summary.tenThousand = cpuSeconds() - begin;
    state.PauseTiming();
    DestroyWindow(pane);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TenThousandAppends)->Iterations(1)->Unit(benchmark::kMillisecond);

// The pane of the sized runs at 10k lines, as the output pane appends a character or an emoticon.
void appendCharacterOrPicture(benchmark::State& state, bool picture) {
  if (!shared.pane) shared.pane = newPane();
  while (shared.lines < 10000) appendLine(shared.pane, shared.lines++);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  double begin = cpuSeconds();
  for (auto _ : state) {
    SendMessageA(shared.pane, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    if (picture)
      insertPicture(shared.pane, bitmap);
    else
      SendMessageA(shared.pane, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("x"));
    SendMessageA(shared.pane, WM_VSCROLL, SB_BOTTOM, 0);
  }
  double each = (cpuSeconds() - begin) * 1e6 / static_cast<double>(state.iterations());
  (picture ? summary.picture : summary.character) = each;
  DeleteObject(bitmap);
}

void BM_AppendCharacter(benchmark::State& state) { appendCharacterOrPicture(state, false); }
void BM_AppendPicture(benchmark::State& state) { appendCharacterOrPicture(state, true); }
BENCHMARK(BM_AppendCharacter)->Iterations(kMeasured)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendPicture)->Iterations(kMeasured)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf(
      "\nCPU per append: %.1f us at 1k lines, %.1f us at 10k, %.1f us at 100k "
      "(100k/1k = %.2f)\n",
      summary.perAppend[0], summary.perAppend[1], summary.perAppend[2],
      summary.perAppend[0] > 0 ? summary.perAppend[2] / summary.perAppend[0] : 0.0);
  std::printf("10,000 appends from empty: %.3f s CPU\n", summary.tenThousand);
  std::printf("CPU at 10k lines: %.1f us per character, %.1f us per picture\n", summary.character,
              summary.picture);
  return 0;
}
