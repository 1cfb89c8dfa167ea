// Menus: records of bars and pop-ups addressed by command (searching submenus) or position,
// shown as a QMenuBar in a top-level window (the layer's painted bar when it holds owner-drawn
// items) or as a QMenu at a screen point.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QTimer>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/Handles.h"
#include "platform/MenuAccess.h"
#include "platform/MenuBarStrip.h"
#include "platform/MenuTracker.h"
#include "platform/ModalLoops.h"
#include "platform/OwnerDrawMenus.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

const UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP |
                         MF_MENUBREAK | MF_MENUBARBREAK | MF_BITMAP | MF_OWNERDRAW;

struct MenuItem {
  UINT flags = 0;
  UINT_PTR id = 0;
  std::string text;
  HMENU sub = nullptr;
  ULONG_PTR data = 0;  // an owner-drawn item's value, given where the text would be
};

struct MenuRecord {
  bool bar = false;
  std::vector<MenuItem> items;
};
using MenuPtr = std::shared_ptr<MenuRecord>;

std::recursive_mutex menusLock;
std::map<uint32_t, MenuPtr>& menus() {
  static auto* instance = new std::map<uint32_t, MenuPtr>;
  return *instance;
}

PopupChooser& chooser() {
  static PopupChooser instance;
  return instance;
}

uint32_t valueOf(HMENU menu) {
  uintptr_t value = reinterpret_cast<uintptr_t>(menu);
  return value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

MenuPtr findMenu(HMENU menu) {
  std::lock_guard<std::recursive_mutex> guard(menusLock);
  auto it = menus().find(valueOf(menu));
  return it == menus().end() ? MenuPtr() : it->second;
}

HMENU newMenu(bool bar) {
  auto record = std::make_shared<MenuRecord>();
  record->bar = bar;
  uint32_t value = nextHandleValue();
  std::lock_guard<std::recursive_mutex> guard(menusLock);
  menus()[value] = record;
  return reinterpret_cast<HMENU>(static_cast<uintptr_t>(value));
}

struct Found {
  MenuPtr menu;
  HMENU handle = nullptr;
  size_t index = 0;
};

// The item for a command: the menu's own items first, then its submenus, depth first.
bool findByCommand(HMENU handle, UINT id, Found* out, int depth = 0) {
  MenuPtr menu = findMenu(handle);
  if (!menu || depth > 32) return false;
  for (size_t i = 0; i < menu->items.size(); ++i) {
    const MenuItem& item = menu->items[i];
    bool popup = (item.flags & MF_POPUP) != 0;
    if ((!popup && item.id == id && !(item.flags & MF_SEPARATOR)) ||
        (popup && valueOf(item.sub) == id)) {
      *out = Found{menu, handle, i};
      return true;
    }
  }
  for (const MenuItem& item : menu->items) {
    if ((item.flags & MF_POPUP) && findByCommand(item.sub, id, out, depth + 1)) return true;
  }
  return false;
}

bool findItem(HMENU handle, UINT position, UINT flags, Found* out) {
  if (!(flags & MF_BYPOSITION)) return findByCommand(handle, position, out);
  MenuPtr menu = findMenu(handle);
  if (!menu || position >= menu->items.size()) return false;
  *out = Found{menu, handle, position};
  return true;
}

bool makeItem(UINT flags, UINT_PTR id, LPCSTR text, MenuItem* out) {
  out->flags = flags & kStateFlags;
  out->id = id;
  if (flags & MF_POPUP) {
    out->sub = reinterpret_cast<HMENU>(id);
    if (!findMenu(out->sub)) return false;
  }
  if (flags & MF_OWNERDRAW) out->data = reinterpret_cast<ULONG_PTR>(text);
  bool hasText = !(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text;
  out->text = hasText ? text : "";
  return true;
}

bool reachable(HMENU from, HMENU target, int depth = 0) {
  if (from == target) return true;
  MenuPtr menu = findMenu(from);
  if (!menu || depth > 32) return false;
  for (const MenuItem& item : menu->items) {
    if ((item.flags & MF_POPUP) && reachable(item.sub, target, depth + 1)) return true;
  }
  return false;
}

// Fills a Qt menu (or bar) from a record; choose runs with the command picked.
// Owner-drawn items of pop-ups ask owner to measure and draw them.
void fill(QWidget* target, HMENU handle, HWND owner, const std::function<void(UINT)>& choose,
          int depth = 0) {
  MenuPtr menu = findMenu(handle);
  if (!menu || depth > 32) return;
  auto* asMenu = dynamic_cast<QMenu*>(target);
  auto* asBar = dynamic_cast<QMenuBar*>(target);
  for (const MenuItem& item : menu->items) {
    QString text = bytesToQString(item.text);
    bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
    if (item.flags & MF_SEPARATOR) {
      if (asMenu) asMenu->addSeparator();
      if (asBar) asBar->addSeparator();
      continue;
    }
    if (item.flags & MF_POPUP) {
      auto* sub = new QMenu(text, target);
      fill(sub, item.sub, owner, choose, depth + 1);
      QAction* action = asMenu ? asMenu->addMenu(sub) : asBar->addMenu(sub);
      action->setEnabled(enabled);
      continue;
    }
    if (asMenu && (item.flags & MF_OWNERDRAW)) {
      OwnerDrawnItem drawn{handle, owner, static_cast<UINT>(item.id), item.data, item.flags};
      addOwnerDrawnItem(asMenu, drawn, choose);
      continue;
    }
    QAction* action = asMenu ? asMenu->addAction(text) : asBar->addAction(text);
    action->setEnabled(enabled);
    action->setCheckable((item.flags & MF_CHECKED) != 0);
    action->setChecked((item.flags & MF_CHECKED) != 0);
    UINT id = static_cast<UINT>(item.id);
    QObject::connect(action, &QAction::triggered, [choose, id] { choose(id); });
  }
}

// An enabled command item with this id (0 included: a pop-up may use it).
bool isEnabledItem(HMENU menu, UINT id) {
  Found found;
  if (!findByCommand(menu, id, &found)) return false;
  const MenuItem& item = found.menu->items[found.index];
  return !(item.flags & (MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED));
}

bool isEnabledCommand(HMENU menu, UINT id) { return id != 0 && isEnabledItem(menu, id); }

// Such a menu shows in a window of the layer's own, which its owner can draw on and shape.
bool hasOwnerDrawnItem(HMENU handle, int depth = 0) {
  MenuPtr menu = findMenu(handle);
  if (!menu || depth > 32) return false;
  for (const MenuItem& item : menu->items) {
    if (item.flags & MF_OWNERDRAW) return true;
    if ((item.flags & MF_POPUP) && hasOwnerDrawnItem(item.sub, depth + 1)) return true;
  }
  return false;
}

std::set<uint32_t> pendingBars;

// Menu changes reach the Qt bars once control returns to the loop, so a burst of them (a menu
// per client at start) rebuilds each bar once.
// A bar already waiting for its rebuild needs no search through its menus (many menus changed
// in one burst would search the whole bar each).
bool rebuildPending(HWND hwnd) {
  return isGuiThread() &&
         pendingBars.count(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd))) != 0;
}

