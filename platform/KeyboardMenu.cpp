#include "platform/KeyboardMenu.h"

#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <string>
#include <vector>

#include "platform/MenuBarPicture.h"
#include "platform/MenuBarStrip.h"
#include "platform/WindowTable.h"
#include "platform/testing_menus.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

int lastKeyPressed = 0;  // GUI thread only, as the keyboard's input is
QPoint pointerAtAlt;     // where the pointer was when Alt went down

unsigned char folded(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// The character after a single '&' ("&&" shows one '&'), or 0.
unsigned char mnemonicOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return folded(static_cast<unsigned char>(text[i + 1]));
    ++i;
  }
  return 0;
}

bool usable(const BarItem& item) { return item.enabled() && !(item.flags & MF_SEPARATOR); }

// The item a character names: its mnemonic first, else the first text starting with it.
int itemForCharacter(const std::vector<BarItem>& items, unsigned char c) {
  c = folded(c);
  for (size_t i = 0; i < items.size(); ++i) {
    if (usable(items[i]) && mnemonicOf(items[i].text) == c) return static_cast<int>(i);
  }
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string& text = items[i].text;
    if (usable(items[i]) && !text.empty() && folded(static_cast<unsigned char>(text[0])) == c)
      return static_cast<int>(i);
  }
  return -1;
}

int firstUsableItem(const std::vector<BarItem>& items) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (usable(items[i])) return static_cast<int>(i);
  }
  return -1;
}

// The Qt bar opens the pull-down itself, so Left and Right move between its menus and Escape
// closes it (the focus window keeps the focus meanwhile).
bool openQtBarItem(QMenuBar* bar, int index) {
  QList<QAction*> actions = bar->actions();
  if (index >= actions.size() || !actions[index]->menu()) return false;
  bar->setActiveAction(actions[index]);
  return true;
}

bool openPullDown(HWND hwnd, int index) {
  settleMenuBar(hwnd);
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying || !w->menuBar) return false;
  if (auto* strip = dynamic_cast<MenuBarStrip*>(w->menuBar.data())) {
    strip->openFromKeyboard(index);
    return true;
  }
  auto* bar = qobject_cast<QMenuBar*>(w->menuBar.data());
  return bar && openQtBarItem(bar, index);
}

}  // namespace

void noteKeyPressed(int virtualKey) {
  if (virtualKey == VK_MENU) pointerAtAlt = QCursor::pos();
  lastKeyPressed = virtualKey;
}

bool keyAsksForMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  bool withAlt = (lParam & (1L << 29)) != 0;
  LPARAM character = -1;
  // Alt+Space is the window menu's key, and control codes keep their own meaning.
  if (msg == WM_SYSCHAR && withAlt && wParam > ' ' && wParam != 0x7F)
    character = static_cast<LPARAM>(wParam);
  if (msg == WM_SYSKEYUP && wParam == VK_MENU && lastKeyPressed == VK_MENU &&
      QCursor::pos() == pointerAtAlt)
    character = 0;
  bool shifted = (GetKeyState(VK_SHIFT) & 0x8000) != 0;  // Shift+F10 asks for a context menu
  if (msg == WM_SYSKEYDOWN && wParam == VK_F10 && !shifted) character = 0;
  if (character < 0) return false;
  if (msg == WM_SYSKEYUP) lastKeyPressed = 0;
  SendMessageA(topLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, character);
  return true;
}

void openMenuBarByKey(HWND hwnd, LPARAM character) {
  HMENU menu = GetMenu(hwnd);
  std::vector<BarItem> items = barItemsOf(menu);
  unsigned char c = static_cast<unsigned char>(character);
  int index = c ? itemForCharacter(items, c) : firstUsableItem(items);
  if (index < 0) {
    if (c) MessageBeep(0);  // Alt alone in a window without a bar is no mistake
    return;
  }
  const BarItem& item = items[static_cast<size_t>(index)];
  if (item.flags & MF_POPUP) {
    if (!openPullDown(hwnd, index)) MessageBeep(0);
    return;
  }
  // Alt alone or F10 only enters the bar: it never runs a command by itself.
  if (c) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
}

int shownMenuBarPullDown(HWND hwnd) {
  WindowPtr w = findWindow(hwnd);
  if (!w || !w->menuBar) return -1;
  if (auto* strip = dynamic_cast<MenuBarStrip*>(w->menuBar.data())) return strip->openItem();
  auto* bar = qobject_cast<QMenuBar*>(w->menuBar.data());
  if (!bar || !bar->activeAction()) return -1;
  QMenu* menu = bar->activeAction()->menu();
  if (!menu || !menu->isVisible()) return -1;
  return static_cast<int>(bar->actions().indexOf(bar->activeAction()));
}

}  // namespace vornplatform

int vorntest::shownMenuBarPullDown(HWND hwnd) { return vornplatform::shownMenuBarPullDown(hwnd); }
