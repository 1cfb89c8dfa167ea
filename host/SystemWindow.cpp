// Placeholder until the system window lands.
#include "host/SystemWindow.h"

SystemWindow::SystemWindow() : TopWindow("System Window", 600, 300, false) {}
SystemWindow::~SystemWindow() {}
void SystemWindow::dispatchRequest(ConnectionRequest* request) {
  ConnectionRequest::destroy(request);
}
bool SystemWindow::checkKeyPressed(int) { return false; }
HWND SystemWindow::addTab(const char*) { return nullptr; }
HWND SystemWindow::addTabWithFactory(const char*, UserWindow::CreateCallback) { return nullptr; }
void SystemWindow::removeTab(HWND) {}
void SystemWindow::highlightTab(HWND, bool) {}
void SystemWindow::selectTab(HWND) {}
bool SystemWindow::isTabSelected(HWND) { return false; }
void SystemWindow::setTabText(HWND, const char*) {}
void SystemWindow::nextTab() {}
void SystemWindow::previousTab() {}
void SystemWindow::syncTabStyleMenu() {}
int SystemWindow::nextCommandId() { return 32; }
void SystemWindow::addMenu(const char*, Menu*, int) {}
void SystemWindow::removeMenu(const char*) {}
void SystemWindow::showMenu() {}
void SystemWindow::hideMenu() {}
void SystemWindow::toggleMenu() {}
