// Top-level windows: TopWindow, resizable with a minimum size and edges that snap to the
// screen while dragged, and FixedWindow, the same without a sizing border or boxes.
#pragma once

#include "lib/WindowContainer.h"

class TopWindow : public WindowContainer {
 public:
  // Both forms pull a window that would start beyond the work area's right or bottom edge
  // back so that it ends flush with that edge. The second leaves the position to the system.
  TopWindow(const char* name, int left, int top, int width, int height, bool toolWindow);
  TopWindow(const char* name, int width, int height, bool toolWindow);

  const char* typeName() const override;
  // Never smaller than the minimum size.
  void move(int left, int top, int width, int height) override;
  bool onMessage(const MSG& message) override;
  void create() override;

  virtual void setMinimumSize(int width, int height);
  virtual void minimize();
  virtual void maximize();
  virtual void restore();
  virtual void setTopmost(bool on);
  // Kept for windows built on this one; the toolkit itself ignores it.
  virtual void setFlag(bool on);
  // The user is dragging the window to rect (screen coordinates); edges closer than the
  // magnetic force to the screen's left/top or the work area's right/bottom snap to them.
  virtual bool onMoving(RECT* rect);
  // The user is sizing the window by edge (a WMSZ_ code); keeps the minimum size by moving
  // the edge being dragged.
  virtual bool onSizing(int edge, RECT* rect);
  virtual void setMagneticForce(int pixels);
  // Placeholder kept so that windows built on this one keep their slots.
  virtual void reserved(int a, int b, int c, int d);

  // The geometry of onMoving and onSizing, apart from the platform.
  static void snapToEdges(RECT* rect, const RECT& workArea, int force);
  static void keepMinimumSize(int edge, RECT* rect, int minWidth, int minHeight);

 protected:
  // Creates the platform window with the given style; the window starts hidden.
  void createWithStyle(DWORD style);

 private:
  void clampToWorkArea();

  unsigned char toolWindow;
  unsigned char flag;
  int minWidth;
  int minHeight;
  int magneticForce;
};

class FixedWindow : public TopWindow {
 public:
  FixedWindow(const char* name, int width, int height, bool toolWindow);

  const char* typeName() const override;
  void create() override;
};
