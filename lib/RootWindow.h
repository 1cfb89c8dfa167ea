// The invisible top of a module's window tree: it owns the handle-to-window registry, hands
// out the shared window procedure, and ends the message loop when the last visible window goes.
#pragma once

#include "lib/Container.h"
#include "lib/IdMap.h"

class RootWindow : public Container {
 public:
  RootWindow();
  ~RootWindow() override;

  const char* typeName() const override;
  void create() override;
  bool onChildVisibility(Window* child) override;
  void onChildRemoved(Window* child) override;

  // Added operations, in the order of the virtual table.
  virtual void addChild(Window* window);
  virtual void registerWindow(Window* window);
  virtual void unregisterWindow(Window* window);
  virtual Window* findWindow(HWND handle);
  virtual WNDPROC getWindowProc();

 private:
  IdMap registry;
};

// Starts this module's toolkit: keeps the instance and the root, registers the window class
// "BlackHoleWindow" and loads the libraries the controls need. Call once, after making the root.
void initToolkit(HINSTANCE instance, int iconId, RootWindow* root);

// Runs this thread's message loop until WM_QUIT. Only while it runs does the root's removal
// of its last visible window end the loop, so a plug-in's windows never end the host's loop.
void runMessageLoop();

// The toolkit state of this module.
HINSTANCE getModuleInstance();
// The root given to initToolkit, while it is alive; null otherwise.
RootWindow* getRootWindow();
bool rootWindowExists();
