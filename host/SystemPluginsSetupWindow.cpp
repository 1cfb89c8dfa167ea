#include "host/SystemPluginsSetupWindow.h"

#include <cstdint>

#include "lib/RootWindow.h"

SystemPluginsSetupWindow::SystemPluginsSetupWindow() : window("System Plugins") {}

bool SystemPluginsSetupWindow::ensureCreated() {
  if (!window.isCreated() && getRootWindow() != nullptr) getRootWindow()->addChild(&window);
  return window.isCreated();
}

int SystemPluginsSetupWindow::addPage(const char* name, HWND* pageWindow) {
  if (pageWindow != nullptr) *pageWindow = nullptr;
  if (!ensureCreated()) return 0;
  UserWindow* page = window.newPage();
  HTREEITEM item = window.addItem(name, page);
  if (item == nullptr) return 0;
  if (pageWindow != nullptr) *pageWindow = page->getHwnd();
  return static_cast<int>(reinterpret_cast<intptr_t>(item));
}

void SystemPluginsSetupWindow::removePage(int page) {
  if (page == 0) return;
  window.removeItem(reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(page)));
}

void SystemPluginsSetupWindow::removeAllPages() { window.clearPages(); }

void SystemPluginsSetupWindow::setListener(PlugsListener* listener) { window.setOwner(listener); }

void SystemPluginsSetupWindow::open() {
  if (ensureCreated()) window.show();
}
