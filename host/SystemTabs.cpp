#include "host/SystemTabs.h"

#include "host/SystemWindow.h"

SystemTabs::SystemTabs(SystemWindow* owner, int tabStyle)
    : Tabs("System Tabs", tabStyle), owner(owner) {}

bool SystemTabs::inForeground() {
  return owner && owner->getHwnd() && GetForegroundWindow() == owner->getHwnd();
}

void SystemTabs::setFocus() {
  if (!inForeground()) return;
  if (Window* page = childAt(getSelected())) page->setFocus();
}

void SystemTabs::addPage(Window* window, const char* title) {
  int before = getPageCount();
  Tabs::addPage(window, title);
  // A strip with only the "System" page shows the first plug-in tab as soon as it comes.
  if (before < 2) select(1);
}

void SystemTabs::highlight(int index, bool on) {
  if (index == getSelected()) return;
  Tabs::highlight(index, on);
}

bool SystemTabs::onSelect(int index) {
  if (index < 0) return true;
  Tabs::highlight(index, false);
  if (inForeground()) {
    if (Window* page = childAt(index)) page->setFocus();
  }
  return true;
}
