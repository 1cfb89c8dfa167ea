// Many tabs in one strip, headless: 2,000 tabs (the first argument changes the count) go into
// one tab control through its messages, one per loop pass as tells from as many nicks open
// them: the tab inserted, its page created in the display area and hidden, the new tab lit.
// Prints the time an insert takes and the time of its whole loop pass (the strip's layout and
// painting included) around 100 tabs and at the end, and the longest single loop step.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/LoopSteps.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

using namespace chatbench;

const UINT kAddTab = WM_APP + 1;
HWND tabs = nullptr;
double insertSeconds = 0;  // the last insert, as measured inside its message

// What the toolkit's tab strip does for a new page.
void addTab(int index) {
  Clock::time_point start = Clock::now();
  std::string title = "nick" + std::to_string(index);
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<char*>(title.c_str());
  item.iImage = -1;
  SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  HWND page = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, 0, 0, tabs, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  RECT area{};
  GetClientRect(tabs, &area);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MoveWindow(page, area.left + 1, area.top + 1, area.right - area.left - 2,
             area.bottom - area.top - 2, TRUE);
  if (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != index) ShowWindow(page, SW_HIDE);
  SendMessageA(tabs, TCM_HIGHLIGHTITEM, static_cast<WPARAM>(index), MAKELPARAM(TRUE, 0));
  insertSeconds = since(start);
}

LRESULT CALLBACK topProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kAddTab) {
    addTab(static_cast<int>(wParam));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND makeTop() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = topProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ManyTabsBench";
  RegisterClassExA(&wc);
  HWND top = CreateWindowExA(0, "ManyTabsBench", "many tabs", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(top, SW_SHOW);
  return top;
}

struct Stretch {
  double insert = 0;  // summed over the stretch
  double pass = 0;
  int tabs = 0;
};

}  // namespace

int main(int argc, char** argv) {
  int total = argc > 1 ? std::atoi(argv[1]) : 2000;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  HWND top = makeTop();
  tabs = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                         780, 560, top, nullptr, GetModuleHandleA(nullptr), nullptr);
  vorntest::pumpFor(200);

  StepTimes steps;
  Stretch early, late;  // tabs 51-150 and the last 100
  Clock::time_point start = Clock::now();
  for (int i = 0; i < total; ++i) {
    PostMessageA(top, kAddTab, static_cast<WPARAM>(i), 0);
    Clock::time_point passStart = Clock::now();
    LoopStep step;
    do {
      step = runLoopStep();
      steps.add(step.seconds);
    } while (step.got);
    double pass = since(passStart);
    Stretch* stretch = i >= 50 && i < 150 ? &early : i >= total - 100 ? &late : nullptr;
    if (stretch == nullptr) continue;
    stretch->insert += insertSeconds;
    stretch->pass += pass;
    ++stretch->tabs;
  }
  double seconds = since(start);
  long count = static_cast<long>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  std::printf("%ld tabs in %.2f s\n", count, seconds);
  std::printf("per insert (us):    around 100 tabs %.1f; around %d tabs %.1f\n",
              early.insert / early.tabs * 1e6, total, late.insert / late.tabs * 1e6);
  std::printf("per loop pass (us): around 100 tabs %.1f; around %d tabs %.1f\n",
              early.pass / early.tabs * 1e6, total, late.pass / late.tabs * 1e6);
  std::printf("loop steps: %ld; longest %.2f ms; 99th percentile %.2f ms\n", steps.steps(),
              steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  DestroyWindow(top);
  return count == total ? 0 : 1;
}
