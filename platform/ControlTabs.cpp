// The "SysTabControl32" control: items, selection and hit-testing kept by the layer with Win32's
// rules; a user's click asks the parent (TCN_SELCHANGING) before switching and tells it after.
#include "platform/ControlTabs.h"

#include <QPainter>
#include <QTimer>
#include <QStyleOptionTabWidgetFrame>
#include <algorithm>
#include <cstring>

#include "platform/ControlClass.h"
#include "platform/TextCodec.h"

namespace vornplatform {

const int kBorder = 2;  // the frame around the display area

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
  // The layer keeps the selection and reads the mouse itself; the bar only draws.
  bar_->blockSignals(true);
  bar_->setAttribute(Qt::WA_TransparentForMouseEvents);
  bar_->setFocusPolicy(Qt::NoFocus);
  bar_->setExpanding(false);
  bar_->setUsesScrollButtons(false);
  placeBar();
}

int TabStrip::insert(int index, const Tab& tab) {
  if (index < 0) return -1;
  index = std::min(index, count());
  tabs_.insert(tabs_.begin() + index, tab);
  holdLayout();
  bar_->insertTab(index, bytesToQString(tab.text));
  if (tabs_.size() == 1) {
    current_ = 0;
  } else if (current_ >= index) {
    ++current_;
  }
  tabChanged(index);
  bar_->setCurrentIndex(std::max(current_, 0));
  return index;
}

bool TabStrip::remove(int index) {
  if (!valid(index)) return false;
  tabs_.erase(tabs_.begin() + index);
  holdLayout();
  bar_->removeTab(index);
  if (index == current_) {
    current_ = -1;
  } else if (index < current_) {
    --current_;
  }
  if (current_ >= 0) bar_->setCurrentIndex(current_);
  update();
  return true;
}

void TabStrip::removeAll() {
  while (count() > 0) remove(count() - 1);
}

int TabStrip::setCurrent(int index) {
  if (!valid(index)) return -1;
  int previous = current_;
  current_ = index;
  bar_->setCurrentIndex(index);
  return previous;
}

void TabStrip::tabChanged(int index) {
  const Tab* t = tab(index);
  if (!t) return;
  // Setting a tab's text lays out the whole bar again: only a real change is passed on, so
  // highlighting a tab that is lit already (each new line of a busy page) costs nothing.
  QString text = bytesToQString(t->text);
  bool lit = t->state & TCIS_HIGHLIGHTED;
  QColor colour = lit ? palette().color(QPalette::Highlight) : QColor();
  bool newText = bar_->tabText(index) != text, newColour = bar_->tabTextColor(index) != colour;
  if (newText || newColour) holdLayout();
  if (newText) bar_->setTabText(index, text);
  if (newColour) bar_->setTabTextColor(index, colour);
}

void TabStrip::holdLayout() {
  if (held_ || !bar_->isVisible()) return;
  held_ = true;
  bar_->hide();
  QTimer::singleShot(0, this, [this] {
    held_ = false;
    bar_->show();
  });
}

void TabStrip::setBottom(bool bottom) {
  bottom_ = bottom;
  bar_->setShape(bottom ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
  placeBar();
  update();
}

void TabStrip::setButtons(bool buttons) { bar_->setDrawBase(!buttons); }

int TabStrip::rowHeight() const { return fontMetrics().height() + 10; }

QRect TabStrip::tabRect(int index) {
  if (!valid(index)) return QRect();
  placeBar();
  return bar_->tabRect(index).translated(bar_->pos());
}

int TabStrip::tabAt(const QPoint& point) {
  for (int i = 0; i < count(); ++i) {
    if (tabRect(i).contains(point)) return i;
  }
  return -1;
}

void TabStrip::resizeEvent(QResizeEvent*) { placeBar(); }

void TabStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  int row = rowHeight();
  frame.rect =
      bottom_ ? QRect(0, 0, width(), height() - row) : QRect(0, row, width(), height() - row);
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void TabStrip::placeBar() {
  int row = rowHeight();
  int y = bottom_ ? std::max(0, height() - row) : 0;
  bar_->setGeometry(0, y, std::max(width(), 1), row);
}

namespace {

TabStrip* stripOf(HWND hwnd) { return controlWidget<TabStrip>(hwnd); }

void applyStyle(TabStrip* strip, DWORD style) {
  strip->setBottom(style & TCS_BOTTOM);
  strip->setButtons(style & TCS_BUTTONS);
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
  if (item.mask & TCIF_TEXT) tab.text = item.pszText ? item.pszText : "";
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
