// A window that holds an ordered list of child windows, linked through their sibling fields.
// Destroying it destroys its children; its platform window is a plain "Static".
#pragma once

#include "lib/Window.h"

class Composite : public Window {
 public:
  explicit Composite(const char* name);
  ~Composite() override;

  HWND getHwnd() override;
  bool onDestroy() override;
  bool onChar(int code) override;
  bool onKey(int key, bool down) override;
  void create() override;

  // Added operations, in the order of the virtual table.
  virtual bool onChildVisibility(Window* child);
  virtual void onChildRemoved(Window* child) = 0;
  virtual void destroyChildren();
  virtual Window* findChild(HWND handle);
  virtual Window* childAt(int index);
  virtual int indexOf(Window* child);

 protected:
  friend class Window;
  Window* firstChild;
  Window* lastChild;
  // Set to keep layout containers from resizing children by dragging their gaps.
  unsigned char resizeLocked;
};
