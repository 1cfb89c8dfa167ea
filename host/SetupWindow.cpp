#include "host/SetupWindow.h"

#include "lib/RootWindow.h"

namespace {

// A page's window: an empty static child the owner (or a plug-in) fills.
HWND createPageWindow(HINSTANCE instance, HWND parent) {
  return CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, 0, 0, parent, nullptr,
                         instance, nullptr);
}

// Showing and hiding a page once makes its window without leaving it visible.
void realise(UserWindow* page) {
  if (page == nullptr) return;
  page->show();
  page->hide();
}

}  // namespace

void takeClientSize(HWND window, int& width, int& height) {
  RECT client = {};
  if (!GetClientRect(window, &client)) return;
  width = client.right - client.left;
  height = client.bottom - client.top;
}

SetupWindow::SetupWindow(const char* title)
    : FixedWindow(title, 508, 302, false),
      tree("Setup Tree"),
      closeButton("Close", 0),
      sides("V-Line", false),
      column("H-Line", true),
      pageArea("HWNDs", true) {
  closeButton.setListener(this);
}

SetupWindow::~SetupWindow() {
  // Going away is no close the owner should hear of.
  owner = nullptr;
  clearPages();
  if (isCreated()) destroy();
}

void SetupWindow::setOwner(PlugsListener* newOwner) { owner = newOwner; }

bool SetupWindow::onCreate() {
  if (sides.isCreated()) return true;
  takeClientSize(hwnd, clientWidthValue, clientHeightValue);
  setClient(&sides);
  sides.addChild(&column, 150);
  sides.addChild(&pageArea, 350);
  column.addChild(&tree, 276);
  column.addChild(&closeButton, 24);
  return true;
}

UserWindow* SetupWindow::newPage() {
  // Pages live in the window's page area, so the window must exist first.
  if (!isCreated() && getRootWindow() != nullptr) getRootWindow()->addChild(this);
  UserWindow* page = new UserWindow("Setup");
  page->setCreateCallback(createPageWindow);
  pageArea.addChild(page, pages.isEmpty() ? 100 : -100);
  pages.add(page, true);
  return page;
}

HTREEITEM SetupWindow::addItem(const char* text, UserWindow* page) {
  realise(page);
  HTREEITEM item = tree.addRootItem(text, reinterpret_cast<LPARAM>(page));
  if (item != nullptr && tree.getRoot() == item) tree.selectItem(item);
  return item;
}

HTREEITEM SetupWindow::addChildItem(HTREEITEM parentItem, const char* text, UserWindow* page) {
  realise(page);
  HTREEITEM item = tree.addChildItem(parentItem, text, reinterpret_cast<LPARAM>(page));
  tree.expand(parentItem);
  return item;
}

void SetupWindow::removeItem(HTREEITEM item) {
  tree.removeItem(item);
  // The page of a removed item must not stay on show.
  tree.showPage(reinterpret_cast<UserWindow*>(tree.getSelectedData()));
}

void SetupWindow::clearPages() {
  tree.clear();
  tree.forgetPage();
  pages.forEach([](UserWindow*& page) { delete page; });
  pages.clear();
}

bool SetupWindow::onClose() {
  hide();
  // The root taking its windows down at the end is no close the owner should hear of: it
  // may be gone by then.
  if (owner != nullptr && rootWindowExists()) owner->onSetupClose();
  return true;
}

void SetupWindow::onButton(int id) {
  if (id == 0) onClose();
}
