#include "sdk/VornithPlugsFactory.h"

#include "lib/RootWindow.h"
#include "sdk/PlugsModule.h"

VornithPlugsFactory::VornithPlugsFactory() { setPlugsFactory(this); }

void plugsDeleteSession(PlugsObject* session) { delete session; }

void plugsInitRootWindow(RootWindow*& root) {
  root = new RootWindow();
  initToolkit(plugsModuleInstance(), 101, root);
}

void plugsTermRootWindow(RootWindow*& root) {
  if (root == nullptr) return;
  delete root;
  root = nullptr;
}
