// A composite holding one client window that always fills its whole area.
// Base of the frame, the wrapper of foreign windows and the callback-made window.
#pragma once

#include "lib/Composite.h"

class WindowContainer : public Composite {
 public:
  explicit WindowContainer(const char* name);

  // Only messages addressed to this window are dispatched; notifications routed here from
  // another window answer false so they reach the default procedure.
  bool onMessage(const MSG& message) override;
  bool onSize(int type, int width, int height) override;
  void onChildRemoved(Window* child) override;

  // Replaces the client (destroying the old one) and stretches it over the whole area.
  virtual void setClient(Window* window);
};