void scheduleBarRebuild(HWND hwnd) {
  if (!isGuiThread()) return;
  bool first = pendingBars.empty();
  pendingBars.insert(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)));
  if (!first) return;
  QTimer::singleShot(0, [] {
    std::set<uint32_t> bars = std::move(pendingBars);
    pendingBars.clear();
    for (uint32_t value : bars) rebuildMenuBar(handleOf(value));
  });
}

DWORD changeFlags(HMENU menu, UINT id, UINT flags, UINT mask) {
  Found found;
  if (!findItem(menu, id, flags, &found)) return static_cast<DWORD>(-1);
  MenuItem& item = found.menu->items[found.index];
  DWORD previous = item.flags & mask;
  item.flags = (item.flags & ~mask) | (flags & mask);
  menuChanged(menu);
  return previous;
}

// A bar that never takes the keyboard focus on a press of Alt alone: the key goes to the focus
// window as WM_SYSKEYDOWN and WM_SYSKEYUP, and the keys after it still reach that window.
class BarStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_MenuBar_AltKeyNavigation) return 0;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

}  // namespace

namespace {

// The bar as high as its items need: the window's client area gives way, as in Win32.
void fitBarHeight(HWND hwnd, WindowRecord& w, MenuBarStrip* strip) {
  int height = kMenuBarHeight;
  if (strip) {
    HandlerScope scope;  // the owner answers WM_MEASUREITEM
    QPointer<MenuBarStrip> alive(strip);
    height = strip->barHeight();
    if (!alive || w.dying) return;
  }
  if (height == w.menuBarHeight) return;
  w.menuBarHeight = height;
  changeWindowRect(hwnd, w.rect, static_cast<WPARAM>(-1));
}

}  // namespace

