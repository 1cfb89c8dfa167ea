// Placeholder until the setup window lands.
#include "host/SetupWindow.h"

SetupWindow::SetupWindow(const char* title) : FixedWindow(title, 508, 302, false) {}
SetupWindow::~SetupWindow() {}
void SetupWindow::setOwner(PlugsListener*) {}
UserWindow* SetupWindow::newPage() { return nullptr; }
HTREEITEM SetupWindow::addItem(const char*, UserWindow*) { return nullptr; }
HTREEITEM SetupWindow::addChildItem(HTREEITEM, const char*, UserWindow*) { return nullptr; }
void SetupWindow::removeItem(HTREEITEM) {}
void SetupWindow::clearPages() {}
