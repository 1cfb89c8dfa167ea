// Base of every toolkit window: one object bound to one platform window, whose messages the
// shared window procedure turns into calls of the virtual handlers below.
#pragma once

#include "platform/win32.h"

class Window;
class Composite;

// Sees every message of a window before its dispatcher; true keeps it from the dispatcher.
typedef bool (*WindowMessageHook)(Window* window, const MSG& message);

// The window procedure of the toolkit's window class and of every control it subclasses.
LRESULT CALLBACK toolkitWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

class Window {
 public:
  // Visibility flags: a window counts as visible only while none is set.
  enum { HiddenFlag = 1, HiddenKeepFlag = 2 };
  // The private message that carries a receive thread's request to the GUI thread.
  enum { RequestMessage = 0x1403 };

  explicit Window(const char* name);

  // The virtual operations, in the order of the virtual table.
  virtual ~Window();
  virtual const char* typeName() const = 0;
  virtual const char* getName();
  virtual Composite* getParent();
  virtual void setMessageHook(WindowMessageHook hook);
  virtual void createIn(Composite* parent);
  virtual bool isCreated();
  virtual HWND getHwnd();
  virtual void destroy();
  virtual void captureMouse();
  virtual void releaseMouse();
  virtual void setFocus();
  virtual bool isVisible();
  virtual void show();
  virtual void hide();
  virtual void move(int x, int y, int w, int h);
  virtual void hideKeep();
  virtual void showKeep();
  virtual void update();
  virtual bool onMessage(const MSG& message);
  virtual bool onCreate();
  virtual bool onClose();
  virtual bool onCommand(int id);
  virtual bool onDestroy();
  virtual bool onPaint();
  virtual bool onActivate(bool active);
  virtual bool onShow(bool shown);
  virtual bool onMove(int x, int y);
  virtual bool onSize(int type, int w, int h);
  virtual bool onChar(int code);
  virtual bool onKey(int key, bool down);
  virtual bool onMouseMove(int buttons, int x, int y);
  virtual bool onMouseButton(int buttons, int x, int y, bool down);
  virtual bool onDoubleClick(int buttons, int x, int y);
  virtual bool handleMessage(const MSG& message);
  virtual LRESULT defaultProc(const MSG& message);
  virtual Window* nextSibling();
  virtual Window* previousSibling();
  virtual Window* addRef();
  virtual int release();
  virtual void create() = 0;
  virtual void subclass(WNDPROC procedure);
  virtual void detach();

  // The value the containing container keeps in its child (a weight, a region number).
  int getLayoutValue() const { return layoutValue; }
  void setLayoutValue(int value) { layoutValue = value; }

  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Read-only views of the geometry: the last move, and the client size of the last WM_SIZE.
  const int& left;
  const int& top;
  const int& width;
  const int& height;
  const int& clientWidth;
  const int& clientHeight;

 protected:
  HWND hwnd;
  WNDPROC oldWindowProc;
  WindowMessageHook messageHook;
  char* name;
  Composite* parent;
  int flags;
  int captured;
  int leftValue;
  int topValue;
  int widthValue;
  int heightValue;
  int clientWidthValue;
  int clientHeightValue;
  int refCount;
  int sizeType;
  int layoutValue;

 private:
  friend class Composite;
  Window* nextWindow;
  Window* previousWindow;

  void appendTo(Composite* container);
  void unlink();
  bool onFrameMouse(const MSG& message);
};