void rebuildMenuBar(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || !w->frame) return;
  // The painted bar keeps its hot and open items: it measures its items again and repaints.
  auto* strip = dynamic_cast<MenuBarStrip*>(w->menuBar.data());
  if (strip && w->menu && strip->menu() == w->menu && barHasOwnerDrawnItem(w->menu)) {
    strip->relayout();
    fitBarHeight(hwnd, *w, strip);
    return;
  }
  if (w->menuBar) {
    w->menuBar->hide();
    w->menuBar->deleteLater();
    w->menuBar = nullptr;
  }
  strip = nullptr;
  if (w->menu && barHasOwnerDrawnItem(w->menu)) {
    strip = new MenuBarStrip(hwnd, w->menu, w->frame);
    w->menuBar = strip;
    strip->show();
  } else if (w->menu) {
    auto* bar = new QMenuBar(w->frame);
    bar->setNativeMenuBar(false);
    auto* style = new BarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    fill(bar, w->menu, hwnd, [hwnd](UINT id) { PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); });
    w->menuBar = bar;
    bar->show();
  }
  applyGeometryToQt(*w);
  fitBarHeight(hwnd, *w, strip);
}

void settleMenuBar(HWND hwnd) {
  if (!rebuildPending(hwnd)) return;
  pendingBars.erase(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)));
  rebuildMenuBar(hwnd);
}

std::vector<BarItem> barItemsOf(HMENU handle) {
  std::vector<BarItem> list;
  MenuPtr menu = findMenu(handle);
  if (!menu) return list;
  for (const MenuItem& item : menu->items)
    list.push_back(BarItem{item.flags, static_cast<UINT>(item.id), item.text, item.sub, item.data});
  return list;
}

bool barHasOwnerDrawnItem(HMENU handle) {
  MenuPtr menu = findMenu(handle);
  if (!menu) return false;
  for (const MenuItem& item : menu->items)
    if (item.flags & MF_OWNERDRAW) return true;
  return false;
}

namespace {
std::mutex barOwnersLock;
std::set<uint32_t> barOwners;  // handle values; a destroyed window leaves at the next change
}  // namespace

void noteMenuBarOwner(HWND hwnd) {
  std::lock_guard<std::mutex> guard(barOwnersLock);
  barOwners.insert(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)));
}

void menuChanged(HMENU menu) {
  std::vector<WindowPtr> owners;
  {
    std::lock_guard<std::mutex> guard(barOwnersLock);
    for (auto it = barOwners.begin(); it != barOwners.end();) {
      WindowPtr w = findWindow(handleOf(*it));
      if (!w) {
        it = barOwners.erase(it);
        continue;
      }
      owners.push_back(std::move(w));
      ++it;
    }
  }
  for (const WindowPtr& w : owners) {
    if (!w->menu || w->dying || rebuildPending(w->hwnd)) continue;
    if (reachable(w->menu, menu)) scheduleBarRebuild(w->hwnd);
  }
}

void setPopupChooser(PopupChooser c) { chooser() = std::move(c); }

bool menuItemsOf(HMENU handle, std::vector<MenuItemView>* out) {
  MenuPtr menu = findMenu(handle);
  if (!menu) return false;
  out->clear();
  for (const MenuItem& item : menu->items)
    out->push_back(MenuItemView{item.flags, static_cast<UINT>(item.id), item.text, item.sub, item.data});
  return true;
}

bool isEnabledMenuCommand(HMENU menu, UINT id) { return isEnabledItem(menu, id); }

bool triggerMenuBarCommand(HWND hwnd, UINT id) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying || !w->menu || !isEnabledCommand(w->menu, id)) return false;
  return PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
}

}  // namespace vornplatform

using namespace vornplatform;

HMENU CreateMenu() { return newMenu(true); }

HMENU CreatePopupMenu() { return newMenu(false); }

BOOL IsMenu(HMENU menu) { return findMenu(menu) != nullptr; }

BOOL DestroyMenu(HMENU menu) {
  MenuPtr record;
  {
    std::lock_guard<std::recursive_mutex> guard(menusLock);
    auto it = menus().find(valueOf(menu));
    if (it == menus().end()) return FALSE;
    record = it->second;
    menus().erase(it);
  }
  for (const MenuItem& item : record->items) {
    if (item.flags & MF_POPUP) DestroyMenu(item.sub);
  }
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  MenuPtr record = findMenu(menu);
  MenuItem item;
  if (!record || !makeItem(flags, id, text, &item)) return FALSE;
  record->items.push_back(item);
  menuChanged(menu);
  return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
  MenuItem item;
  if (!makeItem(flags, id, text, &item)) return FALSE;
  Found found;
  if (findItem(menu, position, flags, &found)) {
    found.menu->items.insert(found.menu->items.begin() + static_cast<long>(found.index), item);
    menuChanged(menu);
    return TRUE;
  }
  MenuPtr record = findMenu(menu);
  if (!record || !(flags & MF_BYPOSITION)) return FALSE;
  record->items.push_back(item);  // a position past the end appends
  menuChanged(menu);
  return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
  MenuItem item;
  Found found;
  if (!makeItem(flags, id, text, &item) || !findItem(menu, position, flags, &found)) return FALSE;
  found.menu->items[found.index] = item;
  menuChanged(menu);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  Found found;
  if (!findItem(menu, position, flags, &found)) return FALSE;
  found.menu->items.erase(found.menu->items.begin() + static_cast<long>(found.index));
  menuChanged(menu);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  Found found;
  if (!findItem(menu, position, flags, &found)) return FALSE;
  MenuItem item = found.menu->items[found.index];
  found.menu->items.erase(found.menu->items.begin() + static_cast<long>(found.index));
  if (item.flags & MF_POPUP) DestroyMenu(item.sub);
  menuChanged(menu);
  return TRUE;
}

