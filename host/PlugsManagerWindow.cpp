#include "host/PlugsManagerWindow.h"

#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "lib/RootWindow.h"

namespace {

// The pages in the order they are made, with their kinds.
const int kKinds[] = {PLUG_KIND_SYSTEM, PLUG_KIND_MAIN, PLUG_KIND_INOUT, PLUG_KIND_ADDIN};

}  // namespace

PlugsManagerWindow::PlugsManagerWindow(PlugsManagers* managers)
    : managers(managers),
      window("Plugins Manager..."),
      systemPage("System Plugins Manager"),
      mainPage("Main Plugins Manager"),
      inOutPage("In/Out Plugins Manager"),
      addinsPage("Addins Plugins Manager") {}

PlugsManagerWindow::~PlugsManagerWindow() {
  for (int kind : kKinds) getPage(kind)->destroy();
}

void PlugsManagerWindow::setManagers(PlugsManagers* newManagers) { managers = newManagers; }

PlugsManagers* PlugsManagerWindow::currentManagers() const {
  return managers != nullptr ? managers : plugsManagers;
}

PluginsManagerPage* PlugsManagerWindow::getPage(int kind) {
  switch (kind) {
    case PLUG_KIND_SYSTEM:
      return &systemPage;
    case PLUG_KIND_MAIN:
      return &mainPage;
    case PLUG_KIND_INOUT:
      return &inOutPage;
    case PLUG_KIND_ADDIN:
      return &addinsPage;
    default:
      return nullptr;
  }
}

bool PlugsManagerWindow::prepare() {
  if (!built) {
    RootWindow* root = getRootWindow();
    if (root == nullptr) return false;
    root->addChild(&window);
    for (int kind : kKinds) {
      UserWindow* page = window.newPage();
      window.addItem(getPage(kind)->getTitle(), page);
      getPage(kind)->create(page->getHwnd());
    }
    built = true;
  }
  PlugsManagers* current = currentManagers();
  window.setOwner(current);
  for (int kind : kKinds) {
    getPage(kind)->setOwner(current);
    getPage(kind)->setPlugList(current != nullptr ? current->plugList(kind) : nullptr);
  }
  return true;
}

void PlugsManagerWindow::refreshPage(int kind) {
  PluginsManagerPage* page = getPage(kind);
  if (page == nullptr || !prepare()) return;
  page->addNewItems();
}

void PlugsManagerWindow::showManagerWindow() {
  if (!prepare()) return;
  for (int kind : kKinds) getPage(kind)->syncChecks();
  window.show();
}
