// The system console: the read-only pane on the "System" page where the host and the plug-ins
// print. A plain key typed into it moves the focus to the command line below.
#pragma once

#include "lib/RichEdit.h"

class SystemWindow;

class SystemOutput : public RichEdit {
 public:
  // owner answers the hot keys and tells whether the system window is in the foreground.
  explicit SystemOutput(SystemWindow* owner);
  ~SystemOutput() override;

  bool onCreate() override;
  bool onDestroy() override;
  bool onKey(int key, bool down) override;
  bool onChar(int code) override;

  // The window that takes the focus when the user starts typing here.
  virtual void setInput(Window* window);

 private:
  bool inForeground();
  void focusInput();
  static bool keepsFocus(int key);

  SystemWindow* owner;
  Window* input = nullptr;
  bool ctrlDown = false;
  bool shiftDown = false;
};