DWORD EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  return changeFlags(menu, id, enable, MF_GRAYED | MF_DISABLED);
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
  return changeFlags(menu, id, check, MF_CHECKED);
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
  Found found;
  if (!findItem(menu, id, flags, &found)) return static_cast<UINT>(-1);
  const MenuItem& item = found.menu->items[found.index];
  if (!(item.flags & MF_POPUP)) return item.flags;
  MenuPtr sub = findMenu(item.sub);
  UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
  return MF_POPUP | (count << 8) | (item.flags & 0xFF & ~MF_POPUP);
}

int GetMenuItemCount(HMENU menu) {
  MenuPtr record = findMenu(menu);
  return record ? static_cast<int>(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  MenuPtr record = findMenu(menu);
  if (!record || position < 0 || static_cast<size_t>(position) >= record->items.size()) {
    return static_cast<UINT>(-1);
  }
  const MenuItem& item = record->items[static_cast<size_t>(position)];
  if (item.flags & MF_POPUP) return static_cast<UINT>(-1);
  return item.flags & MF_SEPARATOR ? 0 : static_cast<UINT>(item.id);
}

HMENU GetSubMenu(HMENU menu, int position) {
  MenuPtr record = findMenu(menu);
  if (!record || position < 0 || static_cast<size_t>(position) >= record->items.size())
    return nullptr;
  const MenuItem& item = record->items[static_cast<size_t>(position)];
  return item.flags & MF_POPUP ? item.sub : nullptr;
}

int GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int size, UINT flags) {
  Found found;
  if (!findItem(menu, id, flags, &found)) return 0;
  const std::string& text = found.menu->items[found.index].text;
  if (!buffer || size <= 0) return static_cast<int>(text.size());
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->parent || (menu && !findMenu(menu))) return FALSE;
  w->menu = menu;
  if (menu) noteMenuBarOwner(hwnd);
  rebuildMenuBar(hwnd);
  changeWindowRect(hwnd, w->rect, static_cast<WPARAM>(-1));
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  return w ? w->menu : nullptr;
}

BOOL DrawMenuBar(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || w->parent) return FALSE;
  if (isGuiThread())
    scheduleBarRebuild(hwnd);
  else
    rebuildMenuBar(hwnd);
  return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (!findMenu(menu)) return FALSE;
  UINT chosen = 0;
  bool picked = false;  // an item with id 0 is a real choice, told apart from dismissing
  if (endingRequested()) {
    // The program is ending: the menu is dismissed before it opens.
  } else if (chooser()) {
    UINT answer = chooser()(menu, x, y);
    picked = answer != 0;
    chosen = answer == kPopupPickZero ? 0 : answer;
  } else if (isGuiThread() && hasOwnerDrawnItem(menu)) {
    if (MenuTracker::busy()) return FALSE;  // one menu at a time, as on Win32
    MenuTracker tracker(menu, owner, flags);
    picked = tracker.track(x, y, &chosen);
  } else if (isGuiThread()) {
    QMenu popup;
    fill(&popup, menu, owner, [&chosen, &picked](UINT id) {
      chosen = id;
      picked = true;
    });
    ModalLoop loop([&popup] { popup.close(); });
    popup.exec(QPoint(x, y));
  }
  picked = picked && isEnabledItem(menu, chosen);
  if (!picked) chosen = 0;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (picked && owner) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
}

namespace vornplatform {

QImage renderPopupMenu(HMENU menu, HWND owner) {
  if (hasOwnerDrawnItem(menu)) return MenuTracker(menu, owner, 0).render();
  QMenu popup;
  fill(&popup, menu, owner, [](UINT) {});
  popup.resize(popup.sizeHint());
  return popup.grab().toImage();
}

}  // namespace vornplatform
