// The tab control keeps the selection; the strip mirrors it into which page is shown. After
// a page goes, the selection is read back from the control so it never names a missing page.
#include "lib/Tabs.h"

#include "lib/RootWindow.h"

#include <algorithm>
#include <cstring>

namespace {

// Titles reach the control through one buffer, cut to what it holds.
char titleBuffer[Tabs::MaxTitle + 1];

char* toTitleBuffer(const char* text) {
  if (!text) text = "";
  strncpy(titleBuffer, text, Tabs::MaxTitle);
  titleBuffer[Tabs::MaxTitle] = '\0';
  return titleBuffer;
}

}  // namespace

Tabs::Tabs(const char* name, int tabStyle)
    : Container(name), tabStyle(tabStyle), pageCount(0), selected(-1) {}

const char* Tabs::typeName() const { return "tabs"; }

LONG Tabs::styleBits(int style) {
  switch (style) {
    case TabsBottom:
      return TCS_BOTTOM;
    case Buttons:
      return TCS_BUTTONS;
    case FlatButtons:
      return TCS_BUTTONS | TCS_FLATBUTTONS;
    default:
      return 0;
  }
}

void Tabs::create() {
  HWND parentHandle = parent ? parent->getHwnd() : nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | styleBits(tabStyle);
  hwnd = CreateWindowExA(0, "SysTabControl32", "", style, 0, 0, 10, 10, parentHandle, nullptr,
                         getModuleInstance(), nullptr);
  SendMessageA(hwnd, TCM_SETEXTENDEDSTYLE, 0, TCS_EX_FLATSEPARATORS);
}

void Tabs::layPage(Window* page, RECT area) {
  SendMessageA(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  page->move(area.left + 1, area.top + 1, area.right - area.left - 2, area.bottom - area.top - 2);
}

void Tabs::layPages(RECT area) {
  for (Window* page : pages) layPage(page, area);
}

bool Tabs::onSize(int type, int w, int h) {
  layPages(RECT{0, 0, w, h});
  return Container::onSize(type, w, h);
}

Window* Tabs::pageAt(int index) {
  if (index < 0 || index >= static_cast<int>(pages.size())) return nullptr;
  return pages[index];
}

void Tabs::addPage(Window* window, const char* title) {
  if (!window || !hwnd) return;
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = toTitleBuffer(title ? title : window->getName());
  item.iImage = -1;
  SendMessageA(hwnd, TCM_INSERTITEMA, pageCount, reinterpret_cast<LPARAM>(&item));
  pages.push_back(window);
  window->createIn(this);
  layPage(window, RECT{0, 0, width, height});
  selected = static_cast<int>(SendMessageA(hwnd, TCM_GETCURSEL, 0, 0));
  pageCount++;
  if (selected != pageCount - 1) window->hideKeep();
}

void Tabs::setTabStyle(int style) {
  LONG bits = static_cast<LONG>(GetWindowLongA(hwnd, GWL_STYLE));
  bits &= ~(TCS_BOTTOM | TCS_FLATBUTTONS | TCS_BUTTONS);
  bits |= styleBits(style);
  SetWindowLongA(hwnd, GWL_STYLE, bits);
  // Only moving the strip between the bottom and the top changes the display area.
  if ((tabStyle == TabsBottom) != (style == TabsBottom)) {
    RECT area = {};
    GetClientRect(hwnd, &area);
    layPages(area);
  }
  tabStyle = style;
}

int Tabs::getTabStyle() { return tabStyle; }

int Tabs::getPageCount() { return pageCount; }

int Tabs::getSelected() { return selected; }

int Tabs::indexOfPage(Window* window) { return indexOf(window); }

void Tabs::select(int index) {
  int previous = static_cast<int>(SendMessageA(hwnd, TCM_SETCURSEL, index, 0));
  if (previous == -1 || previous == index) return;
  selected = index;
  onSelect(index);
  if (Window* left = pageAt(previous)) left->hideKeep();
  if (Window* shown = pageAt(index)) shown->showKeep();
}

void Tabs::highlight(int index, bool on) {
  SendMessageA(hwnd, TCM_HIGHLIGHTITEM, index, MAKELPARAM(on ? 1 : 0, 0));
}

void Tabs::closePage(int index) {
  Window* page = childAt(index);
  if (page) page->destroy();
}

void Tabs::setPageTitle(int index, const char* text) {
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = toTitleBuffer(text);
  SendMessageA(hwnd, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

bool Tabs::getPageTitle(int index, char* buffer, int size) {
  if (!buffer || size < 1) return false;
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = size;
  return SendMessageA(hwnd, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool Tabs::onTabRightClick(int, int, int) { return true; }

bool Tabs::onSelect(int) { return false; }

void Tabs::onChildRemoved(Window* child) {
  auto found = std::find(pages.begin(), pages.end(), child);
  if (found == pages.end()) return;
  int removed = static_cast<int>(found - pages.begin());
  pages.erase(found);
  pageCount--;
  bool wasSelected = SendMessageA(hwnd, TCM_GETCURSEL, 0, 0) == removed;
  SendMessageA(hwnd, TCM_DELETEITEM, removed, 0);
  if (wasSelected && pageCount > 0) {
    // The page that moves into the removed place is shown; after the last, the one before.
    int next = removed < pageCount ? removed : removed - 1;
    SendMessageA(hwnd, TCM_SETCURSEL, next, 0);
    pages[next]->showKeep();
  }
  selected = static_cast<int>(SendMessageA(hwnd, TCM_GETCURSEL, 0, 0));
  if (pageCount == 0) selected = -1;
}

// The page may belong to another module (a plug-in's tab), whose procedure the toolkit's
// pass-on to the focus window never reaches: the key is sent to the page's focus itself.
bool Tabs::passToShownPage(UINT message, WPARAM code, LPARAM lParam) {
  Window* page = pageAt(selected);
  if (page == nullptr) return false;
  page->setFocus();
  HWND focus = GetFocus();
  if (focus == nullptr || focus == hwnd) return false;
  SendMessageA(focus, message, code, lParam);
  return true;
}

bool Tabs::onChar(int code) { return passToShownPage(WM_CHAR, code, 1); }

bool Tabs::onKey(int key, bool down) {
  return passToShownPage(down ? WM_KEYDOWN : WM_KEYUP, key, down ? 1 : 0xC0000001);
}

bool Tabs::onMessage(const MSG& message) {
  if (message.message != WM_NOTIFY || !message.lParam) return Container::onMessage(message);
  const NMHDR& header = *reinterpret_cast<const NMHDR*>(message.lParam);
  if (header.hwndFrom != hwnd || !hwnd) return Container::onMessage(message);
  return onTabNotify(header);
}

bool Tabs::onTabNotify(const NMHDR& header) {
  selected = static_cast<int>(SendMessageA(hwnd, TCM_GETCURSEL, 0, 0));
  switch (header.code) {
    case TCN_SELCHANGING:
      if (Window* left = pageAt(selected)) left->hideKeep();
      break;
    case TCN_SELCHANGE:
      onSelect(selected);
      if (Window* shown = pageAt(selected)) shown->showKeep();
      break;
    case NM_RCLICK:
      return onRightClick();
    default:
      break;
  }
  return true;
}

bool Tabs::onRightClick() {
  DWORD position = GetMessagePos();
  POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  ScreenToClient(hwnd, &point);
  TCHITTESTINFO hit = {};
  hit.pt = point;
  int index = static_cast<int>(SendMessageA(hwnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (hit.flags & (TCHT_ONITEMICON | TCHT_ONITEMLABEL))
    return onTabRightClick(index, point.x, point.y);
  return true;
}
