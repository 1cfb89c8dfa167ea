// Scroll bar values kept per window and bar: range, page and position, clamped as Windows
// clamps them. Showing them on a real scroll bar is the controls' business.
#include <map>
#include <mutex>
#include <utility>

#include "platform/ControlRichEditScroll.h"
#include "platform/win32.h"

namespace {

struct ScrollValues {
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
};

struct ScrollTable {
  std::mutex lock;
  std::map<std::pair<uintptr_t, int>, ScrollValues> bars;
};

ScrollTable& scrollTable() {
  static ScrollTable* instance = new ScrollTable;
  return *instance;
}

bool validBar(HWND hwnd, int bar) {
  return IsWindow(hwnd) && (bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL);
}

std::pair<uintptr_t, int> keyOf(HWND hwnd, int bar) {
  return std::make_pair(reinterpret_cast<uintptr_t>(hwnd), bar);
}

// The page fits the range; the position stays where a whole page still fits.
void clamp(ScrollValues& v) {
  if (v.max < v.min) v.max = v.min;
  long long range = static_cast<long long>(v.max) - v.min + 1;
  if (static_cast<long long>(v.page) > range) v.page = static_cast<UINT>(range);
  long long last = static_cast<long long>(v.max) - (v.page > 0 ? v.page - 1 : 0);
  if (v.pos > last) v.pos = static_cast<int>(last);
  if (v.pos < v.min) v.pos = v.min;
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL) {
  if (info == nullptr || !validBar(hwnd, bar)) return 0;
  ScrollTable& table = scrollTable();
  std::lock_guard<std::mutex> guard(table.lock);
  ScrollValues& v = table.bars[keyOf(hwnd, bar)];
  if (info->fMask & SIF_RANGE) {
    v.min = info->nMin;
    v.max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) v.page = info->nPage;
  if (info->fMask & SIF_POS) v.pos = info->nPos;
  clamp(v);
  return v.pos;
}

int GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (info == nullptr || !validBar(hwnd, bar)) return FALSE;
  if (vornplatform::controlScrollInfo(hwnd, bar, info)) return TRUE;  // a control's own bar
  ScrollTable& table = scrollTable();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.bars.find(keyOf(hwnd, bar));
  ScrollValues v = found == table.bars.end() ? ScrollValues() : found->second;
  if (info->fMask & SIF_RANGE) {
    info->nMin = v.min;
    info->nMax = v.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = v.page;
  if (info->fMask & SIF_POS) info->nPos = v.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = v.pos;
  return TRUE;
}

int GetScrollPos(HWND hwnd, int bar) {
  if (!validBar(hwnd, bar)) return 0;
  SCROLLINFO own{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  if (vornplatform::controlScrollInfo(hwnd, bar, &own)) return own.nPos;
  ScrollTable& table = scrollTable();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.bars.find(keyOf(hwnd, bar));
  return found == table.bars.end() ? 0 : found->second.pos;
}
