// The "SysTabControl32" control: items, selection and hit-testing kept by the layer with Win32's
// rules; a user's click asks the parent (TCN_SELCHANGING) before switching and tells it after.
#include "platform/ControlTabs.h"

#include <QEvent>
#include <algorithm>
#include <cstring>

#include "platform/ControlClass.h"
#include "platform/TextCodec.h"

namespace vornplatform {

const int kBorder = 2;  // the frame around the display area

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {}

int TabStrip::insert(int index, const Tab& tab) {
  if (index < 0) return -1;
  index = std::min(index, count());
  tabs_.insert(tabs_.begin() + index, tab);
  tabs_[static_cast<size_t>(index)].width = -1;
  forget(index);
  if (tabs_.size() == 1) {
    current_ = 0;
  } else if (current_ >= index) {
    ++current_;
  }
  repaintFrom(index);
  return index;
}

bool TabStrip::remove(int index) {
  if (!valid(index)) return false;
  tabs_.erase(tabs_.begin() + index);
  forget(index);
  if (index == current_) {
    current_ = -1;
  } else if (index < current_) {
    --current_;
  }
  repaintFrom(index);
  return true;
}

void TabStrip::removeAll() {
  tabs_.clear();
  lefts_.clear();
  current_ = -1;
  update();
}

int TabStrip::setCurrent(int index) {
  if (!valid(index)) return -1;
  int previous = current_;
  current_ = index;
  if (previous != index) update(rowRect());
  return previous;
}

void TabStrip::tabChanged(int index) {
  const Tab* t = tab(index);
  if (!t) return;
  if (t->width < 0) {
    forget(index);  // a new text: the tabs after it move
    repaintFrom(index);
  } else if (static_cast<size_t>(index) < lefts_.size()) {
    update(tabRect(index).adjusted(-2, 0, 2, 0));
  }
}

void TabStrip::setBottom(bool bottom) {
  if (bottom == bottom_) return;
  bottom_ = bottom;
  update();
}

void TabStrip::setLook(Look look) {
  if (look == look_) return;
  look_ = look;
  forget(0);  // buttons stand apart, tabs side by side
  update();
}

int TabStrip::rowHeight() const { return fontMetrics().height() + 10; }

QRect TabStrip::rowRect() const {
  int row = rowHeight();
  return QRect(0, bottom_ ? std::max(0, height() - row) : 0, std::max(width(), 1), row);
}

int TabStrip::gap() const { return look_ == Look::Tabs ? 0 : 4; }

void TabStrip::forget(int from) {
  if (lefts_.size() > static_cast<size_t>(from)) lefts_.resize(static_cast<size_t>(from));
}

bool TabStrip::placeNext() {
  size_t next = lefts_.size();
  if (next >= tabs_.size()) return false;
  int left = 0;
  if (next > 0) left = lefts_.back() + tabs_[next - 1].width + gap();
  Tab& t = tabs_[next];
  if (t.width < 0) t.width = measure(t);
  lefts_.push_back(left);
  return true;
}

// Only the tabs up to the right edge are laid out for painting, so tabs that cannot be seen
// cost nothing until someone asks where they are.
void TabStrip::placeUpTo(int x) {
  while ((lefts_.empty() || lefts_.back() <= x) && placeNext()) {
  }
}

void TabStrip::repaintFrom(int index) {
  int left = 0;
  if (static_cast<size_t>(index) < lefts_.size()) {
    left = lefts_[static_cast<size_t>(index)];
  } else if (!lefts_.empty()) {
    left = lefts_.back();
  }
  if (left >= width()) return;  // beyond the edge: nothing seen changes
  QRect row = rowRect();
  update(QRect(left, row.top(), width() - left, row.height()));
  if (look_ == Look::Tabs) update();  // the frame's gap follows the selected tab
}

QRect TabStrip::tabRect(int index) {
  if (!valid(index)) return QRect();
  while (lefts_.size() <= static_cast<size_t>(index) && placeNext()) {
  }
  QRect row = rowRect();
  const Tab& t = tabs_[static_cast<size_t>(index)];
  return QRect(lefts_[static_cast<size_t>(index)], row.top(), t.width, row.height());
}

int TabStrip::tabAt(const QPoint& point) {
  if (!rowRect().contains(point)) return -1;
  placeUpTo(point.x());
  auto after = std::upper_bound(lefts_.begin(), lefts_.end(), point.x());
  int index = static_cast<int>(after - lefts_.begin()) - 1;
  if (index < 0 || !tabRect(index).contains(point)) return -1;
  return index;
}

void TabStrip::changeEvent(QEvent* event) {
  QEvent::Type type = event->type();
  if (type == QEvent::FontChange || type == QEvent::StyleChange) {
    for (Tab& t : tabs_) t.width = -1;
    forget(0);
    update();
  }
  QWidget::changeEvent(event);
}

namespace {

TabStrip* stripOf(HWND hwnd) { return controlWidget<TabStrip>(hwnd); }

void applyStyle(TabStrip* strip, DWORD style) {
  strip->setBottom(style & TCS_BOTTOM);
  TabStrip::Look look = TabStrip::Look::Tabs;
  if (style & TCS_BUTTONS) {
    look = (style & TCS_FLATBUTTONS) ? TabStrip::Look::FlatButtons : TabStrip::Look::Buttons;
  }
  strip->setLook(look);
}

QWidget* createTabs(HWND, const CREATESTRUCTA& cs, QWidget* parent) {
  auto* strip = new TabStrip(parent);
  applyStyle(strip, static_cast<DWORD>(cs.style));
  return strip;
}

void copyText(const std::string& text, LPSTR out, int size) {
  if (!out || size <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

void writeItem(TabStrip::Tab& tab, const TCITEMA& item) {
  if (item.mask & TCIF_TEXT) {
    const char* text = item.pszText ? item.pszText : "";
    if (tab.text != text) tab.width = -1;  // to be measured again
    tab.text = text;
  }
  if (item.mask & TCIF_IMAGE) tab.image = item.iImage;
  if (item.mask & TCIF_PARAM) tab.param = item.lParam;
  if (item.mask & TCIF_STATE) {
    tab.state = (tab.state & ~item.dwStateMask) | (item.dwState & item.dwStateMask);
  }
}

LRESULT getItem(TabStrip* strip, int index, TCITEMA* item) {
  TabStrip::Tab* tab = strip->tab(index);
  if (!tab || !item) return FALSE;
  if (item->mask & TCIF_TEXT) copyText(tab->text, item->pszText, item->cchTextMax);
  if (item->mask & TCIF_IMAGE) item->iImage = tab->image;
  if (item->mask & TCIF_PARAM) item->lParam = tab->param;
  if (item->mask & TCIF_STATE) item->dwState = tab->state & item->dwStateMask;
  return TRUE;
}

LRESULT setItem(TabStrip* strip, int index, const TCITEMA* item) {
  TabStrip::Tab* tab = strip->tab(index);
  if (!tab || !item) return FALSE;
  writeItem(*tab, *item);
  strip->tabChanged(index);
  return TRUE;
}

LRESULT insertItem(TabStrip* strip, int index, const TCITEMA* item) {
  if (!item) return -1;
  TabStrip::Tab tab;
  writeItem(tab, *item);
  return strip->insert(index, tab);
}

LRESULT highlight(TabStrip* strip, int index, bool on) {
  TabStrip::Tab* tab = strip->tab(index);
  if (!tab) return FALSE;
  tab->state = on ? (tab->state | TCIS_HIGHLIGHTED) : (tab->state & ~TCIS_HIGHLIGHTED);
  strip->tabChanged(index);
  return TRUE;
}

LRESULT hitTest(TabStrip* strip, TCHITTESTINFO* info) {
  if (!info) return -1;
  int index = strip->tabAt(QPoint(info->pt.x, info->pt.y));
  info->flags = index < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
  return index;
}

// The display area for a window rectangle (larger false), or the window rectangle that gives
// this display area (larger true).
void adjustRect(TabStrip* strip, bool larger, RECT* rect) {
  if (!rect) return;
  int row = strip->rowHeight();
  int sign = larger ? -1 : 1;
  if (strip->bottom()) {
    rect->bottom -= sign * row;
  } else {
    rect->top += sign * row;
  }
  rect->left += sign * kBorder, rect->top += sign * kBorder;
  rect->right -= sign * kBorder, rect->bottom -= sign * kBorder;
}

// Mask 0 changes every bit; returns the previous extended style.
LRESULT setExtendedStyle(TabStrip* strip, DWORD mask, DWORD style) {
  DWORD old = strip->extendedStyle;
  if (mask == 0) mask = 0xFFFFFFFFu;
  strip->extendedStyle = (old & ~mask) | (style & mask);
  if (strip->extendedStyle != old) strip->update();
  return old;
}

// A left press on another tab: ask the parent, switch, then tell it.
void userSelect(HWND hwnd, TabStrip* strip, int index) {
  if (index < 0 || index == strip->current()) return;
  NMHDR header{};
  header.code = TCN_SELCHANGING;
  if (sendNotifyToParent(hwnd, &header)) return;  // the parent refused
  if (!IsWindow(hwnd) || !strip->valid(index)) return;
  strip->setCurrent(index);
  header = NMHDR{};
  header.code = TCN_SELCHANGE;
  sendNotifyToParent(hwnd, &header);
}

// Tabs take the focus on a click; buttons only when asked to.
bool takesFocusOnClick(HWND hwnd) {
  DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  if (style & TCS_FOCUSNEVER) return false;
  return !(style & TCS_BUTTONS) || (style & TCS_FOCUSONBUTTONDOWN);
}

// The parent asks GetMessagePos where the click was: the input path has recorded it.
void rightClick(HWND hwnd) {
  NMHDR header{};
  header.code = NM_RCLICK;
  sendNotifyToParent(hwnd, &header);
}

QPoint pointOf(LPARAM lParam) {
  return QPoint(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
}

LRESULT CALLBACK tabsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TabStrip* strip = stripOf(hwnd);
  if (!strip) return controlDefaultProc(hwnd, msg, wParam, lParam);
  int index = static_cast<int>(wParam);
  switch (msg) {
    case TCM_GETITEMCOUNT:
      return strip->count();
    case TCM_GETITEMA:
      return getItem(strip, index, reinterpret_cast<TCITEMA*>(lParam));
    case TCM_SETITEMA:
      return setItem(strip, index, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_INSERTITEMA:
      return insertItem(strip, index, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_DELETEITEM:
      return strip->remove(index);
    case TCM_DELETEALLITEMS:
      strip->removeAll();
      return TRUE;
    case TCM_GETCURSEL:
      return strip->current();
    case TCM_SETCURSEL:
      return strip->setCurrent(index);
    case TCM_HITTEST:
      return hitTest(strip, reinterpret_cast<TCHITTESTINFO*>(lParam));
    case TCM_ADJUSTRECT:
      adjustRect(strip, wParam != 0, reinterpret_cast<RECT*>(lParam));
      return 0;
    case TCM_HIGHLIGHTITEM:
      return highlight(strip, index, LOWORD(lParam) != 0);
    case TCM_SETEXTENDEDSTYLE:
      return setExtendedStyle(strip, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case TCM_GETEXTENDEDSTYLE:
      return strip->extendedStyle;
    case WM_STYLECHANGED:
      if (static_cast<int>(wParam) == GWL_STYLE && lParam) {
        applyStyle(strip, reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew);
      }
      break;
    case WM_LBUTTONDOWN:
      if (takesFocusOnClick(hwnd)) SetFocus(hwnd);  // before the parent hears of a new tab
      userSelect(hwnd, strip, strip->tabAt(pointOf(lParam)));
      break;
    case WM_RBUTTONUP:
      rightClick(hwnd);
      break;
    default:
      break;
  }
  return controlDefaultProc(hwnd, msg, wParam, lParam);
}

const ControlClass kTabs{"SysTabControl32", CS_DBLCLKS, tabsProc, createTabs};
const bool registered = registerControlClass(kTabs);

}  // namespace
}  // namespace vornplatform
